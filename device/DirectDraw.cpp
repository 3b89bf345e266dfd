#include "device/DirectDraw.h"

#include <algorithm>

#include "device/DXErrors.h"

void TDirectXList::Remove(TDirectX* item) {
  auto found = std::find(FItems.begin(), FItems.end(), item);
  if (found != FItems.end()) FItems.erase(found);
}

void TDirectXList::DestroyAll() {
  while (!FItems.empty()) {
    TDirectX* last = FItems.back();
    delete last;
    // An object that did not take itself off must not be freed twice.
    if (!FItems.empty() && FItems.back() == last) FItems.pop_back();
  }
}

TDirectDraw::TDirectDraw(const GUID* driverGuid) : TDirectDraw(driverGuid, true) {}

TDirectDraw::TDirectDraw(const GUID* driverGuid, bool directX7Mode) {
  GUID guidCopy;
  GUID* guid = nullptr;
  if (driverGuid) {
    guidCopy = *driverGuid;
    guid = &guidCopy;
  }
  if (directX7Mode)
    CreateDirectX7(guid);
  else
    CreateDirectX6(guid);
  FHardwareCaps.dwSize = kDDCapsSize;
  FEmulationCaps.dwSize = kDDCapsSize;
  FNativeDevice->GetCaps(&FHardwareCaps, &FEmulationCaps);
}

void TDirectDraw::CreateDirectX7(GUID* guid) {
  auto create =
      reinterpret_cast<DirectDrawCreateExFn>(LoadEntryPoint(kDDrawLibrary, "DirectDrawCreateEx"));
  void* object = nullptr;
  SetLastResult(create(guid, &object, IID_IDirectDraw7, nullptr));
  if (LastResult() != DD_OK || !object)
    throw EDirectDrawError(DXText::kCannotInitialize, "DirectDraw");
  FNativeDevice7.Reset(static_cast<IDirectDraw7*>(object));
  if (QueryInto(FNativeDevice7.Get(), IID_IDirectDraw, FNativeDevice) != S_OK ||
      QueryInto(FNativeDevice7.Get(), IID_IDirectDraw4, FNativeDevice4) != S_OK)
    throw EDirectDrawError(DXText::kNeedDirectX7);
}

void TDirectDraw::CreateDirectX6(GUID* guid) {
  auto create =
      reinterpret_cast<DirectDrawCreateFn>(LoadEntryPoint(kDDrawLibrary, "DirectDrawCreate"));
  IDirectDraw* device = nullptr;
  SetLastResult(create(guid, &device, nullptr));
  if (LastResult() != DD_OK || !device)
    throw EDirectDrawError(DXText::kCannotInitialize, "DirectDraw");
  FNativeDevice.Reset(device);
  if (QueryInto(FNativeDevice.Get(), IID_IDirectDraw4, FNativeDevice4) != S_OK)
    throw EDirectDrawError(DXText::kNeedDirectX6);
}

TDirectDraw::~TDirectDraw() {
  FSurfaces.DestroyAll();
  FPalettes.DestroyAll();
  FClippers.DestroyAll();
  FNativeDevice.Reset();
  FNativeDevice4.Reset();
  FNativeDevice7.Reset();
}

IDirectDraw* TDirectDraw::RequiredDevice() const {
  if (!FNativeDevice) throw EDirectDrawError(DXText::kNotMade, "IDirectDraw");
  return FNativeDevice.Get();
}

IDirectDraw7* TDirectDraw::RequiredDevice7() const {
  if (!FNativeDevice7) throw EDirectDrawError(DXText::kNotMade, "IDirectDraw7");
  return FNativeDevice7.Get();
}

HRESULT EnumerateDrivers(LPDDENUMCALLBACKA callback, void* context) {
  auto enumerate = reinterpret_cast<DirectDrawEnumerateAFn>(
      LoadEntryPoint(kDDrawLibrary, "DirectDrawEnumerateA"));
  return enumerate(callback, context);
}
