#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <array>

#include "platform/gdi/SystemPalette.h"

namespace gdi {

namespace {

constexpr int kStockCount = 16;

struct TStock {
  std::array<std::shared_ptr<TGdiObject>, kStockCount> Objects;
  std::shared_ptr<TGdiBitmap> Bitmap;
};

TStock BuildStock() {
  TStock stock;
  const COLORREF greys[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                             RGB(64, 64, 64), RGB(0, 0, 0)};
  for (int i = 0; i < 5; ++i) stock.Objects[i] = std::make_shared<TGdiBrush>(greys[i], false);
  stock.Objects[NULL_BRUSH] = std::make_shared<TGdiBrush>(0, true);
  stock.Objects[WHITE_PEN] = std::make_shared<TGdiPen>(PS_SOLID, 1, RGB(255, 255, 255));
  stock.Objects[BLACK_PEN] = std::make_shared<TGdiPen>(PS_SOLID, 1, RGB(0, 0, 0));
  stock.Objects[NULL_PEN] = std::make_shared<TGdiPen>(PS_NULL, 1, 0);
  std::vector<PALETTEENTRY> statics;
  for (uint32_t i = 0; i < 10; ++i) statics.push_back(SystemPaletteEntry(i));
  for (uint32_t i = 246; i < 256; ++i) statics.push_back(SystemPaletteEntry(i));
  stock.Objects[DEFAULT_PALETTE] = std::make_shared<TGdiPalette>(std::move(statics));
  for (const auto& object : stock.Objects) {
    if (object) AddObject(object, true);
  }
  stock.Bitmap = TGdiBitmap::Create(1, 1, DeviceFormat(1), false, false);
  AddObject(stock.Bitmap, true);
  return stock;
}

// Deliberately never destroyed, like the handle table.
TStock& Stock() {
  static auto* stock = new TStock(BuildStock());
  return *stock;
}

template <typename T>
std::shared_ptr<T> StockAs(int index) {
  return std::static_pointer_cast<T>(Stock().Objects[static_cast<size_t>(index)]);
}

}  // namespace

TPixelFormat BufferFormat(const TPixelView& pixels) {
  TPixelFormat format = pixels.Format;
  if (!format.ColorTable) format.ColorCount = 0;
  return WithDefaultMasks(format);
}

std::shared_ptr<TGdiObject> StockObject(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  return Stock().Objects[static_cast<size_t>(index)];
}

std::shared_ptr<TGdiBitmap> DefaultBitmap() { return Stock().Bitmap; }

TDeviceContext::TDeviceContext(TDcTarget target) : TGdiObject(kKind), FTarget(target) {
  State.Palette = StockAs<TGdiPalette>(DEFAULT_PALETTE);
  State.Pen = StockAs<TGdiPen>(BLACK_PEN);
  State.Brush = StockAs<TGdiBrush>(WHITE_BRUSH);
  if (target == TDcTarget::Memory) State.Bitmap = DefaultBitmap();
}

bool TDeviceContext::View(TPixelView& view) const {
  switch (FTarget) {
    case TDcTarget::Memory:
      view = State.Bitmap->View();
      return true;
    case TDcTarget::PixelBuffer:
      view = Buffer;
      view.Format = Format();
      return true;
    case TDcTarget::Screen:
      break;
  }
  return false;
}

TPixelFormat TDeviceContext::Format() const {
  switch (FTarget) {
    case TDcTarget::Memory:
      return State.Bitmap->Format();
    case TDcTarget::PixelBuffer:
      return BufferFormat(Buffer);  // read now: the owner may have replaced its table
    case TDcTarget::Screen:
      break;
  }
  return DesktopFormat();
}

TSize TDeviceContext::Size() const {
  switch (FTarget) {
    case TDcTarget::Memory:
      return TSize{State.Bitmap->Width(), State.Bitmap->Height()};
    case TDcTarget::PixelBuffer:
      return TSize{Buffer.Width, Buffer.Height};
    case TDcTarget::Screen:
      break;
  }
  return DesktopSize();
}

TPoint TDeviceContext::ToDevice(int x, int y) const {
  auto map = [](int64_t v, int64_t window, int64_t viewport) {
    return static_cast<int32_t>(std::clamp<int64_t>(v - window + viewport, INT32_MIN, INT32_MAX));
  };
  return TPoint{map(x, State.WindowOrg.X, State.ViewportOrg.X),
                map(y, State.WindowOrg.Y, State.ViewportOrg.Y)};
}

std::shared_ptr<TDeviceContext> FindDC(HDC dc) { return Find<TDeviceContext>(dc); }

BOOL ReplaceStatePoint(HDC dc, TPoint TDcState::*point, int x, int y, TPoint* old) {
  const auto context = FindDC(dc);
  if (!context) return FALSE_;
  if (old) *old = context->State.*point;
  context->State.*point = TPoint{x, y};
  return TRUE_;
}

}  // namespace gdi

