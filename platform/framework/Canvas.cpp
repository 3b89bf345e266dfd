#include "platform/framework/Canvas.h"

#include "platform/framework/Exception.h"
#include "platform/framework/Graphic.h"
#include "platform/gdi/Gdi.h"

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

HDC TCanvas::Handle() {
  RequiredState();
  return FHandle;
}

void TCanvas::RequiredState() {
  if (!FHandle) CreateHandle();
  if (!FHandle) throw EInvalidOperation(FrameworkText::kNoCanvasHandle);
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState();
  graphic->Draw(*this, Bounds(x, y, graphic->Width(), graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState();
  graphic->Draw(*this, rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& canvas, const TRect& source) {
  Changing();
  RequiredState();
  canvas.RequiredState();
  StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), canvas.FHandle, source.Left,
             source.Top, source.Width(), source.Height(), FCopyMode);
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  Changing();
  RequiredState();
  if (FBrush.Style() == bsSolid) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(FBrush.Color()));
    ::FillRect(FHandle, &rect, brush);
    DeleteObject(brush);
  }
  Changed();
}

template <typename DrawShape>
void TCanvas::DrawWithPenAndBrush(bool useBrush, DrawShape&& draw) {
  Changing();
  RequiredState();
  HPEN pen = CreatePen(FPen.Style() == psSolid ? PS_SOLID : PS_NULL, FPen.Width(),
                       ColorToRGB(FPen.Color()));
  HBRUSH brush = useBrush && FBrush.Style() == bsSolid
                     ? CreateSolidBrush(ColorToRGB(FBrush.Color()))
                     : nullptr;
  HGDIOBJ oldPen = SelectObject(FHandle, pen);
  HGDIOBJ oldBrush = SelectObject(FHandle, brush ? brush : GetStockObject(NULL_BRUSH));
  draw();
  SelectObject(FHandle, oldBrush);
  SelectObject(FHandle, oldPen);
  DeleteObject(pen);
  if (brush) DeleteObject(brush);
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  DrawWithPenAndBrush(true, [&] { ::Rectangle(FHandle, left, top, right, bottom); });
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  DrawWithPenAndBrush(true, [&] { ::Ellipse(FHandle, left, top, right, bottom); });
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  DrawWithPenAndBrush(true,
                      [&] { ::Polygon(FHandle, points.data(), static_cast<int>(points.size())); });
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  DrawWithPenAndBrush(false,
                      [&] { ::Polyline(FHandle, points.data(), static_cast<int>(points.size())); });
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState();
  MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  DrawWithPenAndBrush(false, [&] { ::LineTo(FHandle, x, y); });
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState();
  return GetPixel(FHandle, x, y);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState();
  SetPixel(FHandle, x, y, ColorToRGB(color));
  Changed();
}
