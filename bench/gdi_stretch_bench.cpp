// StretchBlt 1:1 of a 1920 x 1080 24-bit section into a 16-bit (5-6-5) pixel
// buffer context, beside a plain per-pixel 24 -> 16 loop over the same pixels.
// The ratio of the two is printed at the end (goal: at most 2).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelFormat.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct TFixture {
  HDC SourceDC = nullptr;
  HBITMAP Section = nullptr;
  HGDIOBJ Old = nullptr;
  uint8_t* SourceBits = nullptr;
  int SourcePitch = 0;
  std::vector<uint16_t> Target = std::vector<uint16_t>(size_t{kWidth} * kHeight);
  HDC TargetDC = nullptr;

  TFixture() {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    SourceDC = CreateCompatibleDC(nullptr);
    Section = CreateDIBSection(SourceDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Old = SelectObject(SourceDC, Section);
    SourceBits = static_cast<uint8_t*>(bits);
    SourcePitch = static_cast<int>(gdi::DibRowBytes(kWidth, 24));
    for (size_t i = 0; i < size_t{static_cast<size_t>(SourcePitch)} * kHeight; ++i) {
      SourceBits[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    }
    TargetDC = CreatePixelBufferDC({reinterpret_cast<uint8_t*>(Target.data()),
                                    kWidth * 2,
                                    kWidth,
                                    kHeight,
                                    {16, 0xF800, 0x07E0, 0x001F}});
  }
  ~TFixture() {
    DeleteDC(TargetDC);
    SelectObject(SourceDC, Old);
    DeleteObject(Section);
    DeleteDC(SourceDC);
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

double gStretchNs = 0;
double gLoopNs = 0;

void BM_StretchBlt24To16(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    StretchBlt(f.TargetDC, 0, 0, kWidth, kHeight, f.SourceDC, 0, 0, kWidth, kHeight, SRCCOPY);
    benchmark::DoNotOptimize(f.Target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 3);
}

// The reference: what anyone would write by hand for this conversion.
void BM_PlainLoop24To16(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      const uint8_t* src = f.SourceBits + size_t(kHeight - 1 - y) * f.SourcePitch;
      uint16_t* dst = f.Target.data() + size_t(y) * kWidth;
      for (int x = 0; x < kWidth; ++x) {
        const uint8_t* p = src + 3 * x;
        dst[x] = static_cast<uint16_t>(((p[2] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[0] >> 3));
      }
    }
    benchmark::DoNotOptimize(f.Target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 3);
}

BENCHMARK(BM_StretchBlt24To16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop24To16)->Unit(benchmark::kMillisecond);

// Collects the per-iteration times to print the ratio after the normal report.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const double ns = run.GetAdjustedRealTime();
      if (run.benchmark_name().find("StretchBlt") != std::string::npos) gStretchNs = ns;
      if (run.benchmark_name().find("PlainLoop") != std::string::npos) gLoopNs = ns;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (gLoopNs > 0 && gStretchNs > 0) {
    std::printf("StretchBlt 24->16 / plain loop: %.2fx (goal <= 2x)\n", gStretchNs / gLoopNs);
  }
  benchmark::Shutdown();
  return 0;
}
