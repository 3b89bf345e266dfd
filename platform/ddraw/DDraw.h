// The display services as the display layer sees them: interfaces, records, flags
// and result codes. The services live in a module loaded at run time ("DDraw.dll");
// only this header is shared with the callers.
#pragma once

#include "platform/gdi/WinTypes.h"

// --- Result codes ---------------------------------------------------------------
constexpr HRESULT MakeDDHResult(uint32_t code) { return static_cast<HRESULT>(0x88760000u | code); }
constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_INVALIDOBJECT = MakeDDHResult(130);
constexpr HRESULT DDERR_INVALIDRECT = MakeDDHResult(150);
constexpr HRESULT DDERR_NOCLIPLIST = MakeDDHResult(205);
constexpr HRESULT DDERR_NOCOLORKEY = MakeDDHResult(215);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDDHResult(225);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDDHResult(380);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDDHResult(430);
constexpr HRESULT DDERR_SURFACELOST = MakeDDHResult(450);
constexpr HRESULT DDERR_SURFACENOTATTACHED = MakeDDHResult(460);
constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = MakeDDHResult(590);
constexpr HRESULT DDERR_NOTFOUND = MakeDDHResult(255);
constexpr HRESULT DDERR_NOTLOCKED = MakeDDHResult(584);
constexpr HRESULT DDERR_NOCLIPPERATTACHED = MakeDDHResult(568);
constexpr HRESULT DDERR_NOPALETTEATTACHED = MakeDDHResult(572);
constexpr HRESULT DDERR_CANTCREATEDC = MakeDDHResult(581);
constexpr HRESULT DDERR_DCALREADYCREATED = MakeDDHResult(620);
constexpr HRESULT DDERR_BLTFASTCANTCLIP = MakeDDHResult(574);  // 0x8876023E
static_assert(DDERR_BLTFASTCANTCLIP == static_cast<HRESULT>(0x8876023Eu));
constexpr HRESULT DDERR_INVALIDCAPS = MakeDDHResult(100);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDHResult(145);
constexpr HRESULT DDERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DDERR_REGIONTOOSMALL = MakeDDHResult(580);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDDHResult(582);
constexpr HRESULT DDERR_CANTDUPLICATE = MakeDDHResult(583);

// --- Records --------------------------------------------------------------------
struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue = 0;
  DWORD dwColorSpaceHighValue = 0;
};

struct DDPIXELFORMAT {
  DWORD dwSize = 32;
  DWORD dwFlags = 0;
  DWORD dwFourCC = 0;
  DWORD dwRGBBitCount = 0;
  DWORD dwRBitMask = 0;
  DWORD dwGBitMask = 0;
  DWORD dwBBitMask = 0;
  DWORD dwRGBAlphaBitMask = 0;
};
static_assert(sizeof(DDPIXELFORMAT) == 32);

struct DDSCAPS {
  DWORD dwCaps = 0;
};

// The system fills dwSize with 108, the record's size on its original platform;
// the services accept that value (the record is larger here only because
// lpSurface is a 64-bit pointer).
constexpr DWORD kDDSurfaceDescSize = 108;
struct DDSURFACEDESC {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwHeight = 0;
  DWORD dwWidth = 0;
  LONG lPitch = 0;
  DWORD dwBackBufferCount = 0;
  DWORD dwRefreshRate = 0;
  DWORD dwAlphaBitDepth = 0;
  DWORD dwReserved = 0;
  void* lpSurface = nullptr;
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS ddsCaps;
};

constexpr DWORD kDDCapsSize = 380;
struct DDCAPS {
  DWORD dwSize = 0;
  DWORD dwCaps = 0;
  DWORD dwCaps2 = 0;
  DWORD dwCKeyCaps = 0;
  DWORD dwFXCaps = 0;
  DWORD dwFXAlphaCaps = 0;
  DWORD dwPalCaps = 0;
  DWORD dwSVCaps = 0;
  DWORD dwVidMemTotal = 0;
  DWORD dwVidMemFree = 0;
  DWORD ddsCaps = 0;  // surface caps the driver supports (DDSCAPS_*)
  DWORD dwReserved[84]{};
};
static_assert(sizeof(DDCAPS) == kDDCapsSize);

constexpr DWORD kDDBltFxSize = 100;
struct DDBLTFX {
  DWORD dwSize = 0;
  DWORD dwDDFX = 0;
  DWORD dwROP = 0;
  DWORD dwDDROP = 0;
  DWORD dwRotationAngle = 0;
  DWORD dwZBufferOpCode = 0;
  DWORD dwZBufferLow = 0;
  DWORD dwZBufferHigh = 0;
  DWORD dwZBufferBaseDest = 0;
  DWORD dwZDestConstBitDepth = 0;
  DWORD dwZDestConst = 0;
  DWORD dwZSrcConstBitDepth = 0;
  DWORD dwZSrcConst = 0;
  DWORD dwAlphaEdgeBlendBitDepth = 0;
  DWORD dwAlphaEdgeBlend = 0;
  DWORD dwReserved = 0;
  DWORD dwAlphaDestConstBitDepth = 0;
  DWORD dwAlphaDestConst = 0;
  DWORD dwAlphaSrcConstBitDepth = 0;
  DWORD dwAlphaSrcConst = 0;
  DWORD dwFillColor = 0;
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
};
static_assert(sizeof(DDBLTFX) == kDDBltFxSize);

