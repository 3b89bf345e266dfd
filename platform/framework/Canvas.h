// Canvases: drawing on a device context with a brush, a pen and a copy mode.
// The device context comes from CreateHandle, which derived canvases override
// (a bitmap's memory context, a surface's borrowed context). Every drawing call
// runs Changing, then asks for the handle, draws, and runs Changed.
#pragma once

#include <vector>

#include "platform/framework/Persistent.h"
#include "platform/gdi/WinTypes.h"

class TGraphic;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
// Colours with the top byte 0x80 name system colours (low byte = index).
inline constexpr TColor clSystemColor = 0x80000000;

// Plain RGB for a colour; system colours are resolved by the platform.
COLORREF ColorToRGB(TColor color);

enum TBrushStyle { bsSolid, bsClear };
enum TPenStyle { psSolid, psClear };

class TBrush {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle value) { FStyle = value; }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TPen {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  int Width() const { return FWidth; }
  void SetWidth(int value) { FWidth = value < 1 ? 1 : value; }
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle value) { FStyle = value; }

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
};

class TCanvas : public TPersistent {
 public:
  LOUPIX_CLASS(TCanvas, TPersistent)
  TCanvas() = default;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The device context, made by CreateHandle when missing; raises EInvalidOperation
  // "Canvas does not allow drawing" when there is still none.
  HDC Handle();
  // Sets or (nullptr) drops the device context; the canvas never frees it.
  void SetHandle(HDC dc) { FHandle = dc; }
  bool HandleAllocated() const { return FHandle != nullptr; }

  DWORD CopyMode() const { return FCopyMode; }
  void SetCopyMode(DWORD value) { FCopyMode = value; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }

  // Draws the graphic at its own size with its top-left corner at (x, y). Empty
  // graphics (and nullptr) are skipped without asking for a handle.
  void Draw(int x, int y, TGraphic* graphic);
  // Draws the graphic scaled into rect; skips empty graphics likewise.
  void StretchDraw(const TRect& rect, TGraphic* graphic);
  // Copies source's rectangle into dest, scaled, with CopyMode.
  void CopyRect(const TRect& dest, TCanvas& canvas, const TRect& source);
  // Fills with the brush colour.
  void FillRect(const TRect& rect);
  // Outlined with the pen, filled with the brush.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  void Polygon(const std::vector<TPoint>& points);
  // Lines with the pen.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<TPoint>& points);
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  // Before and after every drawing call.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  // Supplies the device context; the default has none to give.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Makes sure there is a device context (see Handle).
  void RequiredState();

 private:
  // Draws a shape with pen and brush selected (null pen / brush for clear styles).
  template <typename DrawShape>
  void DrawWithPenAndBrush(bool useBrush, DrawShape&& draw);

  HDC FHandle = nullptr;
  DWORD FCopyMode = 0x00CC0020;  // SRCCOPY
  TBrush FBrush;
  TPen FPen;
};
