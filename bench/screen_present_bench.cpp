// How fast the monitor shows the viewer's 1024 x 768 x 16 screen:
// - ScaleFrame/<monitor>/<mode>: one full frame made into the picture the
//   monitor shows (even blocks, nearest pixels or smooth scaling), beside a
//   memcpy of a monitor-sized 32-bit frame;
// - LensFrame (only on an X display, run under Xvfb at the monitor's size):
//   on the real main window, the pointer moved with the lens on, to the frame
//   presented on the monitor (drawn, scaled, painted and taken by the X
//   server), beside the same memcpy; without the vertical-blank wait.
// Each prints the reference and the ratio as counters.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "bench/ShownViewer.h"
#include "platform/framework/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/ScreenScaler.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr TSize kScreen{1024, 768};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A monitor-sized memcpy, timed.
class TReference {
 public:
  explicit TReference(TSize monitor)
      : FFrom(static_cast<size_t>(monitor.cx) * static_cast<size_t>(monitor.cy) * 4, 1),
        FTo(FFrom.size()) {}
  void Run() {
    const auto start = Clock::now();
    std::memcpy(FTo.data(), FFrom.data(), FFrom.size());
    benchmark::ClobberMemory();
    FTotal += Clock::now() - start;
  }
  void Report(benchmark::State& state, Clock::duration measured) const {
    const double runs = static_cast<double>(state.iterations());
    state.counters["memcpy_us"] = Seconds(FTotal) * 1e6 / runs;
    state.counters["ratio"] = Seconds(measured) / Seconds(FTotal);
  }

 private:
  std::vector<uint8_t> FFrom, FTo;
  Clock::duration FTotal{};
};

// A 16-bit frame with gradients and noise.
std::vector<uint16_t> Scene() {
  std::vector<uint16_t> pixels(static_cast<size_t>(kScreen.cx) * kScreen.cy);
  uint32_t noise = 12345;
  for (int32_t y = 0; y < kScreen.cy; ++y)
    for (int32_t x = 0; x < kScreen.cx; ++x) {
      noise = noise * 1664525u + 1013904223u;
      pixels[static_cast<size_t>(y) * kScreen.cx + x] =
          static_cast<uint16_t>(((x >> 5) << 11) | ((y >> 2) << 5) | (noise >> 27));
    }
  return pixels;
}

void ScaleFrame(benchmark::State& state, TSize monitor, TScaleMode mode) {
  std::vector<uint16_t> pixels = Scene();
  const gdi::TPixelView frame{reinterpret_cast<uint8_t*>(pixels.data()),
                              kScreen.cx * 2,
                              kScreen.cx,
                              kScreen.cy,
                              {16, gdi::kMask565[0], gdi::kMask565[1], gdi::kMask565[2]}};
  const TScreenFit fit = FitScreen(monitor, kScreen, mode);
  std::vector<uint32_t> shown(static_cast<size_t>(fit.Target.Width()) * fit.Target.Height());
  const gdi::TPixelView view{reinterpret_cast<uint8_t*>(shown.data()),
                             fit.Target.Width() * 4,
                             fit.Target.Width(),
                             fit.Target.Height(),
                             {32}};
  TScreenScaler scaler;
  TReference reference(monitor);
  Clock::duration total{};
  for (auto _ : state) {
    const auto start = Clock::now();
    scaler.Scale(frame, fit, {0, 0, kScreen.cx, kScreen.cy}, view);
    benchmark::ClobberMemory();
    const auto elapsed = Clock::now() - start;
    total += elapsed;
    state.SetIterationTime(Seconds(elapsed));
    reference.Run();
  }
  reference.Report(state, total);
}

