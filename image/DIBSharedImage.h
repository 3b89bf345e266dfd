// The pixel storage of DIBs, shared by reference count between DIB objects until
// one of them writes. Storage is a bitmap section in a memory device context, a
// plain fixed global memory block, or run-length encoded bytes in such a block.
// Rows are stored bottom-up and padded to 32 bits.
#pragma once

#include <cstdint>
#include <memory>

#include "image/DIBPixelLayout.h"
#include "platform/framework/SharedImage.h"
#include "platform/gdi/WinTypes.h"

class TStream;

class TDIBSharedImage : public TSharedImage {
 public:
  // A new image: no pixels, plain memory, grey colour table, layout 8-8-8.
  TDIBSharedImage();
  ~TDIBSharedImage() override;

  // Raises EInvalidGraphicOperation for a depth or layout that does not fit,
  // EOutOfMemory or EOutOfResources "DIB cannot be made" when storage is refused.
  void AllocateImage(int32_t width, int32_t height, int32_t bitCount, const TPixelLayout& layout,
                     const TColorTable& colorTable, bool plainMemory, bool runLength);
  // Copies the pixels of a source without run-length data.
  void CloneImage(const TDIBSharedImage& source, bool plainMemory);
  // Like CloneImage, but decodes a run-length source.
  void ExpandImage(const TDIBSharedImage& source, bool plainMemory);
  void StoreColorTable(const TColorTable& colorTable);
  // The shared palette of the colour table, or none for more than 8 bits.
  HPALETTE PaletteHandle();
  // Reads bare DIB data (no file header); empty data gives a new empty image.
  void ReadImage(TStream& stream, bool plainMemory);

  int32_t BitCount() const { return FBitCount; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  uint32_t RowBytes() const { return FRowBytes; }
  int32_t RowStep() const { return FRowStep; }
  uint32_t ImageSize() const { return FImageSize; }
  uint8_t* PixelData() const { return FPixelData; }
  uint8_t* TopRow() const { return FTopRow; }
  uint32_t ColorCount() const { return FColorCount; }
  uint32_t InfoSize() const { return FInfoSize; }
  const BITMAPINFO* BitmapInfo() const;
  const TColorTable& ColorTable() const { return FColorTable; }
  const TPixelLayout& PixelFormat() const { return FPixelFormat; }
  bool PlainMemory() const { return FPlainMemory; }
  bool RunLengthData() const { return FRunLengthData; }
  bool PaletteStale() const { return FPaletteStale; }
  HDC DC() const { return FDC; }
  HBITMAP Handle() const { return FHandle; }

 private:
  void ResetToNew();
  void FreeStorage();
  void WriteInfoBlock(const TColorTable& colorTable);
  void AllocateStorage();
  void AllocatePlainMemory(size_t bytes);
  void AllocateSection();

  int32_t FBitCount = 0;
  std::unique_ptr<uint8_t[]> FBitmapInfo;
  uint32_t FInfoSize = 0;
  bool FPaletteStale = true;
  TColorTable FColorTable{};
  uint32_t FColorTableOffset = 40;
  bool FRunLengthData = false;
  HDC FDC = nullptr;
  HBITMAP FHandle = nullptr;
  int32_t FHeight = 0;
  bool FPlainMemory = true;
  int32_t FRowStep = 0;
  HGDIOBJ FOldHandle = nullptr;
  HPALETTE FPalette = nullptr;
  uint32_t FColorCount = 0;
  uint8_t* FPixelData = nullptr;
  TPixelLayout FPixelFormat;
  uint32_t FImageSize = 0;
  uint8_t* FTopRow = nullptr;
  int32_t FWidth = 0;
  uint32_t FRowBytes = 0;
  HGLOBAL FMemory = nullptr;  // the plain-memory or run-length block
};

// The image every DIB starts with and returns to when emptied: made on first use,
// kept by one permanent reference, freed at program end.
TDIBSharedImage& EmptyDIBImage();
