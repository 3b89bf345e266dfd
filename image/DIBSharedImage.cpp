#include "image/DIBSharedImage.h"

#include <algorithm>
#include <cstring>

#include "image/DIBErrors.h"
#include "image/DIBPaletteManager.h"
#include "image/DIBReader.h"
#include "image/PixelLimits.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/RleDecoder.h"

namespace {

constexpr uint32_t kHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr uint32_t kMaskBytes = 12;

bool LayoutFitsDepth(int32_t bitCount, const TPixelLayout& layout) {
  if (bitCount == 16) return SameMasks(layout, Layout555()) || SameMasks(layout, Layout565());
  return SameMasks(layout, Layout888());
}

void CheckDepthAndLayout(int32_t bitCount, const TPixelLayout& layout) {
  CheckDIBBitCount(bitCount);
  if (!LayoutFitsDepth(bitCount, layout))
    throw EInvalidGraphicOperation(DIBText::kPixelFormatInvalid);
}

uint32_t CompressionFor(int32_t bitCount, bool runLength) {
  if (bitCount == 16 || bitCount == 32) return BI_BITFIELDS;
  if (runLength && bitCount == 4) return BI_RLE4;
  if (runLength && bitCount == 8) return BI_RLE8;
  return BI_RGB;
}

}  // namespace

TDIBSharedImage::TDIBSharedImage() { ResetToNew(); }

TDIBSharedImage::~TDIBSharedImage() { FreeStorage(); }

const BITMAPINFO* TDIBSharedImage::BitmapInfo() const {
  return reinterpret_cast<const BITMAPINFO*>(FBitmapInfo.get());
}

void TDIBSharedImage::FreeStorage() {
  PaletteManager().ReleasePalette(FPalette);
  if (FDC) {
    if (FOldHandle) SelectObject(FDC, FOldHandle);
    DeleteDC(FDC);
  }
  if (FHandle) DeleteObject(FHandle);
  if (FMemory) {
    GlobalUnlock(FMemory);
    GlobalFree(FMemory);
  }
  FDC = nullptr;
  FHandle = nullptr;
  FOldHandle = nullptr;
  FMemory = nullptr;
  FPixelData = nullptr;
  FTopRow = nullptr;
  FBitmapInfo.reset();
}

void TDIBSharedImage::ResetToNew() {
  FreeStorage();
  FBitCount = 0;
  FInfoSize = 0;
  FPaletteStale = true;
  GreyColorTable(FColorTable);
  FColorTableOffset = kHeaderSize;
  FRunLengthData = false;
  FHeight = 0;
  FPlainMemory = true;
  FRowStep = 0;
  FColorCount = 0;
  FPixelFormat = Layout888();
  FImageSize = 0;
  FWidth = 0;
  FRowBytes = 0;
}

void TDIBSharedImage::AllocateImage(int32_t width, int32_t height, int32_t bitCount,
                                    const TPixelLayout& layout, const TColorTable& colorTable,
                                    bool plainMemory, bool runLength) {
  ResetToNew();
  CheckDepthAndLayout(bitCount, layout);
  const uint32_t compression = CompressionFor(bitCount, runLength);
  FRunLengthData = compression == BI_RLE8 || compression == BI_RLE4;
  FPlainMemory = plainMemory || FRunLengthData;
  // Storage beyond the bound is refused as the system refuses storage it lacks.
  if (!PixelStorageFits(width, height, bitCount)) {
    if (FPlainMemory) throw EOutOfMemory(FrameworkText::kOutOfMemory);
    throw EOutOfResources(DIBText::kCannotMake, DIBText::kDIBName);
  }
  FBitCount = bitCount;
  FHeight = height;
  FWidth = width;
  FRowBytes = static_cast<uint32_t>(PaddedRowBytes(width, bitCount));
  FRowStep = -static_cast<int32_t>(FRowBytes);
  FImageSize = FRowBytes * static_cast<uint32_t>(height);
  FPixelFormat = layout;
  FColorCount = bitCount <= 8 ? 1u << bitCount : 0;
  FColorTableOffset = compression == BI_BITFIELDS ? kHeaderSize + kMaskBytes : kHeaderSize;
  FInfoSize = FColorTableOffset + 4 * FColorCount;
  std::copy(std::begin(colorTable), std::end(colorTable), FColorTable);
  WriteInfoBlock(colorTable);
  reinterpret_cast<BITMAPINFOHEADER*>(FBitmapInfo.get())->biCompression = compression;
  if (!FRunLengthData) AllocateStorage();
}