// The viewer on the X display, a picture open and the lens on.
class TLensViewer {
 public:
  TLensViewer() {
    ShowViewerForBenchmark();
    FPicture = std::filesystem::temp_directory_path() /
               ("loupix-lens-" + std::to_string(::getpid()) + ".bmp");
    TBitmap scene;
    scene.SetPixelFormat(pf24bit);
    scene.SetSize(kScreen.cx, kScreen.cy);
    for (int32_t y = 0; y < kScreen.cy; ++y) {
      auto* line = static_cast<uint8_t*>(scene.ScanLine(y));
      for (int32_t x = 0; x < 3 * kScreen.cx; ++x) line[x] = static_cast<uint8_t>(x ^ y);
    }
    scene.SaveToFile(FPicture.string());
    SetOpenDialogHandler([this](TOpenPictureDialog& dialog) {
      dialog.SetFileName(FPicture.string());
      return true;
    });
    Form1->N7->Click();
    SetOpenDialogHandler(nullptr);
    Form1->LensOn = true;
  }
  ~TLensViewer() {
    DoneApplication();
    std::error_code error;
    std::filesystem::remove(FPicture, error);
  }

 private:
  std::filesystem::path FPicture;
};

// Moves the real pointer to the middle of a display pixel and waits until that
// movement is on the monitor; false if it never shows.
bool MoveLens(QWidget* window, const TScreenFit& fit, TPoint at) {
  const int32_t left = Form1->DxDraw2->Left();
  const double ratio = window->devicePixelRatioF();
  const QPointF device(fit.Target.Left + (at.X + 0.5) * fit.Target.Width() / kScreen.cx,
                       fit.Target.Top + (at.Y + 0.5) * fit.Target.Height() / kScreen.cy);
  QCursor::setPos(window->mapToGlobal(device / ratio).toPoint());
  const auto give_up = Clock::now() + std::chrono::seconds(2);
  // Auto-tracking moves the lens with each movement drawn.
  while (Form1->DxDraw2->Left() == left) {
    if (Clock::now() > give_up) return false;
    QApplication::processEvents();
  }
  QApplication::processEvents();  // the repaint the presentation asked for
  // A one-pixel grab returns once the X server has taken everything sent before.
  window->screen()->grabWindow(0, 0, 0, 1, 1);
  return true;
}

void LensFrame(benchmark::State& state) {
  TLensViewer viewer;
  auto* window = reinterpret_cast<QWidget*>(Form1->Handle());
  // Qt's scaled screen size is rounded; the run names the monitor's own.
  QScreen* screen = window->screen();
  TSize monitor{qRound(screen->geometry().width() * screen->devicePixelRatio()),
                qRound(screen->geometry().height() * screen->devicePixelRatio())};
  if (const char* named = std::getenv("LOUPIX_BENCH_MONITOR"))
    std::sscanf(named, "%dx%d", &monitor.cx, &monitor.cy);
  const char* text = std::getenv("LOUPIX_SCALE");
  const TScreenFit fit =
      FitScreen(monitor, kScreen, ScaleModeFromText(text ? text : "").value_or(TScaleMode::Auto));
  TReference reference(monitor);
  Clock::duration total{};
  int32_t step = 0;
  for (auto _ : state) {
    const TPoint at{200 + (step * 37) % 400, 150 + (step * 23) % 250};
    ++step;
    const auto start = Clock::now();
    if (!MoveLens(window, fit, at)) {
      state.SkipWithError("the lens did not follow the pointer");
      break;
    }
    const auto elapsed = Clock::now() - start;
    total += elapsed;
    state.SetIterationTime(Seconds(elapsed));
    reference.Run();
  }
  state.SetLabel(std::to_string(monitor.cx) + "x" + std::to_string(monitor.cy) + " " +
                 (text ? text : "auto"));
  reference.Report(state, total);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::pair<TScaleMode, const char*> modes[] = {{TScaleMode::Auto, "auto"},
                                                      {TScaleMode::Integer, "integer"},
                                                      {TScaleMode::Smooth, "smooth"},
                                                      {TScaleMode::Nearest, "nearest"}};
  for (TSize monitor : {TSize{1920, 1080}, TSize{3840, 2160}})
    for (const auto& [mode, name] : modes)
      benchmark::RegisterBenchmark(("ScaleFrame/" + std::to_string(monitor.cx) + "x" +
                                    std::to_string(monitor.cy) + "/" + name)
                                       .c_str(),
                                   ScaleFrame, monitor, mode)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (std::getenv("DISPLAY") && !(platform && std::strncmp(platform, "offscreen", 9) == 0))
    benchmark::RegisterBenchmark("LensFrame", LensFrame)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(200);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
