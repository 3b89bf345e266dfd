#include "platform/gdi/DibSource.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/RleDecoder.h"

namespace gdi {

namespace {

constexpr int64_t kMaxImageBytes = int64_t{1} << 30;

bool KnownHeaderSize(DWORD size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool CompressionFits(uint32_t compression, uint32_t bitCount) {
  switch (compression) {
    case BI_RGB:
      return true;
    case BI_BITFIELDS:
      return bitCount == 16 || bitCount == 32;
    case BI_RLE8:
      return bitCount == 8;
    case BI_RLE4:
      return bitCount == 4;
    default:
      return false;
  }
}

void ReadColors(const BITMAPINFO* info, const uint8_t* table, UINT usage,
                const std::vector<PALETTEENTRY>& paletteEntries, TDibLayout& layout) {
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const uint32_t full = 1u << h.biBitCount;
  const uint32_t count = h.biClrUsed ? std::min<uint32_t>(h.biClrUsed, full) : full;
  layout.Colors.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (usage == DIB_PAL_COLORS) {
      uint16_t index;
      std::memcpy(&index, table + 2 * i, 2);
      const PALETTEENTRY e = index < paletteEntries.size() ? paletteEntries[index] : PALETTEENTRY{};
      layout.Colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
    } else {
      std::memcpy(&layout.Colors[i], table + 4 * i, 4);
      layout.Colors[i].rgbReserved = 0;
    }
  }
}

}  // namespace

TPixelFormat TDibLayout::PixelFormat() const {
  TPixelFormat format = Format;
  format.ColorTable = Colors.empty() ? nullptr : Colors.data();
  format.ColorCount = static_cast<uint32_t>(Colors.size());
  return format;
}

bool ParseDibInfo(const BITMAPINFO* info, UINT usage,
                  const std::vector<PALETTEENTRY>& paletteEntries, TDibLayout& layout) {
  if (!info || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (!KnownHeaderSize(h.biSize) || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN ||
      !CompressionFits(h.biCompression, h.biBitCount)) {
    return false;
  }
  layout = TDibLayout{};
  layout.Width = h.biWidth;
  layout.Height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  layout.TopDown = h.biHeight < 0;
  layout.Compression = h.biCompression;
  layout.Format.BitCount = h.biBitCount;
  const auto* base = reinterpret_cast<const uint8_t*>(info);
  const uint8_t* afterHeader = base + h.biSize;
  if (h.biCompression == BI_BITFIELDS) {
    uint32_t masks[3];
    std::memcpy(masks, base + sizeof(BITMAPINFOHEADER), sizeof(masks));
    layout.Format.RedMask = masks[0];
    layout.Format.GreenMask = masks[1];
    layout.Format.BlueMask = masks[2];
    if (h.biSize == sizeof(BITMAPINFOHEADER)) afterHeader += sizeof(masks);
    if ((masks[0] | masks[1] | masks[2]) == 0) return false;
  }
  if (!IsValidFormat(layout.Format)) return false;
  layout.Format = WithDefaultMasks(layout.Format);
  if (h.biBitCount <= 8) ReadColors(info, afterHeader, usage, paletteEntries, layout);
  layout.RowBytes = DibRowBytes(layout.Width, h.biBitCount);
  if (layout.RowBytes < 0 || layout.RowBytes * layout.Height > kMaxImageBytes) return false;
  const bool runLength = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
  if (runLength && (layout.TopDown || h.biSizeImage == 0)) return false;
  layout.ImageBytes = runLength ? h.biSizeImage : layout.RowBytes * layout.Height;
  return true;
}

bool TDibSource::Open(const BITMAPINFO* info, const void* bits, UINT usage,
                      const std::vector<PALETTEENTRY>& paletteEntries) {
  if (!bits || !ParseDibInfo(info, usage, paletteEntries, FLayout)) return false;
  FBits = static_cast<const uint8_t*>(bits);
  if (FLayout.Compression == BI_RLE8 || FLayout.Compression == BI_RLE4) {
    const auto bytes = static_cast<size_t>(FLayout.RowBytes * FLayout.Height);
    FDecoded = std::make_unique<uint8_t[]>(bytes);
    const TRleTarget target{FDecoded.get(), FLayout.RowBytes, FLayout.Width, FLayout.Height};
    const auto size = static_cast<size_t>(FLayout.ImageBytes);
    if (FLayout.Compression == BI_RLE8) {
      DecodeRle8(FBits, size, target);
    } else {
      DecodeRle4(FBits, size, target);
    }
    FBits = FDecoded.get();
  }
  return true;
}

TPixelView TDibSource::View() const {
  TPixelView view;
  view.Width = FLayout.Width;
  view.Height = FLayout.Height;
  view.Format = FLayout.PixelFormat();
  auto* bits = const_cast<uint8_t*>(FBits);  // views are read-only here
  view.Pitch = static_cast<ptrdiff_t>(FLayout.TopDown ? FLayout.RowBytes : -FLayout.RowBytes);
  view.Top = FLayout.TopDown ? bits : bits + (FLayout.Height - 1) * FLayout.RowBytes;
  return view;
}

}  // namespace gdi
