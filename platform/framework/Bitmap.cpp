#include "platform/framework/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/BitmapFile.h"
#include "platform/framework/BitmapImage.h"
#include "platform/framework/Exception.h"
#include "platform/gdi/Gdi.h"

// The canvas of a bitmap: a memory device context with the bitmap's pixels
// selected. Drawing unshares the pixels first and reports a change of the bitmap.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    if (!HandleAllocated()) return;
    HDC dc = Handle();
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    if (FOldPalette) SelectPalette(dc, FOldPalette, TRUE_);
    FOldBitmap = nullptr;
    FOldPalette = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    TBitmapImage& image = FBitmap.ImageWithHandle(false);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    if (image.Handle) FOldBitmap = SelectObject(dc, image.Handle);
    if (image.Palette) {
      FOldPalette = SelectPalette(dc, image.Palette, TRUE_);
      RealizePalette(dc);
    }
    SetHandle(dc);
  }
  void Changing() override {
    FBitmap.FreeImage();
    TCanvas::Changing();
  }
  void Changed() override {
    TCanvas::Changed();
    FBitmap.Changed(&FBitmap);
  }

 private:
  TBitmap& FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
  HPALETTE FOldPalette = nullptr;
};

TBitmap::TBitmap() : FImage(ShareRef(new TBitmapImage)) {}

TBitmap::~TBitmap() { FCanvas.reset(); }

void TBitmap::AttachImage(TBitmapImage* image) {
  if (image == FImage.Get()) return;
  if (FCanvas) FCanvas->FreeContext();
  FImage.Share(image);
}

TBitmapImage& TBitmap::ImageWithHandle(bool forWriting) {
  if (forWriting) FreeImage();
  FImage->HandleNeeded();
  return *FImage;
}

void TBitmap::FreeImage() {
  if (FImage->RefCount() > 1) AttachImage(FImage->Copy());
}

void TBitmap::AssignFrom(TPersistent* source) {
  if (!source) {
    AttachImage(new TBitmapImage);
    Changed(this);
    return;
  }
  auto* bitmap = dynamic_cast<TBitmap*>(source);
  if (!bitmap) {
    TGraphic::AssignFrom(source);
    return;
  }
  if (bitmap == this) return;
  AttachImage(bitmap->FImage.Get());
  FTransparent = bitmap->FTransparent;
  FTransparentColor = bitmap->FTransparentColor;
  FTransparentMode = bitmap->FTransparentMode;
  SetPaletteModified(FImage->Palette != nullptr);
  Changed(this);
}

bool TBitmap::Empty() const { return FImage->Empty(); }
int32_t TBitmap::Width() const { return FImage->Width; }
int32_t TBitmap::Height() const { return FImage->Height; }
void TBitmap::SetWidth(int32_t value) { SetSize(value, Height()); }
void TBitmap::SetHeight(int32_t value) { SetSize(Width(), value); }

void TBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height()) return;
  // Checked at the widest depth before anything is made, so a lazy size can
  // never turn into an impossible allocation later.
  if (width > 0 && height > 0 && GraphicPixelBytes(width, height, 32) == UINT64_MAX)
    throw EOutOfResources(FrameworkText::kOutOfResources);
  AttachImage(FImage->Reshaped(width, height, FImage->Layout));
  Changed(this);
}

HPALETTE TBitmap::Palette() { return FImage->Palette; }

void TBitmap::SetPalette(HPALETTE value) {
  if (value == FImage->Palette) return;
  FreeImage();
  HPALETTE old = FImage->Palette;
  FImage->Palette = value;
  if (FCanvas) FCanvas->FreeContext();
  if (old) DeleteObject(old);
  FImage->ApplyPaletteToSection();
  SetPaletteModified(true);
  Changed(this);
}

HBITMAP TBitmap::Handle() { return ImageWithHandle(false).Handle; }

void TBitmap::SetHandle(HBITMAP value) {
  AttachImage(ImageOfHandle(value));
  Changed(this);
}

bool TBitmap::HandleAllocated() const { return FImage->Handle != nullptr; }

TBitmapHandleType TBitmap::HandleType() const { return FImage->Layout.DDB ? bmDDB : bmDIB; }

void TBitmap::SetHandleType(TBitmapHandleType value) {
  if (value == HandleType()) return;
  TBitmapLayout layout = FImage->Layout;
  layout.DDB = value == bmDDB;
  if (!layout.DDB) layout.BitCount = 0;  // a section of the desktop's depth
  AttachImage(FImage->Reshaped(Width(), Height(), layout));
  Changed(this);
}

