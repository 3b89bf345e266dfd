#include "image/DIB.h"

#include <algorithm>
#include <cstring>

#include "image/DIBErrors.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Picture.h"
#include "platform/gdi/Gdi.h"

namespace {

// Puts the stretch mode and palette of a device context back, also on error.
class TRenderState {
 public:
  TRenderState(HDC dc, HPALETTE palette) : FDC(dc) {
    if (palette) {
      FOldPalette = SelectPalette(dc, palette, FALSE_);
      FPaletteSelected = true;
      RealizePalette(dc);
    }
    FOldMode = SetStretchBltMode(dc, COLORONCOLOR);
  }
  ~TRenderState() {
    SetStretchBltMode(FDC, FOldMode);
    if (FPaletteSelected) SelectPalette(FDC, FOldPalette, TRUE_);
  }
  TRenderState(const TRenderState&) = delete;
  TRenderState& operator=(const TRenderState&) = delete;

 private:
  HDC FDC;
  HPALETTE FOldPalette = nullptr;
  bool FPaletteSelected = false;
  int FOldMode = 0;
};

void StorePixel(uint8_t* row, int32_t bitCount, int32_t x, uint32_t value) {
  switch (bitCount) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
      row[x / 8] = static_cast<uint8_t>((value & 1) ? row[x / 8] | bit : row[x / 8] & ~bit);
      break;
    }
    case 4: {
      uint8_t& byte = row[x / 2];
      byte = x % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | ((value & 15) << 4))
                        : static_cast<uint8_t>((byte & 0xF0) | (value & 15));
      break;
    }
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 16:
      row[2 * x] = static_cast<uint8_t>(value);
      row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
      break;
    case 24:  // red (the low byte of the value) goes last
      row[3 * x] = static_cast<uint8_t>(value >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(value >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(value);
      break;
    case 32:
      for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<uint8_t>(value >> (8 * i));
      break;
    default:
      break;
  }
}

// DIB files and clipboard data load as TDIB for as long as the program runs.
struct TDIBRegistration {
  TDIBRegistration() {
    TPicture::RegisterFileFormat("dib", "Device Independent Bitmap", TGraphicClass::Of<TDIB>());
    TPicture::RegisterClipboardFormat(CF_DIB, TGraphicClass::Of<TDIB>());
  }
  ~TDIBRegistration() { TPicture::UnregisterGraphicClass(TDIB::StaticClass()); }
};

const TDIBRegistration kRegistration;

}  // namespace

TDIB::TDIB() { AttachImage(&EmptyDIBImage()); }

TDIB::~TDIB() { AttachImage(&EmptyDIBImage()); }

void TDIB::AttachImage(TDIBSharedImage* image) {
  if (image == FImage.Get()) return;
  if (FCanvas) FCanvas->SetHandle(nullptr);
  FImage.Share(image);
  if (FCanvas) FCanvas->SetHandle(image->DC());
  std::copy(std::begin(image->ColorTable()), std::end(image->ColorTable()), ColorTable);
  PixelFormat = image->PixelFormat();
  FBitCount = image->BitCount();
  FHeight = image->Height();
  FRowStep = image->RowStep();
  FNowPixelFormat = image->PixelFormat();
  FPixelData = image->PixelData();
  FImageSize = image->ImageSize();
  FTopRow = image->TopRow();
  FWidth = image->Width();
  FRowBytes = image->RowBytes();
}

void TDIB::PrepareWrite(bool plainMemoryAllowed) {
  const bool ownCopyNeeded = FImage->RefCount() > 1 || FImage->RunLengthData() ||
                             (FImage->PlainMemory() && !plainMemoryAllowed);
  if (!ownCopyNeeded) return;
  // Held while it is filled, so it is freed if filling fails.
  const auto fresh = ShareRef(new TDIBSharedImage);
  fresh->ExpandImage(*FImage, plainMemoryAllowed && FImage->PlainMemory());
  AttachImage(fresh.Get());
}

void TDIB::EnsureSection() {
  if (!FImage->PlainMemory()) return;
  const auto fresh = ShareRef(new TDIBSharedImage);
  fresh->ExpandImage(*FImage, false);
  AttachImage(fresh.Get());
}

TCanvas& TDIB::DrawingCanvas() {
  if (FCanvas && FCanvas->HandleAllocated()) return *FCanvas;
  EnsureSection();
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
  FCanvas->SetHandle(FImage->DC());
  FCanvas->OnChanging = [this](TObject*) { PrepareWrite(false); };
  return *FCanvas;
}

void TDIB::SetDimensions(int32_t width, int32_t height, int32_t bitCount) {
  if (width == FWidth && height == FHeight && bitCount == FBitCount &&
      SameMasks(FNowPixelFormat, PixelFormat))
    return;
  if (width <= 0 || height <= 0) {
    ResetToEmpty();
    return;
  }
  const auto fresh = ShareRef(new TDIBSharedImage);
  fresh->AllocateImage(width, height, bitCount, PixelFormat, ColorTable, FImage->PlainMemory(),
                       false);
  AttachImage(fresh.Get());
  SetPaletteModified(true);
}

