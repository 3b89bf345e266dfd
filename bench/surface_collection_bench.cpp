// The picture collection's costs the viewer waits for: rebuilding an item's surface
// from a 1920 x 1080 24-bit picture on a 16-bit display (surface, conversion, colour
// key), timed beside a plain per-pixel 24 -> 16 loop over the same pixels ("ratio");
// and stretching that item into a 336 x 251 grid cell.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "display/DXDraw.h"
#include "pictures/DXImageList.h"
#include "platform/framework/Bitmap.h"
#include "platform/ui/Application.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/DDrawHooks.h"

namespace {

constexpr int32_t kPictureWidth = 1920;
constexpr int32_t kPictureHeight = 1080;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A display control at 1024 x 768 x 16 on a shown form, with an image list bound to
// it holding one 1920 x 1080 picture.
struct TViewerScene {
  TViewerScene() {
    Application().Initialize();
    DDrawHooks().SetInstantVerticalBlank(true);
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 1024, 768);
    DXDraw = new TDXDraw(Form.get());
    DXDraw->SetParent(Form.get());
    DXDraw->SetBounds(0, 0, 1024, 768);
    DXDraw->Display().SetWidth(1024);
    DXDraw->Display().SetHeight(768);
    DXDraw->Display().SetBitCount(16);
    DXDraw->SetOptions({doFullScreen, doNoWindowChange, doAllowReboot, doAllowPalette256,
                        doDirectX7Mode, doHardware, doSelectDriver});
    Form->Show();
    if (!DXDraw->Initialized()) DXDraw->Initialize();
    List = std::make_unique<TDXImageList>(nullptr);
    TPictureCollectionItem& item = *List->Items().Add();
    TBitmap* bitmap = item.Picture().PictureBitmap();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(kPictureWidth, kPictureHeight);
    uint32_t seed = 11;
    for (int32_t y = 0; y < kPictureHeight; ++y) {
      auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
      for (int32_t i = 0; i < kPictureWidth * 3; ++i)
        row[i] = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    }
    List->SetDXDraw(DXDraw);
  }
  ~TViewerScene() {
    List.reset();
    Form.reset();
  }
  TPictureCollectionItem& Item() { return *List->Items().Items(0); }

  std::unique_ptr<TForm> Form;
  TDXDraw* DXDraw = nullptr;
  std::unique_ptr<TDXImageList> List;
};

// The reference: each 24-bit pixel packed into 5-6-5, row by row, from row
// addresses taken before timing.
void PlainConversion(const std::vector<const uint8_t*>& rows, std::vector<uint16_t>& out) {
  for (int32_t y = 0; y < kPictureHeight; ++y) {
    const uint8_t* p = rows[static_cast<size_t>(y)];
    uint16_t* dest = out.data() + static_cast<size_t>(y) * kPictureWidth;
    for (int32_t x = 0; x < kPictureWidth; ++x, p += 3)
      dest[x] = static_cast<uint16_t>(((p[2] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[0] >> 3));
  }
  benchmark::DoNotOptimize(out.data());
  benchmark::ClobberMemory();
}

void ItemRestore(benchmark::State& state) {
  TViewerScene scene;
  TBitmap& bitmap = *scene.Item().Picture().PictureBitmap();
  std::vector<const uint8_t*> rows;
  for (int32_t y = 0; y < kPictureHeight; ++y)
    rows.push_back(static_cast<const uint8_t*>(bitmap.ScanLine(y)));
  std::vector<uint16_t> converted(static_cast<size_t>(kPictureWidth) * kPictureHeight);
  Clock::duration restoreTotal{}, referenceTotal{};
  for (auto _ : state) {
    const auto start = Clock::now();
    scene.Item().Restore();
    const auto middle = Clock::now();
    PlainConversion(rows, converted);
    referenceTotal += Clock::now() - middle;
    restoreTotal += middle - start;
    state.SetIterationTime(Seconds(middle - start));
  }
  state.counters["reference_ms"] =
      Seconds(referenceTotal) * 1e3 / static_cast<double>(state.iterations());
  state.counters["ratio"] = Seconds(restoreTotal) / Seconds(referenceTotal);
}

void ItemStretchIntoCell(benchmark::State& state) {
  TViewerScene scene;
  TDirectDrawSurface& back = *scene.DXDraw->Surface();
  for (auto _ : state) scene.Item().StretchDraw(&back, Bounds(8, 8, 336, 251), 0);
}

}  // namespace

BENCHMARK(ItemRestore)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ItemStretchIntoCell)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
