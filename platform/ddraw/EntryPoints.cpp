// The module's exported entry points; everything else stays hidden inside it.
#include <new>
#include <type_traits>

#include "platform/ddraw/DDDevice.h"
#include "platform/ddraw/DisplayServices.h"

#define LOUPIX_DDRAW_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Only the primary display exists; no driver is named by a GUID.
HRESULT CreateDevice(GUID* guid, IDirectDraw7** device, IUnknown* outer) {
  if (!device) return DDERR_INVALIDPARAMS;
  *device = nullptr;
  if (guid) return DDERR_INVALIDPARAMS;
  if (outer) return DDERR_NOAGGREGATION;
  *device = new (std::nothrow) ddraw::TDDDevice();
  return *device ? DD_OK : DDERR_OUTOFMEMORY;
}

}  // namespace

LOUPIX_DDRAW_EXPORT HRESULT DirectDrawCreateEx(GUID* guid, void** object, REFIID iid,
                                               IUnknown* outer) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid != IID_IDirectDraw7) return DDERR_INVALIDPARAMS;
  IDirectDraw7* device = nullptr;
  const HRESULT result = CreateDevice(guid, &device, outer);
  *object = device;
  return result;
}

LOUPIX_DDRAW_EXPORT HRESULT DirectDrawCreate(GUID* guid, IDirectDraw** object, IUnknown* outer) {
  if (!object) return DDERR_INVALIDPARAMS;
  IDirectDraw7* device = nullptr;
  const HRESULT result = CreateDevice(guid, &device, outer);
  *object = device;
  return result;
}

LOUPIX_DDRAW_EXPORT HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, void* context) {
  if (!callback) return DDERR_INVALIDPARAMS;
  static char description[] = "Primary Display Driver";
  static char name[] = "display";
  callback(nullptr, description, name, context);
  return DD_OK;
}

LOUPIX_DDRAW_EXPORT IDDrawTesting* LoupixDDrawTesting() { return &ddraw::Services(); }

// The entry points keep the types the callers cast them to.
static_assert(std::is_same_v<decltype(&DirectDrawCreateEx), DirectDrawCreateExFn>);
static_assert(std::is_same_v<decltype(&DirectDrawCreate), DirectDrawCreateFn>);
static_assert(std::is_same_v<decltype(&DirectDrawEnumerateA), DirectDrawEnumerateAFn>);
static_assert(std::is_same_v<decltype(&LoupixDDrawTesting), LoupixDDrawTestingFn>);