struct RGNDATAHEADER {
  DWORD dwSize = 32;
  DWORD iType = 1;  // RDH_RECTANGLES
  DWORD nCount = 0;
  DWORD nRgnSize = 0;
  TRect rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);
constexpr DWORD RDH_RECTANGLES = 1;
struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];  // nCount TRects follow the header
};

struct DDGAMMARAMP {
  WORD red[256];
  WORD green[256];
  WORD blue[256];
};

// --- Flags ----------------------------------------------------------------------
// Surface description fields
constexpr DWORD DDSD_CAPS = 0x1;
constexpr DWORD DDSD_HEIGHT = 0x2;
constexpr DWORD DDSD_WIDTH = 0x4;
constexpr DWORD DDSD_PITCH = 0x8;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x20;
constexpr DWORD DDSD_CKSRCBLT = 0x10000;
constexpr DWORD DDSD_PIXELFORMAT = 0x1000;
constexpr DWORD DDSD_LPSURFACE = 0x800;
constexpr DWORD DDSD_REFRESHRATE = 0x40000;

// Surface caps
constexpr DWORD DDSCAPS_BACKBUFFER = 0x4;
constexpr DWORD DDSCAPS_COMPLEX = 0x8;
constexpr DWORD DDSCAPS_FLIP = 0x10;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x20;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_PALETTE = 0x100;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDSCAPS_TEXTURE = 0x1000;
constexpr DWORD DDSCAPS_3DDEVICE = 0x2000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x4000;
constexpr DWORD DDSCAPS_ZBUFFER = 0x20000;
constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;

// Pixel format flags
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x20;
constexpr DWORD DDPF_RGB = 0x40;

// Device caps
constexpr DWORD DDCAPS_3D = 0x1;
constexpr DWORD DDCAPS_BLT = 0x40;
constexpr DWORD DDCAPS_BLTCOLORFILL = 0x4000000;
constexpr DWORD DDCAPS_BLTSTRETCH = 0x200;
constexpr DWORD DDCAPS_COLORKEY = 0x400000;
constexpr DWORD DDCAPS_PALETTE = 0x8000;
constexpr DWORD DDCAPS2_PRIMARYGAMMA = 0x20000;
constexpr DWORD DDCKEYCAPS_SRCBLT = 0x200;
constexpr DWORD DDFXCAPS_BLTMIRRORLEFTRIGHT = 0x40;
constexpr DWORD DDFXCAPS_BLTMIRRORUPDOWN = 0x80;
constexpr DWORD DDFXCAPS_BLTSTRETCHX = 0x200000;
constexpr DWORD DDFXCAPS_BLTSTRETCHY = 0x2000000;

// Palette caps
constexpr DWORD DDPCAPS_4BIT = 0x1;
constexpr DWORD DDPCAPS_8BITENTRIES = 0x2;
constexpr DWORD DDPCAPS_8BIT = 0x4;
constexpr DWORD DDPCAPS_INITIALIZE = 0x8;
constexpr DWORD DDPCAPS_PRIMARYSURFACE = 0x10;
constexpr DWORD DDPCAPS_ALLOW256 = 0x40;
constexpr DWORD DDPCAPS_VSYNC = 0x80;

// Cooperative level
constexpr DWORD DDSCL_FULLSCREEN = 0x1;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x2;
constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x4;
constexpr DWORD DDSCL_NORMAL = 0x8;
constexpr DWORD DDSCL_EXCLUSIVE = 0x10;
constexpr DWORD DDSCL_ALLOWMODEX = 0x40;

// Blt
constexpr DWORD DDBLT_COLORFILL = 0x400;
constexpr DWORD DDBLT_DDFX = 0x800;
constexpr DWORD DDBLT_KEYSRC = 0x8000;
constexpr DWORD DDBLT_KEYSRCOVERRIDE = 0x10000;
constexpr DWORD DDBLT_WAIT = 0x1000000;
constexpr DWORD DDBLTFX_MIRRORLEFTRIGHT = 0x2;
constexpr DWORD DDBLTFX_MIRRORUPDOWN = 0x4;

// BltFast
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x0;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x2;
constexpr DWORD DDBLTFAST_WAIT = 0x10;

// Flip, Lock, colour keys, vertical blank, mode enumeration
constexpr DWORD DDFLIP_WAIT = 0x1;
constexpr DWORD DDLOCK_WAIT = 0x1;
constexpr DWORD DDCKEY_SRCBLT = 0x8;
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x1;
constexpr DWORD DDWAITVB_BLOCKBEGINEVENT = 0x2;
constexpr DWORD DDENUMRET_CANCEL = 0;
constexpr DWORD DDENUMRET_OK = 1;

