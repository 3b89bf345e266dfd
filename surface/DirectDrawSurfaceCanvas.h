// A canvas drawing into a surface through a device context borrowed from the native
// surface; Release gives it back, so no context is held while copies run.
#pragma once

#include "platform/framework/Canvas.h"

class TDirectDrawSurface;

class TDirectDrawSurfaceCanvas : public TCanvas {
 public:
  LOUPIX_CLASS(TDirectDrawSurfaceCanvas, TCanvas)

  explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface) : FSurface(surface) {}
  ~TDirectDrawSurfaceCanvas() override;

  // Gives the device context back to the surface, if one is held.
  void Release();
  HDC DeviceContext() const { return FDC; }

 protected:
  // Borrows the native surface's device context; raises EDirectDrawSurfaceError
  // "%s not made" when the surface is empty. A refused context leaves no handle.
  void CreateHandle() override;

 private:
  TDirectDrawSurface& FSurface;
  HDC FDC = nullptr;
};
