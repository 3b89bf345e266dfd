// The viewer's JPEG route (file -> 24-bit bitmap in a picture) against libjpeg's own
// djpeg on the same files in the same run, and the route's peak memory.
//   loupix_bench_jpeg            both sizes, times and peak memory
//   loupix_bench_jpeg --peak F   (internal) runs the route once on F, prints the peak growth
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "image/JpegEncoder.h"
#include "image/JpegRoute.h"
#include "image/PixelLimits.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/Picture.h"

extern char** environ;

namespace {

// Smooth shapes with fine grain, so the file compresses like a photo (about 1.5 to
// 2 bits per pixel at quality 90).
std::vector<uint8_t> PhotoLikeRows(int width, int height) {
  std::vector<uint8_t> rows(static_cast<size_t>(width) * 3 * height);
  uint32_t seed = 12345;
  for (int y = 0; y < height; ++y) {
    uint8_t* p = &rows[static_cast<size_t>(y) * width * 3];
    for (int x = 0; x < width; ++x, p += 3) {
      seed = seed * 1664525u + 1013904223u;
      const double u = x * 6.0 / width, v = y * 4.0 / height;
      const double shade = 110 + 70 * std::sin(u * 2.1 + v) * std::cos(v * 1.7 - u * 0.5);
      const double grain = static_cast<double>(seed >> 27) - 16;
      p[0] =
          static_cast<uint8_t>(std::clamp(shade * 0.8 + 40 * std::sin(v * 5) + grain, 0.0, 255.0));
      p[1] = static_cast<uint8_t>(std::clamp(shade + grain * 0.7, 0.0, 255.0));
      p[2] = static_cast<uint8_t>(std::clamp(255 - shade * 0.9 + grain * 0.5, 0.0, 255.0));
    }
  }
  return rows;
}

std::string MakePhoto(int width, int height) {
  const std::vector<uint8_t> rows = PhotoLikeRows(width, height);
  const std::vector<uint8_t> bytes =
      EncodeJpeg(rows.data(), width * 3, width, height, {90, false, false});
  const std::string path = "/tmp/loupix_bench_" + std::to_string(getpid()) + "_" +
                           std::to_string(width) + "x" + std::to_string(height) + ".jpg";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Processor time rather than wall time: the machine is shared, and processor time
// is what the decoding itself costs.
double ProcessSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// Runs a program to its end; returns its exit code and adds its processor time to cpuSeconds.
int RunProcess(std::vector<std::string> arguments, const char* output = nullptr,
               double* cpuSeconds = nullptr) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output)
    posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return -1;
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (cpuSeconds) *cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double TimeRoute(const std::string& file) {
  const double start = ProcessSeconds();
  {
    TPicture picture;
    LoadJpegIntoPicture(picture, file);
    if (picture.Bitmap()->Width() <= 0) std::fprintf(stderr, "route produced no picture\n");
  }
  return ProcessSeconds() - start;
}

double TimeDjpeg(const std::string& file) {
  double seconds = 0;
  if (RunProcess({"djpeg", "-dct", "float", "-bmp", "-outfile", "/dev/null", file}, nullptr,
                 &seconds) != 0)
    std::fprintf(stderr, "djpeg failed\n");
  return seconds;
}

// Best of several runs: the machine is shared, the minimum is the steadiest figure.
template <typename F>
double Best(int runs, F&& run) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, run());
  return best;
}

long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return -1;
}

int PeakMode(const std::string& file) {
  const long before = StatusKb("VmRSS:");
  TPicture picture;
  LoadJpegIntoPicture(picture, file);
  std::printf("%ld\n", StatusKb("VmHWM:") - before);
  return 0;
}

void Measure(const char* self, int width, int height, int runs) {
  const std::string file = MakePhoto(width, height);
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  const double fileBytes = static_cast<double>(in.tellg());
  TimeRoute(file);  // warm the page cache and the libraries
  const double route = Best(runs, [&] { return TimeRoute(file); });
  const double djpeg = Best(runs, [&] { return TimeDjpeg(file); });
  std::printf(
      "%dx%d (%.1f MB file): route %.1f ms, djpeg -dct float -bmp %.1f ms (processor time, best of "
      "%d), ratio %.2f (goal <= 1.15)\n",
      width, height, fileBytes / 1e6, route * 1e3, djpeg * 1e3, runs, route / djpeg);
  const std::string peakFile = file + ".peak";
  RunProcess({self, "--peak", file}, peakFile.c_str());
  long peakKb = -1;
  std::ifstream(peakFile) >> peakKb;
  const double decoded = static_cast<double>(PaddedRowBytes(width, 24) * height);
  std::printf(
      "%dx%d peak memory growth %.1f MB = %.2f x (decoded %.1f MB + file %.1f MB) (goal <= 1.30)\n",
      width, height, peakKb / 1024.0, peakKb * 1024.0 / (decoded + fileBytes), decoded / 1e6,
      fileBytes / 1e6);
  std::remove(peakFile.c_str());
  std::remove(file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--peak") return PeakMode(argv[2]);
  Measure(argv[0], 1920, 1080, 15);
  Measure(argv[0], 6000, 4000, 5);
  return 0;
}