// --- Interfaces -----------------------------------------------------------------
// Interface identities (our own values; only equality matters).
inline constexpr IID IID_IDirectDraw{
    0x6C14DB00, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x00}};
inline constexpr IID IID_IDirectDraw4{
    0x6C14DB01, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x01}};
inline constexpr IID IID_IDirectDraw7{
    0x6C14DB02, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x02}};
inline constexpr IID IID_IDirectDrawSurface{
    0x6C14DB03, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x03}};
inline constexpr IID IID_IDirectDrawSurface4{
    0x6C14DB04, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x04}};
inline constexpr IID IID_IDirectDrawSurface7{
    0x6C14DB05, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x05}};
inline constexpr IID IID_IDirectDrawPalette{
    0x6C14DB06, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x06}};
inline constexpr IID IID_IDirectDrawClipper{
    0x6C14DB07, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x07}};
inline constexpr IID IID_IDirectDrawGammaControl{
    0x6C14DB08, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x08}};

class IDirectDrawClipper : public IUnknown {
 public:
  virtual HRESULT GetClipList(const TRect* rect, RGNDATA* data, DWORD* size) = 0;
  virtual HRESULT GetHWnd(HWND* window) = 0;
  virtual HRESULT SetClipList(const RGNDATA* data, DWORD flags) = 0;
  virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;
};

class IDirectDrawPalette : public IUnknown {
 public:
  virtual HRESULT GetCaps(DWORD* caps) = 0;
  virtual HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, PALETTEENTRY* entries) = 0;
  virtual HRESULT SetEntries(DWORD flags, DWORD start, DWORD count,
                             const PALETTEENTRY* entries) = 0;
};

class IDirectDrawGammaControl : public IUnknown {
 public:
  virtual HRESULT GetGammaRamp(DWORD flags, DDGAMMARAMP* ramp) = 0;
  virtual HRESULT SetGammaRamp(DWORD flags, const DDGAMMARAMP* ramp) = 0;
};

class IDirectDrawSurface : public IUnknown {
 public:
  virtual HRESULT Blt(const TRect* destRect, IDirectDrawSurface* source, const TRect* sourceRect,
                      DWORD flags, const DDBLTFX* effects) = 0;
  virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const TRect* sourceRect,
                          DWORD flags) = 0;
  virtual HRESULT Flip(IDirectDrawSurface* target, DWORD flags) = 0;
  virtual HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** surface) = 0;
  virtual HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* surface) = 0;
  virtual HRESULT GetClipper(IDirectDrawClipper** clipper) = 0;
  virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
  virtual HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
  virtual HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) = 0;
  virtual HRESULT GetDC(HDC* dc) = 0;
  virtual HRESULT ReleaseDC(HDC dc) = 0;
  virtual HRESULT GetPalette(IDirectDrawPalette** palette) = 0;
  virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;
  virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) = 0;
  virtual HRESULT IsLost() = 0;
  virtual HRESULT Lock(const TRect* rect, DDSURFACEDESC* desc, DWORD flags, HANDLE event) = 0;
  virtual HRESULT Unlock(void* surfaceData) = 0;
  virtual HRESULT Restore() = 0;
};
class IDirectDrawSurface4 : public IDirectDrawSurface {};
class IDirectDrawSurface7 : public IDirectDrawSurface4 {};

using LPDDENUMMODESCALLBACK = HRESULT (*)(DDSURFACEDESC* mode, void* context);
using LPDDENUMCALLBACKA = BOOL (*)(GUID* guid, const char* description, const char* name,
                                   void* context);

class IDirectDraw : public IUnknown {
 public:
  virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
  virtual HRESULT CreatePalette(DWORD caps, const PALETTEENTRY* entries,
                                IDirectDrawPalette** palette, IUnknown* outer) = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                IUnknown* outer) = 0;
  virtual HRESULT DuplicateSurface(IDirectDrawSurface* source, IDirectDrawSurface** duplicate) = 0;
  virtual HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC* filter, void* context,
                                   LPDDENUMMODESCALLBACK callback) = 0;
  virtual HRESULT FlipToGDISurface() = 0;
  virtual HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) = 0;
  virtual HRESULT GetDisplayMode(DDSURFACEDESC* desc) = 0;
  virtual HRESULT RestoreDisplayMode() = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) = 0;
  virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
};
class IDirectDraw4 : public IDirectDraw {};
class IDirectDraw7 : public IDirectDraw4 {};

// --- Entry points of the module -------------------------------------------------
using DirectDrawCreateExFn = HRESULT (*)(GUID* guid, void** object, REFIID iid, IUnknown* outer);
using DirectDrawCreateFn = HRESULT (*)(GUID* guid, IDirectDraw** object, IUnknown* outer);
using DirectDrawEnumerateAFn = HRESULT (*)(LPDDENUMCALLBACKA callback, void* context);

constexpr const char* kDDrawLibrary = "DDraw.dll";
// The file the display services are built into, beside the executable.
constexpr const char* kDDrawModuleFile = "libloupix_ddraw.so";
