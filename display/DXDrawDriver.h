// Presentation drivers: build the surfaces the display control presents from and
// present the back surface, by a blit onto the screen or by flipping a chain.
#pragma once

#include <cstdint>

#include "platform/ddraw/DDraw.h"

class TCustomDXDraw;

class TDXDrawDriver {
 public:
  // Creates the control's device object.
  explicit TDXDrawDriver(TCustomDXDraw& dxDraw);
  // Finalises, then frees the control's device object.
  virtual ~TDXDrawDriver();
  TDXDrawDriver(const TDXDrawDriver&) = delete;
  TDXDrawDriver& operator=(const TDXDrawDriver&) = delete;

  // Frees the surfaces, clipper and palette; safe when some were never built.
  virtual void Finalize();
  virtual void Flip() = 0;
  virtual void Initialize() = 0;
  // Rebuilds the back surface at the new size; false when the driver cannot.
  virtual bool SetSize(int32_t width, int32_t height);

  // Restores both surfaces and clears them; false when either cannot be restored.
  bool Restore();
  // This platform offers no 3D device.
  void Initialize3D();

 protected:
  // The control's primary surface; raises EDXDrawError when it cannot be made.
  void CreatePrimary(const DDSURFACEDESC& description);
  // The control's palette from its colour table.
  void CreatePalette(DWORD caps);

  TCustomDXDraw& FDXDraw;
};

// A primary surface plus an off-screen back surface copied onto the screen.
class TDXDrawDriverBlt : public TDXDrawDriver {
 public:
  using TDXDrawDriver::TDXDrawDriver;
  void Flip() override;
  void Initialize() override;
  bool SetSize(int32_t width, int32_t height) override;
  void InitializeSurface();
};

// A flipping chain of a primary surface with one back buffer.
class TDXDrawDriverFlip : public TDXDrawDriver {
 public:
  using TDXDrawDriver::TDXDrawDriver;
  void Flip() override;
  void Initialize() override;
};
