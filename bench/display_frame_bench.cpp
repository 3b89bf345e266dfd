// A viewer frame at 1024 x 768 x 16: Fill of the back surface, a colour-keyed
// full-screen Draw of a picture surface and Flip (no vertical-blank wait), timed
// beside three memcpy of the frame's 1.5 MB in the same loop (the "ratio" counter).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "display/DXDraw.h"
#include "platform/ui/Application.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/DDrawHooks.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * 2;
using Clock = std::chrono::steady_clock;

void FillPicture(TDirectDrawSurface& picture) {
  DDSURFACEDESC locked;
  if (!picture.Lock(nullptr, locked)) return;
  uint32_t state = 7;
  for (int32_t y = 0; y < kHeight; ++y) {
    auto* row =
        reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(locked.lpSurface) + y * locked.lPitch);
    for (int32_t x = 0; x < kWidth; ++x) {
      state = state * 1664525u + 1013904223u;
      row[x] = (state >> 29) == 0 ? 0 : static_cast<uint16_t>(state >> 8);
    }
  }
  picture.Unlock();
}

void ViewerFrame(benchmark::State& state) {
  Application().Initialize();
  DDrawHooks().SetInstantVerticalBlank(true);
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, kWidth, kHeight);
  auto* dxDraw = new TDXDraw(form.get());
  dxDraw->SetParent(form.get());
  dxDraw->SetBounds(0, 0, kWidth, kHeight);
  dxDraw->Display().SetWidth(kWidth);
  dxDraw->Display().SetHeight(kHeight);
  dxDraw->Display().SetBitCount(16);
  dxDraw->SetOptions({doFullScreen, doNoWindowChange, doAllowReboot, doAllowPalette256,
                      doDirectX7Mode, doHardware, doSelectDriver});
  form->Show();
  if (!dxDraw->Initialized()) dxDraw->Initialize();

  auto picture = std::make_unique<TDirectDrawSurface>(*dxDraw->Device());
  picture->SetSize(kWidth, kHeight);
  FillPicture(*picture);
  std::vector<uint8_t> from(kFrameBytes, 1), to(kFrameBytes);

  Clock::duration frameTotal{}, referenceTotal{};
  for (auto _ : state) {
    const auto start = Clock::now();
    dxDraw->Surface()->Fill(0);
    dxDraw->Surface()->Draw(0, 0, picture->ClientRect(), picture.get(), true);
    dxDraw->Flip();
    const auto middle = Clock::now();
    for (int i = 0; i < 3; ++i) {
      std::memcpy(to.data(), from.data(), kFrameBytes);
      benchmark::ClobberMemory();
    }
    referenceTotal += Clock::now() - middle;
    frameTotal += middle - start;
    state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
  }
  const auto seconds = [](Clock::duration total) {
    return std::chrono::duration<double>(total).count();
  };
  state.counters["reference_us"] =
      seconds(referenceTotal) * 1e6 / static_cast<double>(state.iterations());
  state.counters["ratio"] = seconds(frameTotal) / seconds(referenceTotal);
  picture.reset();
  form.reset();
}

}  // namespace

BENCHMARK(ViewerFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