void TDIB::ResetToEmpty() { AttachImage(&EmptyDIBImage()); }

void TDIB::SetWidth(int32_t value) {
  if (value <= 0)
    ResetToEmpty();
  else if (Empty())
    SetDimensions(value, std::max(FHeight, 1), 8);
  else
    SetDimensions(value, FHeight, FBitCount);
}

void TDIB::SetHeight(int32_t value) {
  if (value <= 0)
    ResetToEmpty();
  else if (Empty())
    SetDimensions(std::max(FWidth, 1), value, 8);
  else
    SetDimensions(FWidth, value, FBitCount);
}

uint8_t* TDIB::PixelBits() {
  PrepareWrite(true);
  if (!FImage->PlainMemory()) GdiFlush();
  return FPixelData;
}

void TDIB::PutPixel(int32_t x, int32_t y, uint32_t value) {
  PrepareWrite(true);
  if (x < 0 || x >= FWidth || y < 0 || y >= FHeight) return;
  StorePixel(FTopRow + static_cast<int64_t>(y) * FRowStep, FBitCount, x, value);
}

void TDIB::ApplyColorTable() {
  if (std::memcmp(ColorTable, FImage->ColorTable(), sizeof(TColorTable)) == 0) return;
  TColorTable saved;
  std::copy(std::begin(ColorTable), std::end(ColorTable), saved);
  PrepareWrite(true);
  std::copy(std::begin(saved), std::end(saved), ColorTable);  // attaching refreshed it
  FImage->StoreColorTable(ColorTable);
  SetPaletteModified(true);
}

void TDIB::RenderTo(TCanvas& canvas, const TRect& rect) {
  if (FImageSize < 1) return;
  HDC dc = canvas.Handle();
  TRenderState state(dc, FImage->ColorCount() >= 1 ? FImage->PaletteHandle() : nullptr);
  GdiFlush();
  if (FImage->PlainMemory())
    StretchDIBits(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), 0, 0, FWidth, FHeight,
                  FPixelData, FImage->BitmapInfo(), DIB_RGB_COLORS, canvas.CopyMode());
  else
    StretchBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), FImage->DC(), 0, 0, FWidth,
               FHeight, canvas.CopyMode());
}

void TDIB::Draw(TCanvas& canvas, const TRect& rect) { RenderTo(canvas, rect); }

void TDIB::SetPalette(HPALETTE value) {
  if (!value) return;  // no entries to take
  PALETTEENTRY entries[256]{};
  GetPaletteEntries(value, 0, 256, entries);
  DeleteObject(value);
  PaletteEntriesToQuads(entries, ColorTable, 256);
  ApplyColorTable();
}

void TDIB::AssignFrom(TPersistent* source) {
  if (!source) {
    ResetToEmpty();
  } else if (auto* dib = dynamic_cast<TDIB*>(source)) {
    if (dib != this) AttachImage(dib->FImage.Get());
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    AssignBitmap(*bitmap);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    AssignGraphic(*graphic);
  } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
    if (picture->Graphic())
      AssignFrom(picture->Graphic());
    else
      ResetToEmpty();
  } else {
    TGraphic::AssignFrom(source);
  }
}

void TDIB::AssignBitmap(TBitmap& bitmap) {
  PALETTEENTRY entries[256]{};
  // A bitmap without a palette leaves the colour table as it is.
  if (GetPaletteEntries(bitmap.Palette(), 0, 256, entries) > 0) {
    PaletteEntriesToQuads(entries, ColorTable, 256);
    ApplyColorTable();
  }
  DIBSECTION section;
  const int kind = GetObject(bitmap.Handle(), sizeof section, &section);
  TPixelLayout layout;
  const int bitsPerPixel = section.dsBm.bmBitsPixel;
  if (kind == static_cast<int>(sizeof(BITMAP))) {
    layout = bitsPerPixel == 16 ? Layout555() : Layout888();
  } else if (kind == static_cast<int>(sizeof(DIBSECTION))) {
    const DWORD* masks = section.dsBitfields;
    if (bitsPerPixel != 16)
      layout = Layout888();
    else if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0)
      layout = Layout555();
    else
      layout = LayoutFromMasks(masks[0], masks[1], masks[2]);
  } else {
    return;
  }
  PixelFormat = layout;
  SetDimensions(bitmap.Width(), bitmap.Height(), bitsPerPixel);
  if (uint8_t* bits = PixelBits()) std::memset(bits, 0, FImageSize);
  DrawingCanvas().Draw(0, 0, &bitmap);
}

void TDIB::AssignGraphic(TGraphic& graphic) {
  SetDimensions(graphic.Width(), graphic.Height(), 24);
  if (uint8_t* bits = PixelBits()) std::memset(bits, 0, FImageSize);
  DrawingCanvas().Draw(0, 0, &graphic);
}
