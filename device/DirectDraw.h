// The device object: one display-services device with the palettes, clippers and
// surfaces made on it.
#pragma once

#include <vector>

#include "device/DXClass.h"
#include "platform/ddraw/DDraw.h"
#include "platform/gdi/ComRef.h"

// Objects made on a device register themselves here on construction and leave on
// destruction; the device frees those still listed when it goes.
class TDirectXList {
 public:
  TDirectXList() = default;
  TDirectXList(const TDirectXList&) = delete;
  TDirectXList& operator=(const TDirectXList&) = delete;

  void Add(TDirectX* item) { FItems.push_back(item); }
  void Remove(TDirectX* item);
  int Count() const { return static_cast<int>(FItems.size()); }
  TDirectX* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  // Frees the listed objects, last first, until the list is empty.
  void DestroyAll();

 private:
  std::vector<TDirectX*> FItems;
};

class TDirectDraw : public TDirectX {
 public:
  LOUPIX_CLASS(TDirectDraw, TDirectX)

  // Opens the driver `driverGuid` (none: the active display driver) through the
  // DirectX 7 interfaces.
  explicit TDirectDraw(const GUID* driverGuid);
  // CreateWithMode: through the DirectX 7 interfaces only when `directX7Mode`.
  TDirectDraw(const GUID* driverGuid, bool directX7Mode);
  ~TDirectDraw() override;
  TDirectDraw(const TDirectDraw&) = delete;
  TDirectDraw& operator=(const TDirectDraw&) = delete;

  IDirectDraw* NativeDevice() const { return FNativeDevice.Get(); }
  IDirectDraw4* NativeDevice4() const { return FNativeDevice4.Get(); }
  IDirectDraw7* NativeDevice7() const { return FNativeDevice7.Get(); }
  // The same, safe on a missing device object (none then).
  static IDirectDraw* NativeDeviceOf(const TDirectDraw* device) {
    return device ? device->NativeDevice() : nullptr;
  }
  static IDirectDraw7* NativeDevice7Of(const TDirectDraw* device) {
    return device ? device->NativeDevice7() : nullptr;
  }
  // As above, raising EDirectDrawError "%s not made" when missing.
  IDirectDraw* RequiredDevice() const;
  IDirectDraw7* RequiredDevice7() const;

  const DDCAPS& HardwareCaps() const { return FHardwareCaps; }
  const DDCAPS& EmulationCaps() const { return FEmulationCaps; }

  TDirectXList& Clippers() { return FClippers; }
  TDirectXList& Palettes() { return FPalettes; }
  TDirectXList& Surfaces() { return FSurfaces; }

 private:
  void CreateDirectX7(GUID* guid);
  void CreateDirectX6(GUID* guid);

  TComRef<IDirectDraw> FNativeDevice;
  TComRef<IDirectDraw4> FNativeDevice4;
  TComRef<IDirectDraw7> FNativeDevice7;
  DDCAPS FHardwareCaps;
  DDCAPS FEmulationCaps;
  TDirectXList FClippers;
  TDirectXList FPalettes;
  TDirectXList FSurfaces;
};

// Calls DirectDrawEnumerateA: `callback` runs once per display driver (GUID none
// for the primary display driver) and returns non-zero to go on.
HRESULT EnumerateDrivers(LPDDENUMCALLBACKA callback, void* context);
