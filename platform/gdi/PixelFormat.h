// The pixel-format model shared by every copy and by colour matching: the one
// RGB-to-pixel conversion, pixel-to-RGB, and the nearest-neighbour copy kernels
// (a generic row path and named fast paths that must give exactly the same
// pixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/PixelView.h"
#include "platform/gdi/StretchMap.h"

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

// The job of copying src onto dst where the two axis maps say.
inline TStretchJob StretchJobOf(const TPixelView& dst, const TPixelView& src,
                                const TAxisMap& columns, const TAxisMap& rows) {
  TStretchJob job;
  job.Src = &src;
  job.Dst = &dst;
  job.DstX = columns.DstStart;
  job.DstY = rows.DstStart;
  job.Width = static_cast<int32_t>(columns.SrcIndex.size());
  job.Height = static_cast<int32_t>(rows.SrcIndex.size());
  job.SrcXs = columns.SrcIndex.data();
  job.SrcYs = rows.SrcIndex.data();
  return job;
}

void StretchPixelsGeneric(const TStretchJob& job);
// Picks a fast path for the format pair (unless forced generic) once per call.
void StretchPixels(const TStretchJob& job);

// The one nearest-neighbour kernel: a template over the source and destination
// pixel types and a per-call store, put(destination pixel, source pixel), which
// converts or skips a colour key. Consecutive columns skip the column table.
template <typename SrcPixel, typename DstPixel, typename Put>
void StretchRows(const TStretchJob& job, const Put& put) {
  const int32_t* xs = job.SrcXs;
  const bool consecutive = job.Width > 0 && xs[job.Width - 1] - xs[0] == job.Width - 1;
  for (int32_t j = 0; j < job.Height; ++j) {
    const auto* src = reinterpret_cast<const SrcPixel*>(job.Src->Row(job.SrcYs[j]));
    auto* dst = reinterpret_cast<DstPixel*>(job.Dst->Row(job.DstY + j)) + job.DstX;
    if (consecutive) {
      const SrcPixel* run = src + xs[0];
      for (int32_t i = 0; i < job.Width; ++i) put(dst[i], run[i]);
    } else {
      for (int32_t i = 0; i < job.Width; ++i) put(dst[i], src[xs[i]]);
    }
  }
}

// The same kernel with a conversion: dst = convert(src).
template <typename SrcPixel, typename DstPixel, typename Convert>
void ConvertRows(const TStretchJob& job, const Convert& convert) {
  StretchRows<SrcPixel, DstPixel>(job, [&convert](DstPixel& d, SrcPixel s) { d = convert(s); });
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
