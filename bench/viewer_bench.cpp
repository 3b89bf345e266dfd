// The viewer as the user waits for it, on the real main window at 1024 x 768 x 16
// without the vertical-blank wait:
// - LensFrame: one pointer movement with the lens on over a full-screen picture
//   (redraw, stretched copy, present) beside three memcpy of the frame's 1.5 MB;
// - PageDown: Page Down to the presented frame for a 1920 x 1080 JPEG beside
//   `djpeg -dct float` of the same file;
// - GridPage: a 3 x 3 grid page of such JPEGs beside nine djpeg runs.
// Each prints its reference and the ratio as counters.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "bench/ShownViewer.h"
#include "image/JpegImage.h"
#include "platform/framework/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Input.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kFrameBytes = size_t{1024} * 768 * 2;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A picture with smooth gradients and fine detail, so the JPEG is of a usual size.
std::unique_ptr<TBitmap> MakeScene(int32_t width, int32_t height, int32_t seed) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  uint32_t noise = static_cast<uint32_t>(seed) * 2654435761u + 1;
  for (int32_t y = 0; y < height; ++y) {
    auto* line = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int32_t x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      line[3 * x] = static_cast<uint8_t>(x * 255 / width);
      line[3 * x + 1] = static_cast<uint8_t>(y * 255 / height + (noise >> 28));
      line[3 * x + 2] = static_cast<uint8_t>((x + y + seed * 40) & 0xFF);
    }
  }
  return bitmap;
}

class TViewer;
std::unique_ptr<TViewer> TheViewer;

class TViewer {
 public:
  TViewer() {
    ShowViewerForBenchmark();
    FFolder =
        std::filesystem::temp_directory_path() / ("loupix-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(FFolder);
  }
  ~TViewer() {
    SetSelectDirectoryHandler(nullptr);
    SetOpenDialogHandler(nullptr);
    DoneApplication();
    std::error_code error;
    std::filesystem::remove_all(FFolder, error);
  }

  // One viewer for the whole run: Qt does not take kindly to a second
  // application object after pointer events went to the first.
  static TViewer& Instance() {
    if (!TheViewer) TheViewer = std::make_unique<TViewer>();
    return *TheViewer;
  }
  // Before main returns, while Qt is still whole.
  static void Release() { TheViewer.reset(); }

  std::string Path(const std::string& name) const { return (FFolder / name).string(); }

  void OpenFolder(const std::string& name) {
    const std::string folder = Path(name);
    SetSelectDirectoryHandler([folder](std::string& chosen) {
      chosen = folder;
      return true;
    });
    Form1->N8->Click();
  }

  void OpenFile(const std::string& path) {
    SetOpenDialogHandler([path](TOpenPictureDialog& dialog) {
      dialog.SetFileName(path);
      return true;
    });
    Form1->N7->Click();
  }

  // count JPEGs p0.jpg ... in the folder name, made once.
  void WriteJpegs(const std::string& name, int32_t count) {
    std::filesystem::create_directories(Path(name));
    for (int32_t i = 0; i < count; ++i) {
      const std::string path = Path(name + "/p" + std::to_string(i) + ".jpg");
      if (std::filesystem::exists(path)) continue;
      std::unique_ptr<TBitmap> scene = MakeScene(1920, 1080, i);
      TJPEGImage jpeg;
      jpeg.Assign(scene.get());
      jpeg.SaveToFile(path);
    }
  }

 private:
  std::filesystem::path FFolder;
};

// Average wall time of runs of `djpeg -dct float` over files.
double DjpegSeconds(const std::vector<std::string>& files, int runs) {
  const auto start = Clock::now();
  for (int r = 0; r < runs; ++r)
    for (const std::string& file : files) {
      const std::string command = "djpeg -dct float -bmp '" + file + "' > /dev/null";
      if (std::system(command.c_str()) != 0) return 0;
    }
  return Seconds(Clock::now() - start) / runs;
}

void LensFrame(benchmark::State& state) {
  TViewer& viewer = TViewer::Instance();
  std::unique_ptr<TBitmap> scene = MakeScene(1024, 768, 3);
  scene->SaveToFile(viewer.Path("scene.bmp"));
  viewer.OpenFile(viewer.Path("scene.bmp"));
  if (Form1->N20->Checked()) Form1->N20->Click();
  Form1->LensOn = true;
  std::vector<uint8_t> from(kFrameBytes, 1), to(kFrameBytes);
  Clock::duration frames{}, reference{};
  int32_t step = 0;
  for (auto _ : state) {
    const int32_t x = 200 + (step * 7) % 600, y = 150 + (step * 5) % 450;
    ++step;
    const auto start = Clock::now();
    Mouse().SetCursorPos({x, y});
    Form1->DXDraw1->OnMouseMove(Form1->DXDraw1, {}, x, y);
    const auto middle = Clock::now();
    for (int i = 0; i < 3; ++i) {
      std::memcpy(to.data(), from.data(), kFrameBytes);
      benchmark::ClobberMemory();
    }
    reference += Clock::now() - middle;
    frames += middle - start;
    state.SetIterationTime(Seconds(middle - start));
  }
  Form1->LensOn = false;
  state.counters["memcpy3_us"] = Seconds(reference) * 1e6 / static_cast<double>(state.iterations());
  state.counters["ratio"] = Seconds(frames) / Seconds(reference);
}

// Each key reloads: from PageIndex 1, Page Up shows 0 and Page Down shows 1.
void TimePages(benchmark::State& state, double referenceSeconds) {
  Clock::duration pages{};
  WORD keys[2] = {VK_PRIOR, VK_NEXT};
  int32_t turn = 0;
  for (auto _ : state) {
    WORD key = keys[turn++ % 2];
    const auto start = Clock::now();
    Form1->DXDraw1->OnKeyDown(Form1->DXDraw1, key, {});
    const auto elapsed = Clock::now() - start;
    pages += elapsed;
    state.SetIterationTime(Seconds(elapsed));
  }
  const double perPage = Seconds(pages) / static_cast<double>(state.iterations());
  state.counters["djpeg_ms"] = referenceSeconds * 1e3;
  state.counters["ratio"] = perPage / referenceSeconds;
}

void PageDown(benchmark::State& state) {
  TViewer& viewer = TViewer::Instance();
  viewer.WriteJpegs("two", 2);
  if (Form1->N20->Checked()) Form1->N20->Click();
  viewer.OpenFolder("two");
  const double reference =
      DjpegSeconds({viewer.Path("two/p0.jpg"), viewer.Path("two/p1.jpg")}, 3) / 2;
  TimePages(state, reference);
}

void GridPage(benchmark::State& state) {
  TViewer& viewer = TViewer::Instance();
  viewer.WriteJpegs("eighteen", 18);
  viewer.OpenFolder("eighteen");
  if (!Form1->N20->Checked()) Form1->N20->Click();
  std::vector<std::string> files;
  for (int i = 0; i < 9; ++i)
    files.push_back(viewer.Path("eighteen/p" + std::to_string(i) + ".jpg"));
  const double reference = DjpegSeconds(files, 2);
  TimePages(state, reference);
}

}  // namespace

BENCHMARK(LensFrame)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PageDown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(GridPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  TViewer::Release();
  return 0;
}
