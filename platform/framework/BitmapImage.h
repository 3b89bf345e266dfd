// The shared image behind TBitmap: size, pixel layout, bitmap handle and palette.
// Internal to the framework's bitmap code.
#pragma once

#include <cstdint>

#include "platform/framework/Bitmap.h"
#include "platform/framework/SharedImage.h"

struct TBitmapLayout {
  int32_t BitCount = 0;  // 0: the desktop's depth, decided when pixels are made
  uint32_t Masks[3]{};   // red, green, blue for 16 and 32 bits
  bool DDB = false;      // pixels in a device-dependent bitmap

  static TBitmapLayout ForFormat(TPixelFormat format);
  TPixelFormat Format() const;
  // Needs BI_BITFIELDS to describe it (16 bits other than 5-5-5, 32 other than 8-8-8).
  bool NeedsBitfields() const;
};

class TBitmapImage : public TSharedImage {
 public:
  TBitmapImage() = default;
  ~TBitmapImage() override;

  int32_t Width = 0;
  int32_t Height = 0;
  TBitmapLayout Layout;
  HBITMAP Handle = nullptr;
  HPALETTE Palette = nullptr;
  uint8_t* Bits = nullptr;  // section pixels, bottom row first; none for a DDB
  int64_t RowBytes = 0;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  // Makes the bitmap handle when missing (nothing for an empty image). Sizes
  // beyond kMaxGraphicPixelBytes raise EOutOfResources.
  void HandleNeeded();
  // A new image of the given size and layout holding this image's pixels (drawn
  // across at the top-left when there are any) and a copy of its palette.
  TBitmapImage* Reshaped(int32_t width, int32_t height, const TBitmapLayout& layout) const;
  TBitmapImage* Copy() const { return Reshaped(Width, Height, Layout); }
  // Gives a palettised section the palette's colours.
  void ApplyPaletteToSection();
  // Fills info with the header, masks and colour table describing the pixels.
  void Describe(BITMAPINFO& info) const;

 private:
  void MakeSection();
};

// A new image holding the handle: a bottom-up section, or a device-dependent bitmap;
// none gives an empty image. Other handles raise EInvalidGraphic.
TBitmapImage* ImageOfHandle(HBITMAP handle);

// A palette with the given colours (at most 256).
HPALETTE PaletteFromColors(const RGBQUAD* colors, int count);
// A new palette with the same entries, or none.
HPALETTE CopyPalette(HPALETTE palette);
// A memory device context with a bitmap selected, restored and freed on scope exit.
class TMemoryDC {
 public:
  explicit TMemoryDC(HBITMAP bitmap);
  ~TMemoryDC();
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Handle() const { return FDC; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};
