// Bitmap sections, device-dependent bitmaps and reading bitmaps back as DIBs.
#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DibSource.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/SystemPalette.h"

namespace gdi {

namespace {

std::vector<PALETTEENTRY> SelectedPaletteEntries(HDC dc) {
  const auto context = FindDC(dc);
  return context ? context->State.Palette->Entries : std::vector<PALETTEENTRY>{};
}

std::shared_ptr<TGdiBitmap> CreateDdb(int width, int height, uint32_t bitCount) {
  if (width == 0 || height == 0) {
    width = height = 1;
    bitCount = 1;
  }
  if (bitCount > 32) return nullptr;
  return TGdiBitmap::Create(width, height, DeviceFormat(bitCount), false, false);
}

HBITMAP Register(std::shared_ptr<TGdiBitmap> bitmap) {
  return bitmap ? static_cast<HBITMAP>(AddObject(std::move(bitmap))) : nullptr;
}

std::shared_ptr<TGdiBitmap> SelectedSection(HDC dc) {
  const auto context = FindDC(dc);
  if (!context || !context->State.Bitmap || !context->State.Bitmap->IsSection()) return nullptr;
  return context->State.Bitmap;
}

// The requested DIB layout of GetDIBits, completed from the bitmap.
bool RequestedLayout(const TGdiBitmap& bitmap, BITMAPINFO* info, TDibLayout& layout) {
  BITMAPINFOHEADER& h = info->bmiHeader;
  h.biWidth = bitmap.Width();
  h.biHeight = h.biHeight < 0 ? -bitmap.Height() : bitmap.Height();
  h.biPlanes = 1;
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return false;
  // The colour table goes right after a plain header, the only place we know has room.
  if (h.biBitCount <= 8 && h.biSize != sizeof(BITMAPINFOHEADER)) return false;
  if (h.biBitCount <= 8 && h.biBitCount != 0) h.biClrUsed = 0;
  const std::vector<PALETTEENTRY> none;
  if (!ParseDibInfo(info, DIB_RGB_COLORS, none, layout)) return false;
  h.biSizeImage = static_cast<DWORD>(layout.RowBytes * layout.Height);
  if (h.biBitCount <= 8) {
    const RGBQUAD* table = bitmap.BitCount() == h.biBitCount ? bitmap.Format().ColorTable
                                                             : DefaultColorTable(h.biBitCount);
    layout.Colors.assign(table, table + (size_t{1} << h.biBitCount));
    std::memcpy(info->bmiColors, layout.Colors.data(), layout.Colors.size() * sizeof(RGBQUAD));
  }
  return true;
}

}  // namespace

}  // namespace gdi

using namespace gdi;

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
  if (bits) *bits = nullptr;
  TDibLayout layout;
  if (!ParseDibInfo(info, usage, SelectedPaletteEntries(dc), layout) ||
      layout.Compression == BI_RLE8 || layout.Compression == BI_RLE4) {
    return nullptr;
  }
  auto bitmap =
      TGdiBitmap::Create(layout.Width, layout.Height, layout.PixelFormat(), true, layout.TopDown);
  if (!bitmap) return nullptr;
  if (bits) *bits = bitmap->Bits();
  return Register(std::move(bitmap));
}

HBITMAP CreateDIBSectionOver(const BITMAPINFO* info, void* bits, size_t bytes,
                             void (*release)(void*), void* context) {
  TDibLayout layout;
  if (!ParseDibInfo(info, DIB_RGB_COLORS, {}, layout) || layout.Compression == BI_RLE8 ||
      layout.Compression == BI_RLE4)
    return nullptr;
  return Register(TGdiBitmap::CreateOver(layout.Width, layout.Height, layout.PixelFormat(),
                                         layout.TopDown, static_cast<uint8_t*>(bits), bytes,
                                         release, context));
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors) {
  const auto bitmap = SelectedSection(dc);
  if (!bitmap || !colors || start >= bitmap->ColorCount()) return 0;
  const UINT n = std::min(count, bitmap->ColorCount() - start);
  std::memcpy(bitmap->Colors() + start, colors, n * sizeof(RGBQUAD));
  return n;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
  const auto bitmap = SelectedSection(dc);
  if (!bitmap || !colors || start >= bitmap->ColorCount()) return 0;
  const UINT n = std::min(count, bitmap->ColorCount() - start);
  std::memcpy(colors, bitmap->Colors() + start, n * sizeof(RGBQUAD));
  return n;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (!FindDC(dc) || width < 0 || height < 0) return nullptr;
  return Register(CreateDdb(width, height, static_cast<uint32_t>(DesktopBitsPerPixel())));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  if (planes != 1 || width < 0 || height < 0) return nullptr;
  auto bitmap = CreateDdb(width, height, bitCount);
  if (!bitmap) return nullptr;
  if (bits && width > 0 && height > 0) {
    // Caller rows are top-down, padded to 2 bytes.
    const int64_t rowBytes = (int64_t{width} * bitCount + 15) / 16 * 2;
    const int64_t copied = std::min(rowBytes, bitmap->RowBytes());
    const TPixelView view = bitmap->View();
    const auto* source = static_cast<const uint8_t*>(bits);
    for (int32_t y = 0; y < height; ++y) {
      std::memcpy(view.Row(y), source + y * rowBytes, static_cast<size_t>(copied));
    }
  }
  return Register(std::move(bitmap));
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  if (!header || header->biWidth < 0 || header->biHeight == INT32_MIN) return nullptr;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  auto bitmap = CreateDdb(header->biWidth, height, static_cast<uint32_t>(DesktopBitsPerPixel()));
  if (!bitmap) return nullptr;
  if (init & CBM_INIT) {
    TDibSource source;
    if (!source.Open(info, bits, usage, SelectedPaletteEntries(dc))) return nullptr;
    const TPixelView from = source.View();
    StretchView(bitmap->View(), 0, 0, from.Width, from.Height, from, 0, 0, from.Width, from.Height);
  }
  return Register(std::move(bitmap));
}

int GetDIBits(HDC dc, HBITMAP handle, UINT startScan, UINT lines, void* bits, BITMAPINFO* info,
              UINT) {
  const auto bitmap = Find<TGdiBitmap>(handle);
  if (!FindDC(dc) || !bitmap || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
    return 0;
  }
  if (info->bmiHeader.biBitCount == 0) {
    bitmap->DescribeHeader(info->bmiHeader);
    return 1;
  }
  TDibLayout layout;
  if (!RequestedLayout(*bitmap, info, layout)) return 0;
  if (!bits) return 1;
  if (startScan >= static_cast<UINT>(layout.Height)) return 0;
  const auto count = static_cast<int32_t>(std::min<UINT>(lines, layout.Height - startScan));
  TPixelView out;
  out.Width = layout.Width;
  out.Height = count;
  out.Format = layout.PixelFormat();
  auto* bytes = static_cast<uint8_t*>(bits);
  // Scan lines count from the bottom of a bottom-up DIB, from the top otherwise.
  const int64_t firstRow = layout.TopDown ? startScan : layout.Height - startScan - count;
  out.Pitch = static_cast<ptrdiff_t>(layout.TopDown ? layout.RowBytes : -layout.RowBytes);
  out.Top = layout.TopDown ? bytes : bytes + (count - 1) * layout.RowBytes;
  const TPixelView from = bitmap->View();
  StretchView(out, 0, 0, out.Width, count, from, 0, firstRow, out.Width, count);
  return count;
}

BOOL GdiFlush() { return TRUE_; }
