// The pixel-format model shared by every copy and by colour matching: a format
// description, the one RGB-to-pixel conversion, pixel-to-RGB, views of pixel rows,
// and the nearest-neighbour copy kernels (a generic row path and named fast paths
// that must give exactly the same pixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/WinTypes.h"

namespace gdi {

// Working colour of the copies: 0x00RRGGBB.
using TRgb = uint32_t;

constexpr TRgb MakeRgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
constexpr TRgb RgbFromColorRef(COLORREF c) {
  return MakeRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
constexpr COLORREF ColorRefFromRgb(TRgb c) {
  return RGB(static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c));
}
constexpr TRgb RgbFromQuad(RGBQUAD q) { return MakeRgb(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// Masks matter for 16 and 32 bits (zero masks mean 5-5-5 and 8-8-8); the colour
// table for 1, 4 and 8 bits. 24 bits are always blue, green, red bytes.
struct TPixelFormat {
  uint32_t BitCount = 0;
  uint32_t RedMask = 0;
  uint32_t GreenMask = 0;
  uint32_t BlueMask = 0;
  const RGBQUAD* ColorTable = nullptr;
  uint32_t ColorCount = 0;
};

constexpr uint32_t kMask565[3] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t kMask555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kMask888[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

// The format with default masks filled in for 16 and 32 bits.
TPixelFormat WithDefaultMasks(TPixelFormat format);
// True when the bit count is one of 1, 4, 8, 16, 24, 32 and the masks of 16 and
// 32 bits are contiguous, disjoint, non-empty and inside the pixel.
bool IsValidFormat(const TPixelFormat& format);

// The nearest colour of a table (squared distance; the lowest index wins ties).
uint32_t NearestColorIndex(const RGBQUAD* table, uint32_t count, TRgb rgb);

// Converts between RGB and pixel values of one format. Built once per call;
// palettised formats keep a small cache of nearest-colour answers.
class TPixelCodec {
 public:
  explicit TPixelCodec(const TPixelFormat& format);
  ~TPixelCodec();
  TPixelCodec(const TPixelCodec&) = delete;
  TPixelCodec& operator=(const TPixelCodec&) = delete;

  uint32_t FromRgb(TRgb rgb) const;
  TRgb ToRgb(uint32_t pixel) const;
  const TPixelFormat& Format() const { return FFormat; }
  bool Palettised() const { return FFormat.BitCount <= 8; }

 private:
  struct TChannel {
    int Shift = 0;
    int Bits = 0;
  };
  struct TCacheEntry;
  TPixelFormat FFormat;
  TChannel FChannels[3];  // red, green, blue
  RGBQUAD FTable[256]{};  // copied: the caller's table may change later
  uint32_t FTableCount = 0;
  mutable std::unique_ptr<TCacheEntry[]> FCache;
  mutable uint32_t FUncachedLookups = 0;
};

// The one RGB-to-pixel conversion (copies and colour matching agree through it).
uint32_t RgbToPixel(const TPixelFormat& format, TRgb rgb);
TRgb PixelToRgb(const TPixelFormat& format, uint32_t pixel);

// Rows of pixels, addressed top-down whatever the storage order (Pitch < 0 for
// bottom-up storage).
struct TPixelView {
  uint8_t* Top = nullptr;
  ptrdiff_t Pitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  TPixelFormat Format;
  uint8_t* Row(int32_t y) const { return Top + static_cast<ptrdiff_t>(y) * Pitch; }
};

uint32_t ReadPixel(const TPixelView& view, int32_t x, int32_t y);
void WritePixel(const TPixelView& view, int32_t x, int32_t y, uint32_t pixel);
// Writes one raw pixel value over count pixels of row y from column x.
void FillRowPixels(const TPixelView& view, int32_t y, int32_t x, int32_t count, uint32_t pixel);

// Generic row path: fetch pixels at the given columns as RGB, store RGB pixels.
void FetchRow(const TPixelCodec& codec, const uint8_t* row, const int32_t* columns, int32_t count,
              TRgb* out);
void StoreRow(const TPixelCodec& codec, uint8_t* row, int32_t x, int32_t count, const TRgb* in);

// A nearest-neighbour copy after clipping: destination columns DstX..DstX+Width-1
// take source columns SrcXs[i], rows DstY.. take rows SrcYs[j]. Callers clip; the
// kernels assume every index is inside its view.
struct TStretchJob {
  const TPixelView* Src = nullptr;
  const TPixelView* Dst = nullptr;
  int32_t DstX = 0;
  int32_t DstY = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  const int32_t* SrcXs = nullptr;
  const int32_t* SrcYs = nullptr;
};

void StretchPixelsGeneric(const TStretchJob& job);
// Picks a fast path for the format pair (unless forced generic) once per call.
void StretchPixels(const TStretchJob& job);

struct Pixel24 {
  uint8_t B = 0;
  uint8_t G = 0;
  uint8_t R = 0;
};
static_assert(sizeof(Pixel24) == 3);

// The fast-path kernel: one template over the source and destination pixel types
// and a per-call conversion. Consecutive columns skip the column table.
template <typename SrcPixel, typename DstPixel, typename Convert>
void StretchRows(const TStretchJob& job, const Convert& convert) {
  const int32_t* xs = job.SrcXs;
  const bool consecutive = job.Width > 0 && xs[job.Width - 1] - xs[0] == job.Width - 1;
  for (int32_t j = 0; j < job.Height; ++j) {
    const auto* src = reinterpret_cast<const SrcPixel*>(job.Src->Row(job.SrcYs[j]));
    auto* dst = reinterpret_cast<DstPixel*>(job.Dst->Row(job.DstY + j)) + job.DstX;
    if (consecutive) {
      const SrcPixel* run = src + xs[0];
      for (int32_t i = 0; i < job.Width; ++i) dst[i] = convert(run[i]);
    } else {
      for (int32_t i = 0; i < job.Width; ++i) dst[i] = convert(src[xs[i]]);
    }
  }
}

using TStretchKernel = void (*)(const TStretchJob& job);
struct TFastPath {
  const char* Name;
  bool (*Matches)(const TPixelFormat& src, const TPixelFormat& dst);
  TStretchKernel Kernel;
};
std::span<const TFastPath> FastPaths();
// The fast path for a format pair, or null when only the generic path applies.
const TFastPath* FindFastPath(const TPixelFormat& src, const TPixelFormat& dst);

// Tests force the generic path to compare it with the fast ones.
void SetForceGenericPath(bool force);
bool ForceGenericPath();

// Bytes of one row of a bottom-up DIB: padded to 4 bytes; -1 when too large.
int64_t DibRowBytes(int64_t width, uint32_t bitCount);

}  // namespace gdi
