// Writes camera-like JPEG files for the benchmarks and end-to-end tests: a plasma
// of soft colour clouds with per-pixel sensor noise, 4:2:0, quality 90. Every
// file of a set looks different, so probe points tell them apart on screen.
//   loupix_make_photos FOLDER WIDTH HEIGHT COUNT [FIRST]
// writes FOLDER/photo_FIRST.jpg ... (numbered with three digits).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "image/JpegEncoder.h"

namespace {

// A small deterministic generator, so the same arguments always give the same files.
class TNoise {
 public:
  explicit TNoise(uint32_t seed) : FState(seed * 2654435761u + 0x9E3779B9u) {}
  uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
  }
  double Unit() { return (Next() >> 8) / double(1 << 24); }

 private:
  uint32_t FState;
};

// Value noise on a coarse lattice, smoothly interpolated: the clouds of a plasma.
class TPlasma {
 public:
  TPlasma(TNoise& noise, int cells) : FCells(cells), FValues((cells + 2) * (cells + 2)) {
    for (double& v : FValues) v = noise.Unit();
  }
  double At(double u, double v) const {
    const double x = u * FCells, y = v * FCells;
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    const double fx = Smooth(x - ix), fy = Smooth(y - iy);
    const double top = Mix(Value(ix, iy), Value(ix + 1, iy), fx);
    const double bottom = Mix(Value(ix, iy + 1), Value(ix + 1, iy + 1), fx);
    return Mix(top, bottom, fy);
  }

 private:
  static double Smooth(double t) { return t * t * (3 - 2 * t); }
  static double Mix(double a, double b, double t) { return a + (b - a) * t; }
  double Value(int x, int y) const { return FValues[static_cast<size_t>(y * (FCells + 2) + x)]; }
  int FCells;
  std::vector<double> FValues;
};

uint8_t Channel(double value) { return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0)); }

// Blue, green, red rows of one photo.
std::vector<uint8_t> PhotoRows(int width, int height, uint32_t seed) {
  TNoise noise(seed);
  const TPlasma coarse(noise, 4), middle(noise, 11), fine(noise, 37);
  double tint[3];
  for (double& t : tint) t = 60 + 150 * noise.Unit();
  std::vector<uint8_t> rows(static_cast<size_t>(width) * 3 * height);
  for (int y = 0; y < height; ++y) {
    const double v = (y + 0.5) / height;
    uint8_t* p = &rows[static_cast<size_t>(y) * width * 3];
    for (int x = 0; x < width; ++x, p += 3) {
      const double u = (x + 0.5) / width;
      const double cloud = 0.55 * coarse.At(u, v) + 0.3 * middle.At(u, v) + 0.15 * fine.At(u, v);
      const double grain = static_cast<double>(noise.Next() >> 27) - 16;
      for (int c = 0; c < 3; ++c)
        p[c] = Channel(tint[c] * (0.35 + cloud) + (c == 1 ? 40 * cloud : 0) + grain);
    }
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s FOLDER WIDTH HEIGHT COUNT [FIRST]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const int width = std::atoi(argv[2]), height = std::atoi(argv[3]), count = std::atoi(argv[4]);
  const int first = argc > 5 ? std::atoi(argv[5]) : 0;
  if (width <= 0 || height <= 0 || count <= 0) return 2;
  for (int i = first; i < first + count; ++i) {
    const std::vector<uint8_t> rows =
        PhotoRows(width, height, static_cast<uint32_t>(i * 7919 + width));
    const std::vector<uint8_t> bytes =
        EncodeJpeg(rows.data(), width * 3, width, height, {90, false, false});
    char name[32];
    std::snprintf(name, sizeof name, "/photo_%03d.jpg", i);
    std::ofstream(folder + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  return 0;
}
