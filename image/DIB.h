// The device-independent bitmap: a graphic that owns its pixels in one of six bit
// depths, with a 256-entry colour table and, for 16 and 32 bits, a red/green/blue
// layout. Pixels live in a TDIBSharedImage shared between DIBs until one writes.
#pragma once

#include <cstdint>
#include <memory>

#include "image/DIBPaletteManager.h"
#include "image/DIBPixelLayout.h"
#include "image/DIBSharedImage.h"
#include "platform/framework/Canvas.h"
#include "platform/framework/Graphic.h"

class TBitmap;

class TDIB : public TGraphic {
 public:
  LOUPIX_CLASS(TDIB, TGraphic)
  TDIB();
  ~TDIB() override;
  TDIB(const TDIB&) = delete;
  TDIB& operator=(const TDIB&) = delete;
  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TDIB>(); }

  // New pixel storage (plain memory pixels are not initialised).
  void SetDimensions(int32_t width, int32_t height, int32_t bitCount);
  void ResetToEmpty();
  // The pixels, unshared and decoded, ready to be written.
  uint8_t* PixelBits();
  void PutPixel(int32_t x, int32_t y, uint32_t value);
  // A canvas drawing into the pixels; drawing first gives this DIB its own copy.
  TCanvas& DrawingCanvas();
  // Pushes ColorTable into the image.
  void ApplyColorTable();
  // Draws the whole image stretched into rect.
  void RenderTo(TCanvas& canvas, const TRect& rect);

  // The file form (with the 14-byte header) and the bare form.
  void ReadInfoAndBits(TStream& stream);
  void WriteInfoAndBits(TStream& stream);

  int32_t BitCount() const { return FBitCount; }
  uint32_t ImageSize() const { return FImageSize; }
  uint32_t RowBytes() const { return FRowBytes; }
  int32_t RowStep() const { return FRowStep; }
  uint8_t* TopRow() const { return FTopRow; }
  uint32_t ColorCount() const { return FImage->ColorCount(); }
  uint32_t InfoSize() const { return FImage->InfoSize(); }
  // The attached image (observable in tests: sharing, storage kind).
  const TDIBSharedImage& Image() const { return *FImage; }

  TColorTable ColorTable{};
  TPixelLayout PixelFormat;

 public:
  // None empties; a TDIB shares its image; a TBitmap or other graphic is drawn in;
  // a TPicture gives its graphic.
  void AssignFrom(TPersistent* source) override;
  bool Empty() const override { return FImageSize == 0; }
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  HPALETTE Palette() override { return FImage->PaletteHandle(); }
  // Takes ownership: the entries become ColorTable and the handle is deleted.
  void SetPalette(HPALETTE value) override;
  void ReadFromStream(TStream& stream) override;
  void WriteToStream(TStream& stream) override;
  void LoadClipboardData(UINT format, HANDLE data, HPALETTE palette) override;
  // Format 8, no palette, and a new movable block with the bare form.
  void SaveClipboardData(UINT& format, HANDLE& data, HPALETTE& palette) override;

 protected:
  // The stored property "DIB" holds the bare form.
  void DefineProperties(TFiler& filer) override;
  void Draw(TCanvas& canvas, const TRect& rect) override;
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;

 private:
  void AttachImage(TDIBSharedImage* image);
  void PrepareWrite(bool plainMemoryAllowed);
  void EnsureSection();
  void AssignBitmap(TBitmap& bitmap);
  void AssignGraphic(TGraphic& graphic);

  std::unique_ptr<TCanvas> FCanvas;
  TComRef<TDIBSharedImage> FImage;
  int32_t FBitCount = 0;
  int32_t FHeight = 0;
  int32_t FRowStep = 0;
  TPixelLayout FNowPixelFormat;
  uint8_t* FPixelData = nullptr;
  uint32_t FImageSize = 0;
  uint8_t* FTopRow = nullptr;
  int32_t FWidth = 0;
  uint32_t FRowBytes = 0;
};
