// What a surface shows: pictures loaded through device contexts, copies into a DIB,
// sharing another surface, and colour matching by drawing.
#include <limits>

#include "device/DirectDraw.h"
#include "image/DIB.h"
#include "image/SurfacePixels.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Picture.h"
#include "platform/gdi/Gdi.h"
#include "surface/DirectDrawSurface.h"
#include "surface/DirectDrawSurfaceCanvas.h"

namespace {

// Gives the surface's device context back when a drawing step ends, also by an error.
class TCanvasRelease {
 public:
  explicit TCanvasRelease(TDirectDrawSurfaceCanvas& canvas) : FCanvas(canvas) {}
  ~TCanvasRelease() { FCanvas.Release(); }
  TCanvasRelease(const TCanvasRelease&) = delete;
  TCanvasRelease& operator=(const TCanvasRelease&) = delete;

 private:
  TDirectDrawSurfaceCanvas& FCanvas;
};

// A side of a rectangle that does not fit 32 bits is no size at all.
int32_t Side(int32_t from, int32_t to) {
  const int64_t side = int64_t{to} - from;
  return side > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(side);
}

}  // namespace

void TDirectDrawSurface::LoadGraphic(TGraphic* graphic) {
  const TRect whole = graphic ? TRect{0, 0, graphic->Width(), graphic->Height()} : TRect{};
  LoadGraphicPart(graphic, 0, 0, whole);
}

void TDirectDrawSurface::LoadGraphicPart(TGraphic* graphic, int32_t width, int32_t height,
                                         const TRect& sourceRect) {
  const int32_t sourceWidth = Side(sourceRect.Left, sourceRect.Right);
  const int32_t sourceHeight = Side(sourceRect.Top, sourceRect.Bottom);
  if (width == 0) width = sourceWidth;
  if (height == 0) height = sourceHeight;
  SetSize(width, height);
  if (auto* dib = dynamic_cast<TDIB*>(graphic)) {
    LoadDIBPart(*dib, width, height, sourceRect);
    return;
  }
  TDirectDrawSurfaceCanvas& canvas = *Canvas();
  TCanvasRelease release(canvas);
  if (width == sourceWidth && height == sourceHeight) {
    // The graphic paints itself so that the source rectangle lands at (0, 0).
    canvas.Draw(-sourceRect.Left, -sourceRect.Top, graphic);
    return;
  }
  if (!graphic || graphic->Empty() || sourceWidth <= 0 || sourceHeight <= 0) return;
  TDIB part;
  part.SetDimensions(sourceWidth, sourceHeight, 24);
  part.DrawingCanvas().Draw(-sourceRect.Left, -sourceRect.Top, graphic);
  canvas.StretchDraw({0, 0, width, height}, &part);
}

bool TDirectDrawSurface::AdoptPixels(TSurfacePixels& pixels) {
  if (pixels.Empty() || pixels.Width <= 0 || pixels.Height <= 0) return false;
  DDSURFACEDESC description;
  description.dwSize = kDDSurfaceDescSize;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_LPSURFACE | DDSD_PITCH;
  description.dwHeight = static_cast<DWORD>(pixels.Height);
  description.dwWidth = static_cast<DWORD>(pixels.Width);
  description.lPitch = static_cast<LONG>(pixels.Pitch);
  description.lpSurface = pixels.Bits.Data();
  if (!CreateInEitherMemory(description)) return false;
  const DDPIXELFORMAT& format = FDescription.ddpfPixelFormat;
  if (format.dwRGBBitCount != pixels.Format.BitCount ||
      format.dwRBitMask != pixels.Format.RedMask || format.dwGBitMask != pixels.Format.GreenMask ||
      format.dwBBitMask != pixels.Format.BlueMask) {
    SetNativeSurface(nullptr);
    return false;
  }
  FClientPixels = std::move(pixels.Bits);
  return true;
}

void TDirectDrawSurface::LoadDIBPart(TDIB& dib, int32_t width, int32_t height,
                                     const TRect& sourceRect) {
  TDirectDrawSurfaceCanvas& canvas = *Canvas();
  TCanvasRelease release(canvas);
  // The surface's context first: an empty surface is the error to report.
  HDC dest = canvas.Handle();
  HDC source = dib.DrawingCanvas().Handle();
  StretchBlt(dest, 0, 0, width, height, source, sourceRect.Left, sourceRect.Top,
             Side(sourceRect.Left, sourceRect.Right), Side(sourceRect.Top, sourceRect.Bottom),
             SRCCOPY);
}

void TDirectDrawSurface::Assign(TPersistent* source) {
  if (!source) {
    SetNativeSurface(nullptr);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    LoadGraphic(graphic);
  } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
    LoadGraphic(picture->Graphic());
  } else if (auto* surface = dynamic_cast<TDirectDrawSurface*>(source)) {
    DuplicateFrom(*surface);
  } else {
    TDirectX::Assign(source);
  }
}

void TDirectDrawSurface::DuplicateFrom(const TDirectDrawSurface& source) {
  if (!source.NativeSurface()) {
    SetNativeSurface(nullptr);
    return;
  }
  if (&source == this) return;
  TComRef<IDirectDrawSurface> duplicate;
  const HRESULT result =
      FDirectDraw.RequiredDevice()->DuplicateSurface(source.NativeSurface(), duplicate.Out());
  FDirectDraw.SetLastResult(result);
  if (result == DD_OK) SetNativeSurface(duplicate.Get());
}

void TDirectDrawSurface::AssignTo(TPersistent* dest) {
  auto* dib = dynamic_cast<TDIB*>(dest);
  if (!dib) {
    TDirectX::AssignTo(dest);
    return;
  }
  dib->SetDimensions(Width(), Height(), 24);
  TDirectDrawSurfaceCanvas& canvas = *Canvas();
  TCanvasRelease release(canvas);
  dib->DrawingCanvas().CopyRect({0, 0, dib->Width(), dib->Height()}, canvas, ClientRect());
}

uint32_t TDirectDrawSurface::ColorToPixel(TColor color) {
  if (!FIDDSurface) return 0;
  const uint32_t kept = Pixel(0, 0);
  const COLORREF rgb = ColorToRGB(color);
  {
    TDIB dot;
    dot.SetDimensions(1, 1, 8);
    dot.ColorTable[0] = MakeQuad(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    dot.ApplyColorTable();
    dot.PutPixel(0, 0, 0);
    TDirectDrawSurfaceCanvas& canvas = *Canvas();
    TCanvasRelease release(canvas);
    canvas.Draw(0, 0, &dot);
  }
  const uint32_t value = Pixel(0, 0);
  SetPixel(0, 0, kept);
  return value;
}
