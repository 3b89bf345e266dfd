// Bitmaps: a graphic over a device-independent bitmap section (or, for run-length
// files, a device-dependent bitmap) with its palette. Copies share one
// reference-counted image until one of them writes.
//
// Pixels are made lazily: a new size or pixel format is only recorded, and the
// bitmap handle comes into being on first need (Handle, ScanLine, Canvas drawing,
// saving, drawing). So sizing a bitmap and then assigning another one to it never
// allocates pixels for the discarded size.
#pragma once

#include <memory>

#include "platform/framework/Canvas.h"
#include "platform/framework/Graphic.h"
#include "platform/gdi/ComRef.h"
#include "platform/gdi/PixelView.h"

enum TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapImage;
class TBitmapCanvas;

class TBitmap : public TGraphic {
 public:
  LOUPIX_CLASS(TBitmap, TGraphic)
  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // A TBitmap source shares its image and transparency; none empties this bitmap;
  // other graphics copy themselves in (drawing, unless they know better).
  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TBitmap>(); }
  void AssignFrom(TPersistent* source) override;

  bool Empty() const override;
  int32_t Width() const override;
  int32_t Height() const override;
  // Keep the overlapping pixels. Sizes whose pixels would exceed
  // kMaxGraphicPixelBytes raise EOutOfResources before anything is allocated.
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  void SetSize(int32_t width, int32_t height);

  // The bitmap's palette (owned by the bitmap), or none.
  HPALETTE Palette() override;
  // Takes ownership of the handle; a section of 8 bits or less gets its colours.
  void SetPalette(HPALETTE value) override;

  // The bitmap handle, made when missing; none for an empty bitmap.
  HBITMAP Handle();
  // The bitmap takes over the handle (a bottom-up section or a device-dependent
  // bitmap) with its size, depth and pixels; none empties it. Other handles raise
  // EInvalidGraphic "Bitmap image is not valid".
  void SetHandle(HBITMAP value);
  bool HandleAllocated() const;
  TBitmapHandleType HandleType() const;
  // Converting to bmDIB makes a section of the bitmap's depth from a DDB.
  void SetHandleType(TBitmapHandleType value);
  // pfDevice means the desktop's depth. Changing the format of existing pixels
  // converts them.
  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat value);
  // Address of picture row (0 = top), for writing: the image is unshared first.
  // Rows are bottom-up in memory, so row addresses step down by the row size.
  // Raises EInvalidGraphicOperation "Scan line index out of range".
  void* ScanLine(int32_t row);
  // Every row at once, top row first, in the bitmap's own format (colour tables
  // not included); raises as ScanLine does for an empty bitmap.
  gdi::TPixelView PixelView();
  // Makes sure no other bitmap shares this bitmap's image.
  void FreeImage();

  // A canvas drawing into this bitmap's pixels (unsharing them first).
  TCanvas& Canvas();

  TColor TransparentColor();
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

  // BMP file data; see BitmapReader.h for what is accepted.
  void ReadFromStream(TStream& stream) override;
  void WriteToStream(TStream& stream) override;
  // Clipboard format 8 (packed device-independent bitmap).
  void LoadClipboardData(UINT format, HANDLE data, HPALETTE palette) override;
  void SaveClipboardData(UINT& format, HANDLE& data, HPALETTE& palette) override;

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // Stored form: a 32-bit byte count, then the BMP file data.
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;

 private:
  friend class TBitmapCanvas;
  // Replaces the image (the old one is released) and drops the canvas context.
  void AttachImage(TBitmapImage* image);
  // The image with its handle made, unshared when forWriting.
  TBitmapImage& ImageWithHandle(bool forWriting);
  void ReadBitmap(TStream& stream, bool withFileHeader);
  void WriteBitmap(TStream& stream, bool withFileHeader);

  TComRef<TBitmapImage> FImage;
  std::unique_ptr<TBitmapCanvas> FCanvas;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};
