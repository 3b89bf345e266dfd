// Loading a 1920 x 1080 24-bit BMP into a TDIB, against the floor for that work:
// reading the file into memory plus one memcpy of its pixels.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "image/DIB.h"
#include "platform/framework/Stream.h"

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

const std::string& BmpPath() {
  static const std::string path = [] {
    std::string p = "/tmp/loupix_bench_dib_" + std::to_string(::getpid()) + ".bmp";
    TDIB dib;
    dib.SetDimensions(kWidth, kHeight, 24);
    uint8_t* bits = dib.PixelBits();
    for (uint32_t i = 0; i < dib.ImageSize(); ++i)
      bits[i] = static_cast<uint8_t>(i * 7 + (i >> 11));
    TFileStream file(p, fmCreate);
    dib.WriteToStream(file);
    return p;
  }();
  return path;
}

void LoadBmpIntoDib(benchmark::State& state) {
  const std::string& path = BmpPath();
  for (auto _ : state) {
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    TDIB dib;
    dib.ReadFromStream(file);
    benchmark::DoNotOptimize(dib.TopRow());
  }
}

void ReadFilePlusMemcpy(benchmark::State& state) {
  const std::string& path = BmpPath();
  const size_t pixelBytes = static_cast<size_t>(kWidth) * 3 * kHeight;
  std::vector<uint8_t> pixels(pixelBytes);
  for (auto _ : state) {
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    const int64_t size = file.Size();
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[static_cast<size_t>(size)]);
    file.ReadBuffer(bytes.get(), size);
    std::memcpy(pixels.data(), bytes.get() + (size - static_cast<int64_t>(pixelBytes)), pixelBytes);
    benchmark::DoNotOptimize(pixels.data());
  }
}

BENCHMARK(LoadBmpIntoDib)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadFilePlusMemcpy)->Unit(benchmark::kMicrosecond);

// Prints each run as usual and keeps its time for the ratio at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        FTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  double Time(const std::string& name) const {
    const auto it = FTimes.find(name);
    return it == FTimes.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> FTimes;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double load = reporter.Time("LoadBmpIntoDib");
  const double floor = reporter.Time("ReadFilePlusMemcpy");
  if (load > 0 && floor > 0)
    std::printf(
        "BMP 1920x1080x24 load: %.0f us, file read + memcpy: %.0f us, ratio %.2fx (goal <= 1.5x)\n",
        load, floor, load / floor);
  std::remove(BmpPath().c_str());
  return 0;
}
