// The graphics services: device contexts, bitmaps and bitmap sections, stretched
// copies with pixel-format conversion, palettes, simple drawing, global memory
// blocks and the clipboard. Calls take and return handles; a bad handle makes the
// call fail (0 / nullptr / FALSE) and never crashes.
#pragma once

#include "platform/gdi/PixelView.h"
#include "platform/gdi/WinTypes.h"

// GetDeviceCaps indices
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int RASTERCAPS = 38;
constexpr int SIZEPALETTE = 104;
constexpr int NUMRESERVED = 106;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;

// Raster operations
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Stretch modes
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 4;

// GetObject results
struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 0;
  void* bmBits = nullptr;
};
struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3]{};
  HANDLE dshSection = nullptr;
  DWORD dsOffset = 0;
};

// Pens and brushes (solid only)
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;
constexpr int NULL_BRUSH = 5;
constexpr int NULL_PEN = 8;
constexpr int BLACK_PEN = 7;
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int WHITE_PEN = 6;
constexpr int DEFAULT_PALETTE = 15;

// GetPixel outside the bitmap or without pixels; SetPixel failing.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Global memory
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Clipboard
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_DIB = 8;

// System colours (GetSysColor indices)
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_HIGHLIGHT = 13;

// --- Device contexts ----------------------------------------------------------
// GetDC(nullptr) is the screen's device context (desktop format).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, void* buffer);
int GetDeviceCaps(HDC dc, int index);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
BOOL SetWindowOrgEx(HDC dc, int x, int y, TPoint* old);
BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);

// --- Bitmaps --------------------------------------------------------------------
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// A section whose pixels are the caller's memory; when the section is deleted it
// calls release(context), and the caller frees the memory then. Null, with memory
// and context still the caller's, when info does not describe an uncompressed DIB
// whose rows fit in bytes.
HBITMAP CreateDIBSectionOver(const BITMAPINFO* info, void* bits, size_t bytes,
                             void (*release)(void*), void* context);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
// A device-dependent bitmap in the screen's format; CBM_INIT converts the given
// bits (any depth, RLE8/RLE4 included) into it.
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
// Reads pixels of a bitmap into a DIB layout (as the original GetDIBits); with bits
// null only fills the header.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);
BOOL GdiFlush();

// --- Copies ---------------------------------------------------------------------
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop);
int StretchDIBits(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);

// --- Simple drawing (icons, metafiles, canvases) --------------------------------
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HGDIOBJ GetStockObject(int index);
int FillRect(HDC dc, const TRect* rect, HBRUSH brush);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, TPoint* old);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const TPoint* points, int count);
BOOL Polygon(HDC dc, const TPoint* points, int count);

// --- Palettes -------------------------------------------------------------------
HPALETTE CreatePalette(const LOGPALETTE* palette);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
HPALETTE CreateHalftonePalette(HDC dc);
// Entries 0-9 and 246-255 are the 20 static system colours.
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);
COLORREF GetSysColor(int index);

// --- Global memory --------------------------------------------------------------
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
size_t GlobalSize(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);  // nullptr on success

// --- Clipboard (in-process) -----------------------------------------------------
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);  // takes ownership of a global block
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

// --- Extensions of this platform ------------------------------------------------
// A device context drawing straight into pixels owned by someone else (a display
// surface); freed with DeleteDC. The colour table of an 8-bit view may change
// between calls: it is read at draw time.
HDC CreatePixelBufferDC(const gdi::TPixelView& pixels);

// The desktop's format as the window system found it (bits per pixel, 1 plane).
// Defaults to 32; the window system sets it once at start-up.
void SetDesktopBitsPerPixel(int bitsPerPixel);
