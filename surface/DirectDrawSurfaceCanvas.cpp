#include "surface/DirectDrawSurfaceCanvas.h"

#include "surface/DirectDrawSurface.h"

TDirectDrawSurfaceCanvas::~TDirectDrawSurfaceCanvas() { Release(); }

void TDirectDrawSurfaceCanvas::CreateHandle() {
  IDirectDrawSurface* native = FSurface.RequiredSurface();
  HDC dc = nullptr;
  FSurface.SetLastResult(native->GetDC(&dc));
  if (FSurface.LastResult() != DD_OK) return;
  FDC = dc;
  SetHandle(dc);
}

void TDirectDrawSurfaceCanvas::Release() {
  IDirectDrawSurface* native = FSurface.NativeSurface();
  if (!native || !FDC) return;
  SetHandle(nullptr);
  native->ReleaseDC(FDC);
  FDC = nullptr;
}
