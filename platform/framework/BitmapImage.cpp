#include "platform/framework/BitmapImage.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/framework/Exception.h"
#include "platform/gdi/Gdi.h"

namespace {

constexpr uint32_t kMask555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kMask565[3] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t kMask888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

bool SameMasks(const uint32_t* a, const uint32_t* b) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

int DesktopBitCount() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits > 0 ? bits : 32;
}

// Default colours of a new palettised bitmap: black and white, the 16 standard
// colours, or the halftone palette.
HPALETTE DefaultPalette(int bitCount) {
  if (bitCount == 8) {
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    return palette;
  }
  static constexpr COLORREF kStandard[16] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  RGBQUAD colors[16];
  const int count = bitCount == 1 ? 2 : 16;
  for (int i = 0; i < count; ++i) {
    const COLORREF c = bitCount == 1 ? (i ? 0xFFFFFF : 0) : kStandard[i];
    colors[i] = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
  }
  return PaletteFromColors(colors, count);
}

}  // namespace

// --- TBitmapLayout ---------------------------------------------------------------

TBitmapLayout TBitmapLayout::ForFormat(TPixelFormat format) {
  TBitmapLayout layout;
  switch (format) {
    case pf1bit:
      layout.BitCount = 1;
      break;
    case pf4bit:
      layout.BitCount = 4;
      break;
    case pf8bit:
      layout.BitCount = 8;
      break;
    case pf15bit:
      layout.BitCount = 16;
      std::memcpy(layout.Masks, kMask555, sizeof kMask555);
      break;
    case pf16bit:
      layout.BitCount = 16;
      std::memcpy(layout.Masks, kMask565, sizeof kMask565);
      break;
    case pf24bit:
      layout.BitCount = 24;
      break;
    case pf32bit:
      layout.BitCount = 32;
      std::memcpy(layout.Masks, kMask888, sizeof kMask888);
      break;
    case pfDevice:
    case pfCustom:
      break;
  }
  return layout;
}

TPixelFormat TBitmapLayout::Format() const {
  if (DDB) return pfDevice;
  switch (BitCount) {
    case 0:
      return pfDevice;
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 24:
      return pf24bit;
    case 16:
      if (SameMasks(Masks, kMask555)) return pf15bit;
      return SameMasks(Masks, kMask565) ? pf16bit : pfCustom;
    case 32:
      return SameMasks(Masks, kMask888) ? pf32bit : pfCustom;
    default:
      return pfCustom;
  }
}

bool TBitmapLayout::NeedsBitfields() const {
  return (BitCount == 16 && !SameMasks(Masks, kMask555)) ||
         (BitCount == 32 && !SameMasks(Masks, kMask888));
}

// --- TBitmapImage ----------------------------------------------------------------

TBitmapImage::~TBitmapImage() {
  if (Handle) DeleteObject(Handle);
  if (Palette) DeleteObject(Palette);
}

void TBitmapImage::HandleNeeded() {
  if (Handle || Empty()) return;
  if (Layout.BitCount == 0) {
    const int bits = DesktopBitCount();
    Layout = TBitmapLayout::ForFormat(bits == 16   ? pf16bit
                                      : bits == 24 ? pf24bit
                                      : bits == 8  ? pf8bit
                                                   : pf32bit);
  }
  const uint64_t bytes = GraphicPixelBytes(Width, Height, Layout.DDB ? 32 : Layout.BitCount);
  if (bytes == UINT64_MAX) throw EOutOfResources(FrameworkText::kOutOfResources);
  if (Layout.DDB) {
    HDC screen = GetDC(nullptr);
    Handle = CreateCompatibleBitmap(screen, Width, Height);
    ReleaseDC(nullptr, screen);
    if (!Handle) throw EOutOfResources(FrameworkText::kOutOfResources);
    return;
  }
  MakeSection();
}

void TBitmapImage::MakeSection() {
  if (Layout.BitCount <= 8 && !Palette) Palette = DefaultPalette(Layout.BitCount);
  auto info = std::make_unique<BITMAPINFO>();
  Describe(*info);
  void* bits = nullptr;
  Handle = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!Handle || !bits) {
    if (Handle) DeleteObject(Handle);
    Handle = nullptr;
    throw EOutOfResources(FrameworkText::kOutOfResources);
  }
  Bits = static_cast<uint8_t*>(bits);
  RowBytes = static_cast<int64_t>(GraphicPixelBytes(Width, 1, Layout.BitCount));
}