void TDIBSharedImage::WriteInfoBlock(const TColorTable& colorTable) {
  // Room for a full BITMAPINFO, so services reading the record never run past it.
  const size_t bytes = std::max<size_t>(FInfoSize, sizeof(BITMAPINFO));
  FBitmapInfo = std::make_unique<uint8_t[]>(bytes);
  BITMAPINFOHEADER header;
  header.biWidth = FWidth;
  header.biHeight = FHeight;
  header.biBitCount = static_cast<WORD>(FBitCount);
  header.biSizeImage = FImageSize;
  std::memcpy(FBitmapInfo.get(), &header, sizeof header);
  if (FColorTableOffset > kHeaderSize) {
    const uint32_t masks[3] = {FPixelFormat.RedMask, FPixelFormat.GreenMask, FPixelFormat.BlueMask};
    std::memcpy(FBitmapInfo.get() + kHeaderSize, masks, sizeof masks);
  }
  std::memcpy(FBitmapInfo.get() + FColorTableOffset, colorTable, 4 * FColorCount);
}

void TDIBSharedImage::AllocateStorage() {
  if (FPlainMemory)
    AllocatePlainMemory(FImageSize);
  else
    AllocateSection();
  FTopRow = FPixelData + static_cast<size_t>(FHeight - 1) * FRowBytes;
}

void TDIBSharedImage::AllocatePlainMemory(size_t bytes) {
  // A zero-byte block still gets a distinct address.
  FMemory = GlobalAlloc(GMEM_FIXED, std::max<size_t>(bytes, 1));
  if (!FMemory) throw EOutOfMemory(FrameworkText::kOutOfMemory);
  FPixelData = static_cast<uint8_t*>(GlobalLock(FMemory));
}

void TDIBSharedImage::AllocateSection() {
  HDC screen = GetDC(nullptr);
  FDC = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  void* bits = nullptr;
  if (FDC) FHandle = CreateDIBSection(FDC, BitmapInfo(), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!FHandle || !bits) throw EOutOfResources(DIBText::kCannotMake, DIBText::kDIBName);
  FPixelData = static_cast<uint8_t*>(bits);
  FOldHandle = SelectObject(FDC, FHandle);
}

void TDIBSharedImage::CloneImage(const TDIBSharedImage& source, bool plainMemory) {
  if (!source.FPixelData || source.FImageSize == 0) {
    ResetToNew();
    FPlainMemory = plainMemory;
    return;
  }
  AllocateImage(source.FWidth, source.FHeight, source.FBitCount, source.FPixelFormat,
                source.FColorTable, plainMemory, false);
  std::memcpy(FPixelData, source.FPixelData, FImageSize);
}

void TDIBSharedImage::ExpandImage(const TDIBSharedImage& source, bool plainMemory) {
  if (!source.FRunLengthData) {
    CloneImage(source, plainMemory);
    return;
  }
  AllocateImage(source.FWidth, source.FHeight, source.FBitCount, source.FPixelFormat,
                source.FColorTable, plainMemory, false);
  // Pixels the encoded data never reaches start as index 0.
  std::memset(FPixelData, 0, FImageSize);
  const gdi::TRleTarget target{FPixelData, FRowBytes, FWidth, FHeight};
  const uint32_t compression = source.BitmapInfo()->bmiHeader.biCompression;
  if (compression == BI_RLE8)
    gdi::DecodeRle8(source.FPixelData, source.FImageSize, target);
  else
    gdi::DecodeRle4(source.FPixelData, source.FImageSize, target);
}

void TDIBSharedImage::StoreColorTable(const TColorTable& colorTable) {
  std::copy(std::begin(colorTable), std::end(colorTable), FColorTable);
  FPaletteStale = true;
  if (!FPixelData || FColorCount == 0) return;
  if (FDC) SetDIBColorTable(FDC, 0, 256, FColorTable);
  std::memcpy(FBitmapInfo.get() + FColorTableOffset, FColorTable, 4 * FColorCount);
}

HPALETTE TDIBSharedImage::PaletteHandle() {
  if (FColorCount == 0) return nullptr;
  if (FPaletteStale) {
    FPaletteStale = false;
    PaletteManager().ReleasePalette(FPalette);
    FPalette = PaletteManager().AcquirePalette(FColorTable, FColorCount);
  }
  return FPalette;
}

void TDIBSharedImage::ReadImage(TStream& stream, bool plainMemory) {
  TDibHeader header;
  if (!ReadDibHeader(stream, header)) {
    ResetToNew();
    return;
  }
  // Nothing is allocated before the data is known to be there.
  CheckPixelDataAvailable(header, stream);
  AllocateImage(header.Width, header.Height, static_cast<int32_t>(header.BitCount), header.Layout,
                header.ColorTable, plainMemory, header.RunLength());
  if (!header.RunLength()) {
    ReadDibRows(stream, header, FPixelData);
    return;
  }
  FImageSize = header.SizeImage;
  reinterpret_cast<BITMAPINFOHEADER*>(FBitmapInfo.get())->biSizeImage = FImageSize;
  AllocatePlainMemory(FImageSize);
  FTopRow = nullptr;  // encoded bytes have no rows
  stream.ReadBuffer(FPixelData, FImageSize);
}

TDIBSharedImage& EmptyDIBImage() {
  // Freed at program end after its permanent reference is dropped.
  static const TComRef<TDIBSharedImage> image = ShareRef(new TDIBSharedImage);
  return *image;
}
