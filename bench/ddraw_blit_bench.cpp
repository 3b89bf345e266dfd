// Fills and copies of the display services on a 1024 x 768 x 16 surface, each
// timed beside memset / memcpy of the same bytes in the same loop (the
// "ratio" counter), and the lens's 64 x 64 -> 257 x 273 stretch onto the same
// surface.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ddraw/DDraw.h"
#include "platform/ddraw/DDrawTesting.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
using Clock = std::chrono::steady_clock;

IDirectDraw7* Device() {
  static IDirectDraw7* device = [] {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string folder(path, static_cast<size_t>(length > 0 ? length : 0));
    folder = folder.substr(0, folder.find_last_of('/'));
    void* module = dlopen((folder + "/" + kDDrawModuleFile).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return static_cast<IDirectDraw7*>(nullptr);
    const auto createEx =
        reinterpret_cast<DirectDrawCreateExFn>(dlsym(module, "DirectDrawCreateEx"));
    void* object = nullptr;
    createEx(nullptr, &object, IID_IDirectDraw7, nullptr);
    auto* created = static_cast<IDirectDraw7*>(object);
    created->SetDisplayMode(kWidth, kHeight, 16);
    return created;
  }();
  return device;
}

IDirectDrawSurface* MakeSurface(uint32_t seed) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = kWidth;
  desc.dwHeight = kHeight;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* surface = nullptr;
  Device()->CreateSurface(&desc, &surface, nullptr);
  DDSURFACEDESC locked;
  locked.dwSize = kDDSurfaceDescSize;
  surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
  auto* bytes = static_cast<uint8_t*>(locked.lpSurface);
  uint32_t state = seed;
  for (size_t i = 0; i < static_cast<size_t>(locked.lPitch) * kHeight; i += 2) {
    state = state * 1664525u + 1013904223u;
    // About one pixel in eight is the key (0), as around a picture's black.
    const uint16_t value = (state >> 29) == 0 ? 0 : static_cast<uint16_t>(state >> 8);
    std::memcpy(bytes + i, &value, 2);
  }
  surface->Unlock(locked.lpSurface);
  return surface;
}

size_t SurfaceBytes(IDirectDrawSurface* surface) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  surface->GetSurfaceDesc(&desc);
  return static_cast<size_t>(desc.lPitch) * desc.dwHeight;
}

// Times `operation` for the benchmark and `reference` beside it.
template <class Operation, class Reference>
void TimeAgainst(benchmark::State& state, Operation operation, Reference reference) {
  Clock::duration operationTotal{};
  Clock::duration referenceTotal{};
  for (auto _ : state) {
    const auto start = Clock::now();
    operation();
    const auto middle = Clock::now();
    reference();
    referenceTotal += Clock::now() - middle;
    operationTotal += middle - start;
    state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
  }
  const auto seconds = [](Clock::duration total) {
    return std::chrono::duration<double>(total).count();
  };
  state.counters["reference_us"] =
      seconds(referenceTotal) * 1e6 / static_cast<double>(state.iterations());
  state.counters["ratio"] = seconds(operationTotal) / seconds(referenceTotal);
}

void ColourFill(benchmark::State& state) {
  IDirectDrawSurface* target = MakeSurface(1);
  std::vector<uint8_t> plain(SurfaceBytes(target));
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwFillColor = 0x1234;
  TimeAgainst(
      state,
      [&] { target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects); },
      [&] {
        std::memset(plain.data(), 0x34, plain.size());
        benchmark::ClobberMemory();
      });
  target->Release();
}

void Copy(benchmark::State& state, DWORD flags) {
  IDirectDrawSurface* source = MakeSurface(2);
  IDirectDrawSurface* target = MakeSurface(3);
  std::vector<uint8_t> from(SurfaceBytes(source), 1);
  std::vector<uint8_t> to(from.size());
  TimeAgainst(
      state, [&] { target->Blt(nullptr, source, nullptr, flags | DDBLT_WAIT, nullptr); },
      [&] {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
      });
  source->Release();
  target->Release();
}

void UnscaledCopy(benchmark::State& state) { Copy(state, 0); }
void ColourKeyedCopy(benchmark::State& state) { Copy(state, DDBLT_KEYSRC); }

void LensStretchOntoItself(benchmark::State& state) {
  IDirectDrawSurface* surface = MakeSurface(4);
  const TRect from{480, 352, 544, 416};
  const TRect to{384, 248, 641, 521};
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  for (auto _ : state) surface->Blt(&to, surface, &from, DDBLT_WAIT, &effects);
  surface->Release();
}

}  // namespace

BENCHMARK(ColourFill)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(UnscaledCopy)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(ColourKeyedCopy)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(LensStretchOntoItself)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