using gdi::FindDC;
using gdi::TDcTarget;
using gdi::TDeviceContext;

HDC GetDC(HWND) {
  return static_cast<HDC>(gdi::AddObject(std::make_shared<TDeviceContext>(TDcTarget::Screen)));
}

int ReleaseDC(HWND, HDC dc) {
  const auto context = FindDC(dc);
  if (!context || context->Target() != TDcTarget::Screen) return 0;
  return gdi::RemoveObject(dc) ? 1 : 0;
}

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !FindDC(dc)) return nullptr;
  return static_cast<HDC>(gdi::AddObject(std::make_shared<TDeviceContext>(TDcTarget::Memory)));
}

HDC CreatePixelBufferDC(const gdi::TPixelView& pixels) {
  const gdi::TPixelFormat format = gdi::BufferFormat(pixels);
  const int64_t rowBytes = (int64_t{pixels.Width} * format.BitCount + 7) / 8;
  if (!pixels.Top || pixels.Width <= 0 || pixels.Height <= 0 || !gdi::IsValidFormat(format) ||
      pixels.Pitch < rowBytes) {
    return nullptr;
  }
  auto context = std::make_shared<TDeviceContext>(TDcTarget::PixelBuffer);
  context->Buffer = pixels;
  return static_cast<HDC>(gdi::AddObject(std::move(context)));
}

BOOL DeleteDC(HDC dc) { return FindDC(dc) && gdi::RemoveObject(dc) ? TRUE_ : FALSE_; }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  const auto context = FindDC(dc);
  const auto found = gdi::FindObject(object);
  if (!context || !found) return nullptr;
  gdi::TDcState& state = context->State;
  HGDIOBJ previous = nullptr;
  switch (found->Kind()) {
    case gdi::TObjectKind::Bitmap:
      if (context->Target() != TDcTarget::Memory) return nullptr;
      previous = state.Bitmap->Handle();
      state.Bitmap = std::static_pointer_cast<gdi::TGdiBitmap>(found);
      return previous;
    case gdi::TObjectKind::Pen:
      previous = state.Pen->Handle();
      state.Pen = std::static_pointer_cast<gdi::TGdiPen>(found);
      return previous;
    case gdi::TObjectKind::Brush:
      previous = state.Brush->Handle();
      state.Brush = std::static_pointer_cast<gdi::TGdiBrush>(found);
      return previous;
    case gdi::TObjectKind::Palette:  // palettes go through SelectPalette
    case gdi::TObjectKind::DeviceContext:
      break;
  }
  return nullptr;
}

int GetDeviceCaps(HDC dc, int index) {
  const auto context = FindDC(dc);
  if (!context) return 0;
  const int bits = static_cast<int>(context->Format().BitCount);
  const bool palettised = bits == 8;
  switch (index) {
    case BITSPIXEL:
      return bits;
    case PLANES:
      return 1;
    case HORZRES:
      return context->Size().cx;
    case VERTRES:
      return context->Size().cy;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB | RC_DI_BITMAP | RC_DIBTODEV |
             (palettised ? RC_PALETTE : 0);
    case SIZEPALETTE:
      return palettised ? 256 : 0;
    case NUMRESERVED:
      return palettised ? static_cast<int>(gdi::kStaticColorCount) : 0;
    default:
      return 0;
  }
}

int SaveDC(HDC dc) {
  const auto context = FindDC(dc);
  if (!context) return 0;
  context->Saved.push_back(context->State);
  return static_cast<int>(context->Saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
  const auto context = FindDC(dc);
  if (!context) return FALSE_;
  const int depth = static_cast<int>(context->Saved.size());
  const int level = saved < 0 ? depth + 1 + saved : saved;
  if (saved == 0 || level < 1 || level > depth) return FALSE_;
  context->State = context->Saved[static_cast<size_t>(level - 1)];
  context->Saved.resize(static_cast<size_t>(level - 1));
  return TRUE_;
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) {
  return gdi::ReplaceStatePoint(dc, &gdi::TDcState::WindowOrg, x, y, old);
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
  return gdi::ReplaceStatePoint(dc, &gdi::TDcState::ViewportOrg, x, y, old);
}

int SetStretchBltMode(HDC dc, int mode) {
  const auto context = FindDC(dc);
  if (!context || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int previous = context->State.StretchMode;
  context->State.StretchMode = mode;
  return previous;
}

int GetStretchBltMode(HDC dc) {
  const auto context = FindDC(dc);
  return context ? context->State.StretchMode : 0;
}
