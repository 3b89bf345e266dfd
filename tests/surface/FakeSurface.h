// A native surface that records the copies asked of it, so tests can see which native
// calls a surface object makes and with what rectangles and flags.
#pragma once

#include <optional>
#include <vector>

#include "platform/ddraw/DDraw.h"

struct TRecordedCall {
  enum Kind { kBlt, kBltFast, kSetClipper, kSetColorKey, kRestore } kind;
  std::optional<TRect> dest;
  std::optional<TRect> source;
  DWORD flags = 0;
  DWORD ddfx = 0;
  DWORD x = 0, y = 0;
  const void* sourceSurface = nullptr;
  const void* clipper = nullptr;
};

class TFakeClipper : public IDirectDrawClipper {
 public:
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  DWORD AddRef() override { return ++FRefs; }
  DWORD Release() override { return --FRefs; }
  HRESULT GetClipList(const TRect*, RGNDATA*, DWORD*) override { return DDERR_UNSUPPORTED; }
  HRESULT GetHWnd(HWND*) override { return DDERR_UNSUPPORTED; }
  HRESULT SetClipList(const RGNDATA*, DWORD) override { return DD_OK; }
  HRESULT SetHWnd(DWORD, HWND) override { return DD_OK; }
  DWORD FRefs = 1;
};

class TFakeSurface : public IDirectDrawSurface7 {
 public:
  TFakeSurface(DWORD width, DWORD height) : FWidth(width), FHeight(height) {}
  // Gives the surface lockable memory of `bitCount` bits per pixel, rows of `pitch` bytes.
  void GivePixels(DWORD bitCount, LONG pitch) {
    FBitCount = bitCount;
    FPitch = pitch;
    FPixels.assign(static_cast<size_t>(pitch) * FHeight, 0);
  }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    const bool known = iid == IID_IDirectDrawSurface || iid == IID_IDirectDrawSurface4 ||
                       (iid == IID_IDirectDrawSurface7 && FAnswers7);
    *object = known ? static_cast<IDirectDrawSurface7*>(this) : nullptr;
    if (!known) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  DWORD AddRef() override { return ++FRefs; }
  DWORD Release() override { return --FRefs; }

  HRESULT Blt(const TRect* dest, IDirectDrawSurface* source, const TRect* sourceRect, DWORD flags,
              const DDBLTFX* effects) override {
    Record({TRecordedCall::kBlt, Opt(dest), Opt(sourceRect), flags, effects ? effects->dwDDFX : 0,
            0, 0, source, nullptr});
    return FBltResult;
  }
  HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const TRect* sourceRect,
                  DWORD flags) override {
    Record({TRecordedCall::kBltFast, {}, Opt(sourceRect), flags, 0, x, y, source, nullptr});
    return FAttachedClipper ? DDERR_BLTFASTCANTCLIP : DD_OK;
  }
  HRESULT Flip(IDirectDrawSurface*, DWORD) override { return DDERR_UNSUPPORTED; }
  HRESULT GetAttachedSurface(const DDSCAPS*, IDirectDrawSurface**) override {
    return DDERR_NOTFOUND;
  }
  HRESULT DeleteAttachedSurface(DWORD, IDirectDrawSurface*) override { return DDERR_UNSUPPORTED; }
  HRESULT GetClipper(IDirectDrawClipper** clipper) override {
    *clipper = FAttachedClipper;
    if (!FAttachedClipper) return DDERR_NOCLIPPERATTACHED;
    FAttachedClipper->AddRef();
    return DD_OK;
  }
  HRESULT SetClipper(IDirectDrawClipper* clipper) override {
    Record({TRecordedCall::kSetClipper, {}, {}, 0, 0, 0, 0, nullptr, clipper});
    return DD_OK;
  }
  HRESULT GetColorKey(DWORD, DDCOLORKEY*) override { return DDERR_NOCOLORKEY; }
  HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) override {
    Record({TRecordedCall::kSetColorKey,
            {},
            {},
            flags,
            0,
            key->dwColorSpaceLowValue,
            key->dwColorSpaceHighValue,
            nullptr,
            nullptr});
    return DD_OK;
  }
  HRESULT GetDC(HDC*) override { return DDERR_CANTCREATEDC; }
  HRESULT ReleaseDC(HDC) override { return DDERR_UNSUPPORTED; }
  HRESULT GetPalette(IDirectDrawPalette**) override { return DDERR_NOPALETTEATTACHED; }
  HRESULT SetPalette(IDirectDrawPalette*) override { return DD_OK; }
  HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override {
    desc->dwWidth = FWidth;
    desc->dwHeight = FHeight;
    desc->ddpfPixelFormat.dwRGBBitCount = FBitCount;
    return DD_OK;
  }
  HRESULT IsLost() override { return DD_OK; }
  HRESULT Lock(const TRect* rect, DDSURFACEDESC* desc, DWORD, HANDLE) override {
    FLockRect = Opt(rect);
    if (FPixels.empty()) return DDERR_SURFACEBUSY;
    ++FLocks;
    desc->dwWidth = FWidth;
    desc->dwHeight = FHeight;
    desc->lPitch = FPitch;
    desc->lpSurface = FPixels.data();
    desc->ddpfPixelFormat.dwRGBBitCount = FBitCount;
    return DD_OK;
  }
  HRESULT Unlock(void*) override {
    --FLocks;
    return DD_OK;
  }
  HRESULT Restore() override {
    Record({TRecordedCall::kRestore, {}, {}, 0, 0, 0, 0, nullptr, nullptr});
    return DD_OK;
  }

  std::vector<TRecordedCall> FCalls;
  IDirectDrawClipper* FAttachedClipper = nullptr;  // reported by GetClipper
  HRESULT FBltResult = DD_OK;
  bool FAnswers7 = true;
  DWORD FRefs = 1;
  std::vector<uint8_t> FPixels;
  LONG FPitch = 0;
  DWORD FBitCount = 16;
  int FLocks = 0;                  // locks outstanding
  std::optional<TRect> FLockRect;  // as the last Lock was given it

 private:
  static std::optional<TRect> Opt(const TRect* r) {
    return r ? std::optional<TRect>(*r) : std::nullopt;
  }
  void Record(TRecordedCall call) { FCalls.push_back(call); }

  DWORD FWidth, FHeight;
};
