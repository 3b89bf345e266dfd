#include "platform/gdi/PixelFormat.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <vector>

namespace gdi {

namespace {

std::atomic<bool> gForceGeneric{false};

bool IsContiguous(uint32_t mask) {
  if (mask == 0) return false;
  const uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

}  // namespace

TPixelFormat WithDefaultMasks(TPixelFormat format) {
  const bool noMasks = format.RedMask == 0 && format.GreenMask == 0 && format.BlueMask == 0;
  if (format.BitCount == 24 || (noMasks && format.BitCount == 32)) {
    format.RedMask = kMask888[0];
    format.GreenMask = kMask888[1];
    format.BlueMask = kMask888[2];
  } else if (noMasks && format.BitCount == 16) {
    format.RedMask = kMask555[0];
    format.GreenMask = kMask555[1];
    format.BlueMask = kMask555[2];
  }
  return format;
}

bool IsValidFormat(const TPixelFormat& format) {
  switch (format.BitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      return true;
    case 16:
    case 32: {
      const TPixelFormat f = WithDefaultMasks(format);
      const uint64_t limit = (uint64_t{1} << f.BitCount) - 1;
      const bool contiguous =
          IsContiguous(f.RedMask) && IsContiguous(f.GreenMask) && IsContiguous(f.BlueMask);
      const bool disjoint = (f.RedMask & f.GreenMask) == 0 && (f.RedMask & f.BlueMask) == 0 &&
                            (f.GreenMask & f.BlueMask) == 0;
      return contiguous && disjoint && (f.RedMask | f.GreenMask | f.BlueMask) <= limit;
    }
    default:
      return false;
  }
}

uint32_t NearestColorIndex(const RGBQUAD* table, uint32_t count, TRgb rgb) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  uint32_t best = 0;
  int bestDistance = 1 << 30;
  for (uint32_t i = 0; i < count && bestDistance > 0; ++i) {
    const int dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

struct TPixelCodec::TCacheEntry {
  uint32_t Key = 0xFFFFFFFFu;  // never a valid 0x00RRGGBB
  uint32_t Index = 0;
};

namespace {
constexpr uint32_t kCacheSize = 4096;
constexpr uint32_t kUncachedLookups = 16;
}  // namespace

TPixelCodec::TPixelCodec(const TPixelFormat& format) : FFormat(WithDefaultMasks(format)) {
  if (Palettised()) {
    FTableCount =
        std::min<uint32_t>(FFormat.ColorTable ? FFormat.ColorCount : 0, 1u << FFormat.BitCount);
    if (FTableCount > 0) std::memcpy(FTable, FFormat.ColorTable, FTableCount * sizeof(RGBQUAD));
    FFormat.ColorTable = FTable;
    FFormat.ColorCount = FTableCount;
    return;
  }
  const uint32_t masks[3] = {FFormat.RedMask, FFormat.GreenMask, FFormat.BlueMask};
  for (int c = 0; c < 3; ++c) {
    FChannels[c].Shift = masks[c] ? std::countr_zero(masks[c]) : 0;
    FChannels[c].Bits = std::popcount(masks[c]);
  }
}

TPixelCodec::~TPixelCodec() = default;

uint32_t TPixelCodec::FromRgb(TRgb rgb) const {
  rgb &= 0x00FFFFFFu;
  if (Palettised()) {
    // Single questions (one SetPixel) skip the cache; copies soon build it.
    if (!FCache && ++FUncachedLookups <= kUncachedLookups) {
      return NearestColorIndex(FTable, FTableCount, rgb);
    }
    if (!FCache) FCache = std::make_unique<TCacheEntry[]>(kCacheSize);
    TCacheEntry& entry = FCache[(rgb ^ (rgb >> 11) ^ (rgb >> 19)) & (kCacheSize - 1)];
    if (entry.Key != rgb) {
      entry.Key = rgb;
      entry.Index = NearestColorIndex(FTable, FTableCount, rgb);
    }
    return entry.Index;
  }
  uint32_t pixel = 0;
  for (int c = 0; c < 3; ++c) {
    const uint32_t v = (rgb >> (16 - 8 * c)) & 0xFF;
    const int bits = FChannels[c].Bits;
    const uint32_t scaled = bits <= 8 ? v >> (8 - bits) : v << (bits - 8);
    pixel |= scaled << FChannels[c].Shift;
  }
  return pixel;
}

TRgb TPixelCodec::ToRgb(uint32_t pixel) const {
  if (Palettised()) return pixel < FTableCount ? RgbFromQuad(FTable[pixel]) : 0;
  TRgb rgb = 0;
  for (int c = 0; c < 3; ++c) {
    const int bits = FChannels[c].Bits;
    if (bits == 0) continue;
    const uint32_t v = (pixel >> FChannels[c].Shift) & ((uint64_t{1} << bits) - 1);
    const uint32_t scaled = bits <= 8 ? v << (8 - bits) : v >> (bits - 8);
    rgb |= scaled << (16 - 8 * c);
  }
  return rgb;
}

uint32_t RgbToPixel(const TPixelFormat& format, TRgb rgb) {
  return TPixelCodec(format).FromRgb(rgb);
}

TRgb PixelToRgb(const TPixelFormat& format, uint32_t pixel) {
  return TPixelCodec(format).ToRgb(pixel);
}

void FetchRow(const TPixelCodec& codec, const uint8_t* row, const int32_t* columns, int32_t count,
              TRgb* out) {
  WithDepth(codec.Format().BitCount, [&](auto depth) {
    for (int32_t i = 0; i < count; ++i) {
      out[i] = codec.ToRgb(LoadPixel<decltype(depth)::kBits>(row, columns[i]));
    }
  });
}

void StoreRow(const TPixelCodec& codec, uint8_t* row, int32_t x, int32_t count, const TRgb* in) {
  WithDepth(codec.Format().BitCount, [&](auto depth) {
    for (int32_t i = 0; i < count; ++i)
      StorePixel<decltype(depth)::kBits>(row, x + i, codec.FromRgb(in[i]));
  });
}

void StretchPixelsGeneric(const TStretchJob& job) {
  const TPixelCodec srcCodec(job.Src->Format);
  const TPixelCodec dstCodec(job.Dst->Format);
  std::vector<TRgb> row(static_cast<size_t>(std::max(job.Width, 0)));
  for (int32_t j = 0; j < job.Height; ++j) {
    FetchRow(srcCodec, job.Src->Row(job.SrcYs[j]), job.SrcXs, job.Width, row.data());
    StoreRow(dstCodec, job.Dst->Row(job.DstY + j), job.DstX, job.Width, row.data());
  }
}

void StretchPixels(const TStretchJob& job) {
  if (job.Width <= 0 || job.Height <= 0) return;
  TPixelView src = *job.Src, dst = *job.Dst;
  src.Format = WithDefaultMasks(src.Format);
  dst.Format = WithDefaultMasks(dst.Format);
  TStretchJob normalised = job;
  normalised.Src = &src;
  normalised.Dst = &dst;
  const TFastPath* path = ForceGenericPath() ? nullptr : FindFastPath(src.Format, dst.Format);
  if (path) {
    path->Kernel(normalised);
  } else {
    StretchPixelsGeneric(normalised);
  }
}

const TFastPath* FindFastPath(const TPixelFormat& src, const TPixelFormat& dst) {
  const TPixelFormat s = WithDefaultMasks(src), d = WithDefaultMasks(dst);
  for (const TFastPath& path : FastPaths()) {
    if (path.Matches(s, d)) return &path;
  }
  return nullptr;
}

void SetForceGenericPath(bool force) { gForceGeneric = force; }
bool ForceGenericPath() { return gForceGeneric; }

int64_t DibRowBytes(int64_t width, uint32_t bitCount) {
  if (width < 0 || width > (int64_t{1} << 31) || bitCount == 0 || bitCount > 32) return -1;
  const int64_t bytes = (width * bitCount + 31) / 32 * 4;
  return bytes > INT32_MAX ? -1 : bytes;
}

}  // namespace gdi
