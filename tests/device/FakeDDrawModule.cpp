// Stands in for the display services where they fail: the device entry points
// report a failure, or make a device that refuses every other interface.
#include "platform/ddraw/DDraw.h"

namespace {

class TRefusingDevice final : public IDirectDraw7 {
 public:
  HRESULT QueryInterface(REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  DWORD AddRef() override { return ++FCount; }
  DWORD Release() override {
    const DWORD left = --FCount;
    if (left == 0) delete this;
    return left;
  }
  HRESULT CreateClipper(DWORD, IDirectDrawClipper**, IUnknown*) override { return E_FAIL; }
  HRESULT CreatePalette(DWORD, const PALETTEENTRY*, IDirectDrawPalette**, IUnknown*) override {
    return E_FAIL;
  }
  HRESULT CreateSurface(DDSURFACEDESC*, IDirectDrawSurface**, IUnknown*) override { return E_FAIL; }
  HRESULT DuplicateSurface(IDirectDrawSurface*, IDirectDrawSurface**) override { return E_FAIL; }
  HRESULT EnumDisplayModes(DWORD, DDSURFACEDESC*, void*, LPDDENUMMODESCALLBACK) override {
    return E_FAIL;
  }
  HRESULT FlipToGDISurface() override { return E_FAIL; }
  HRESULT GetCaps(DDCAPS*, DDCAPS*) override { return E_FAIL; }
  HRESULT GetDisplayMode(DDSURFACEDESC*) override { return E_FAIL; }
  HRESULT RestoreDisplayMode() override { return E_FAIL; }
  HRESULT SetCooperativeLevel(HWND, DWORD) override { return E_FAIL; }
  HRESULT SetDisplayMode(DWORD, DWORD, DWORD) override { return E_FAIL; }
  HRESULT WaitForVerticalBlank(DWORD, HANDLE) override { return E_FAIL; }

 private:
  DWORD FCount = 1;
};

bool gRefuse = false;  // false: creation fails; true: the device refuses other interfaces

}  // namespace

extern "C" __attribute__((visibility("default"))) void LoupixFakeRefuseInterfaces(bool refuse) {
  gRefuse = refuse;
}

extern "C" __attribute__((visibility("default"))) HRESULT DirectDrawCreateEx(GUID*, void** object,
                                                                             REFIID, IUnknown*) {
  *object = gRefuse ? static_cast<IDirectDraw7*>(new TRefusingDevice) : nullptr;
  return gRefuse ? DD_OK : DDERR_GENERIC;
}

extern "C" __attribute__((visibility("default"))) HRESULT DirectDrawCreate(GUID*,
                                                                           IDirectDraw** object,
                                                                           IUnknown*) {
  *object = gRefuse ? new TRefusingDevice : nullptr;
  return gRefuse ? DD_OK : DDERR_GENERIC;
}