void TBitmapImage::Describe(BITMAPINFO& info) const {
  info = BITMAPINFO{};
  BITMAPINFOHEADER& h = info.bmiHeader;
  h.biWidth = Width;
  h.biHeight = Height;
  h.biBitCount = static_cast<WORD>(Layout.BitCount);
  h.biCompression = Layout.NeedsBitfields() ? BI_BITFIELDS : BI_RGB;
  h.biSizeImage = static_cast<DWORD>(GraphicPixelBytes(Width, Height, Layout.BitCount));
  if (Layout.NeedsBitfields()) {
    std::memcpy(info.bmiColors, Layout.Masks, sizeof Layout.Masks);
  } else if (Layout.BitCount <= 8) {
    const int count = 1 << Layout.BitCount;
    PALETTEENTRY entries[256]{};
    const UINT got = Palette ? GetPaletteEntries(Palette, 0, static_cast<UINT>(count), entries) : 0;
    for (UINT i = 0; i < got; ++i)
      info.bmiColors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    h.biClrUsed = static_cast<DWORD>(count);
  }
}

void TBitmapImage::ApplyPaletteToSection() {
  if (!Handle || !Bits || Layout.BitCount > 8) return;
  auto info = std::make_unique<BITMAPINFO>();
  Describe(*info);
  TMemoryDC dc(Handle);
  SetDIBColorTable(dc.Handle(), 0, info->bmiHeader.biClrUsed, info->bmiColors);
}

TBitmapImage* TBitmapImage::Reshaped(int32_t width, int32_t height,
                                     const TBitmapLayout& layout) const {
  auto image = std::make_unique<TBitmapImage>();
  image->Width = width;
  image->Height = height;
  image->Layout = layout;
  image->Palette = CopyPalette(Palette);
  if (!Handle || image->Empty()) return image.release();
  image->HandleNeeded();
  const bool sameRows = Bits && image->Bits && layout.BitCount == Layout.BitCount && !layout.DDB &&
                        std::memcmp(layout.Masks, Layout.Masks, sizeof Layout.Masks) == 0;
  const int32_t rows = std::min(height, Height);
  if (sameRows) {
    // Picture row y sits (height - 1 - y) rows above the first stored row.
    const int64_t bytes = std::min(RowBytes, image->RowBytes);
    for (int32_t y = 0; y < rows; ++y)
      std::memcpy(image->Bits + (height - 1 - y) * image->RowBytes,
                  Bits + (Height - 1 - y) * RowBytes, static_cast<size_t>(bytes));
    return image.release();
  }
  GdiFlush();
  TMemoryDC from(Handle);
  TMemoryDC to(image->Handle);
  if (Palette) SelectPalette(to.Handle(), Palette, TRUE_);
  BitBlt(to.Handle(), 0, 0, std::min(width, Width), rows, from.Handle(), 0, 0, SRCCOPY);
  return image.release();
}

TBitmapImage* ImageOfHandle(HBITMAP handle) {
  auto image = std::make_unique<TBitmapImage>();
  if (!handle) return image.release();
  DIBSECTION section{};
  const int size = GetObject(handle, sizeof section, &section);
  const BITMAP& bitmap = section.dsBm;
  if (size == sizeof(BITMAP)) {
    image->Layout.DDB = true;
    image->Layout.BitCount = bitmap.bmBitsPixel;
  } else if (size == sizeof(DIBSECTION) && section.dsBmih.biHeight > 0 && bitmap.bmBits) {
    image->Layout.BitCount = bitmap.bmBitsPixel;
    if (bitmap.bmBitsPixel == 16 || bitmap.bmBitsPixel == 32)
      std::memcpy(image->Layout.Masks, section.dsBitfields, sizeof image->Layout.Masks);
    image->Bits = static_cast<uint8_t*>(bitmap.bmBits);
    image->RowBytes = bitmap.bmWidthBytes;
  } else {
    throw EInvalidGraphic(FrameworkText::kInvalidGraphic);
  }
  image->Width = bitmap.bmWidth;
  image->Height = bitmap.bmHeight;
  image->Handle = handle;
  return image.release();
}

// --- helpers ---------------------------------------------------------------------

HPALETTE PaletteFromColors(const RGBQUAD* colors, int count) {
  LOGPALETTE log;
  log.palNumEntries = static_cast<WORD>(std::clamp(count, 0, 256));
  for (int i = 0; i < log.palNumEntries; ++i)
    log.palPalEntry[i] = PALETTEENTRY{colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
  return CreatePalette(&log);
}

HPALETTE CopyPalette(HPALETTE palette) {
  if (!palette) return nullptr;
  LOGPALETTE log;
  log.palNumEntries = static_cast<WORD>(GetPaletteEntries(palette, 0, 256, log.palPalEntry));
  return log.palNumEntries ? CreatePalette(&log) : nullptr;
}

TMemoryDC::TMemoryDC(HBITMAP bitmap)
    : FDC(CreateCompatibleDC(nullptr)), FOld(SelectObject(FDC, bitmap)) {}

TMemoryDC::~TMemoryDC() {
  if (FOld) SelectObject(FDC, FOld);
  DeleteDC(FDC);
}
