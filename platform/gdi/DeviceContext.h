// A device context: a target (the screen, the bitmap selected into a memory
// context, or someone else's pixels) plus a small drawing state that SaveDC and
// RestoreDC copy. The state holds its objects, so they outlive their handles
// while selected.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/GdiObjects.h"

namespace gdi {

struct TDcState {
  std::shared_ptr<TGdiBitmap> Bitmap;
  std::shared_ptr<TGdiPalette> Palette;
  std::shared_ptr<TGdiPen> Pen;
  std::shared_ptr<TGdiBrush> Brush;
  int StretchMode = BLACKONWHITE;
  TPoint Position;
  TPoint WindowOrg;
  TPoint ViewportOrg;
};

enum class TDcTarget { Screen, Memory, PixelBuffer };

class TDeviceContext : public TGdiObject {
 public:
  static constexpr TObjectKind kKind = TObjectKind::DeviceContext;
  explicit TDeviceContext(TDcTarget target);

  TDcTarget Target() const { return FTarget; }
  // The pixels drawn into now; false when the context draws nowhere (the screen).
  bool View(TPixelView& view) const;
  TPixelFormat Format() const;
  TSize Size() const;
  TPoint ToDevice(int x, int y) const;

  TDcState State;
  std::vector<TDcState> Saved;
  TPixelView Buffer;

 private:
  TDcTarget FTarget;
};

std::shared_ptr<TDeviceContext> FindDC(HDC dc);
// Sets one point of a context's state (position, origins), reporting the old one.
BOOL ReplaceStatePoint(HDC dc, TPoint TDcState::*point, int x, int y, TPoint* old);
// The pixel format of someone else's pixels, default masks filled in.
TPixelFormat BufferFormat(const TPixelView& pixels);
// Stock objects by GetStockObject index (DEFAULT_PALETTE included); null otherwise.
std::shared_ptr<TGdiObject> StockObject(int index);
// The 1 x 1 monochrome bitmap every memory context starts with.
std::shared_ptr<TGdiBitmap> DefaultBitmap();

}  // namespace gdi
