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

template <uint32_t Bits>
uint32_t Load(const uint8_t* row, int32_t x) {
  if constexpr (Bits == 1) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1u;
  } else if constexpr (Bits == 4) {
    return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
  } else if constexpr (Bits == 8) {
    return row[x];
  } else if constexpr (Bits == 16) {
    uint16_t v;
    std::memcpy(&v, row + 2 * static_cast<ptrdiff_t>(x), 2);
    return v;
  } else if constexpr (Bits == 24) {
    const uint8_t* p = row + 3 * static_cast<ptrdiff_t>(x);
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
  } else {
    uint32_t v;
    std::memcpy(&v, row + 4 * static_cast<ptrdiff_t>(x), 4);
    return v;
  }
}

template <uint32_t Bits>
void Store(uint8_t* row, int32_t x, uint32_t pixel) {
  if constexpr (Bits == 1) {
    const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
    row[x >> 3] = static_cast<uint8_t>((pixel & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
  } else if constexpr (Bits == 4) {
    uint8_t& b = row[x >> 1];
    b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (pixel & 0xF))
                : static_cast<uint8_t>((b & 0x0F) | ((pixel & 0xF) << 4));
  } else if constexpr (Bits == 8) {
    row[x] = static_cast<uint8_t>(pixel);
  } else if constexpr (Bits == 16) {
    const uint16_t v = static_cast<uint16_t>(pixel);
    std::memcpy(row + 2 * static_cast<ptrdiff_t>(x), &v, 2);
  } else if constexpr (Bits == 24) {
    uint8_t* p = row + 3 * static_cast<ptrdiff_t>(x);
    p[0] = static_cast<uint8_t>(pixel);
    p[1] = static_cast<uint8_t>(pixel >> 8);
    p[2] = static_cast<uint8_t>(pixel >> 16);
  } else {
    std::memcpy(row + 4 * static_cast<ptrdiff_t>(x), &pixel, 4);
  }
}

template <uint32_t Bits>
void FetchRowOf(const TPixelCodec& codec, const uint8_t* row, const int32_t* columns, int32_t count,
                TRgb* out) {
  for (int32_t i = 0; i < count; ++i) out[i] = codec.ToRgb(Load<Bits>(row, columns[i]));
}

template <uint32_t Bits>
void StoreRowOf(const TPixelCodec& codec, uint8_t* row, int32_t x, int32_t count, const TRgb* in) {
  for (int32_t i = 0; i < count; ++i) Store<Bits>(row, x + i, codec.FromRgb(in[i]));
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

uint32_t ReadPixel(const TPixelView& view, int32_t x, int32_t y) {
  const uint8_t* row = view.Row(y);
  switch (view.Format.BitCount) {
    case 1:
      return Load<1>(row, x);
    case 4:
      return Load<4>(row, x);
    case 8:
      return Load<8>(row, x);
    case 16:
      return Load<16>(row, x);
    case 24:
      return Load<24>(row, x);
    default:
      return Load<32>(row, x);
  }
}

void WritePixel(const TPixelView& view, int32_t x, int32_t y, uint32_t pixel) {
  uint8_t* row = view.Row(y);
  switch (view.Format.BitCount) {
    case 1:
      return Store<1>(row, x, pixel);
    case 4:
      return Store<4>(row, x, pixel);
    case 8:
      return Store<8>(row, x, pixel);
    case 16:
      return Store<16>(row, x, pixel);
    case 24:
      return Store<24>(row, x, pixel);
    default:
      return Store<32>(row, x, pixel);
  }
}

namespace {
template <uint32_t Bits>
void FillRowOf(uint8_t* row, int32_t x, int32_t count, uint32_t pixel) {
  for (int32_t i = 0; i < count; ++i) Store<Bits>(row, x + i, pixel);
}
}  // namespace

void FillRowPixels(const TPixelView& view, int32_t y, int32_t x, int32_t count, uint32_t pixel) {
  uint8_t* row = view.Row(y);
  switch (view.Format.BitCount) {
    case 1:
      return FillRowOf<1>(row, x, count, pixel);
    case 4:
      return FillRowOf<4>(row, x, count, pixel);
    case 8:
      return FillRowOf<8>(row, x, count, pixel);
    case 16:
      return FillRowOf<16>(row, x, count, pixel);
    case 24:
      return FillRowOf<24>(row, x, count, pixel);
    default:
      return FillRowOf<32>(row, x, count, pixel);
  }
}

void FetchRow(const TPixelCodec& codec, const uint8_t* row, const int32_t* columns, int32_t count,
              TRgb* out) {
  switch (codec.Format().BitCount) {
    case 1:
      return FetchRowOf<1>(codec, row, columns, count, out);
    case 4:
      return FetchRowOf<4>(codec, row, columns, count, out);
    case 8:
      return FetchRowOf<8>(codec, row, columns, count, out);
    case 16:
      return FetchRowOf<16>(codec, row, columns, count, out);
    case 24:
      return FetchRowOf<24>(codec, row, columns, count, out);
    default:
      return FetchRowOf<32>(codec, row, columns, count, out);
  }
}

void StoreRow(const TPixelCodec& codec, uint8_t* row, int32_t x, int32_t count, const TRgb* in) {
  switch (codec.Format().BitCount) {
    case 1:
      return StoreRowOf<1>(codec, row, x, count, in);
    case 4:
      return StoreRowOf<4>(codec, row, x, count, in);
    case 8:
      return StoreRowOf<8>(codec, row, x, count, in);
    case 16:
      return StoreRowOf<16>(codec, row, x, count, in);
    case 24:
      return StoreRowOf<24>(codec, row, x, count, in);
    default:
      return StoreRowOf<32>(codec, row, x, count, in);
  }
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