TPixelFormat TBitmap::PixelFormat() const { return FImage->Layout.Format(); }

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == PixelFormat() || value == pfCustom) return;
  AttachImage(FImage->Reshaped(Width(), Height(), TBitmapLayout::ForFormat(value)));
  Changed(this);
}

void* TBitmap::ScanLine(int32_t row) {
  if (FImage->Layout.DDB) SetHandleType(bmDIB);
  TBitmapImage& image = ImageWithHandle(true);
  if (row < 0 || row >= image.Height || !image.Bits)
    throw EInvalidGraphicOperation(FrameworkText::kScanLine);
  GdiFlush();
  return image.Bits + (int64_t{image.Height} - 1 - row) * image.RowBytes;
}

gdi::TPixelView TBitmap::PixelView() {
  auto* top = static_cast<uint8_t*>(ScanLine(0));
  const TBitmapLayout& layout = FImage->Layout;
  gdi::TPixelFormat format{static_cast<uint32_t>(layout.BitCount), layout.Masks[0], layout.Masks[1],
                           layout.Masks[2]};
  return {top, -static_cast<ptrdiff_t>(FImage->RowBytes), FImage->Width, FImage->Height, format};
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
  return *FCanvas;
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return Canvas().Pixels(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  SetTransparentColor(value == tmAuto ? clDefault : TransparentColor());
}

void TBitmap::ReadBitmap(TStream& stream, bool withFileHeader) {
  std::unique_ptr<TBitmapImage> image = ReadBitmapImage(stream, withFileHeader);
  AttachImage(image ? image.release() : new TBitmapImage);
  SetPaletteModified(FImage->Palette != nullptr);
  Changed(this);
}

void TBitmap::WriteBitmap(TStream& stream, bool withFileHeader) {
  WriteBitmapImage(*FImage, stream, withFileHeader);
}

void TBitmap::ReadFromStream(TStream& stream) { ReadBitmap(stream, true); }
void TBitmap::WriteToStream(TStream& stream) { WriteBitmap(stream, true); }

void TBitmap::LoadClipboardData(UINT format, HANDLE data, HPALETTE) {
  auto* block = static_cast<HGLOBAL>(data);
  void* memory = format == CF_DIB ? GlobalLock(block) : nullptr;
  if (!memory) throw EInvalidGraphic(FrameworkText::kUnknownClipboardFormat);
  try {
    TCustomMemoryStream stream(memory, static_cast<int64_t>(GlobalSize(block)));
    ReadBitmap(stream, false);
  } catch (...) {
    GlobalUnlock(block);
    throw;
  }
  GlobalUnlock(block);
}

void TBitmap::SaveClipboardData(UINT& format, HANDLE& data, HPALETTE& palette) {
  TMemoryStream packed;
  WriteBitmap(packed, false);
  HGLOBAL block = GlobalAlloc(GHND, static_cast<size_t>(packed.Size()));
  void* memory = block ? GlobalLock(block) : nullptr;
  if (!memory) {
    if (block) GlobalFree(block);
    throw EOutOfMemory(FrameworkText::kOutOfMemory);
  }
  if (packed.Size() > 0) std::memcpy(memory, packed.Memory(), static_cast<size_t>(packed.Size()));
  GlobalUnlock(block);
  format = CF_DIB;
  data = block;
  palette = nullptr;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  if (Empty()) return;
  TBitmapImage& image = ImageWithHandle(false);
  HDC dest = canvas.Handle();
  GdiFlush();
  TMemoryDC source(image.Handle);
  HPALETTE oldPalette = image.Palette ? SelectPalette(dest, image.Palette, TRUE_) : nullptr;
  if (image.Palette) RealizePalette(dest);
  const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
  StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source.Handle(), 0, 0,
             image.Width, image.Height, canvas.CopyMode());
  if (oldMode) SetStretchBltMode(dest, oldMode);
  if (oldPalette) SelectPalette(dest, oldPalette, TRUE_);
}

void TBitmap::ReadData(TStream& stream) {
  uint32_t size = 0;
  stream.ReadBuffer(&size, sizeof size);
  if (size > stream.Remaining()) throw EReadError(FrameworkText::kReadError);
  TMemoryStream data;
  data.SetSize(size);
  stream.ReadBuffer(data.Memory(), size);
  ReadBitmap(data, true);
}

void TBitmap::WriteData(TStream& stream) {
  TMemoryStream data;
  WriteBitmap(data, true);
  const auto size = static_cast<uint32_t>(data.Size());
  stream.WriteBuffer(&size, sizeof size);
  data.SaveToStream(stream);
}
