// Simple drawing into any device context: pixels, lines, rectangles, ellipses
// and polygons with the selected solid pen and brush.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Raster.h"

using namespace gdi;

namespace {

// The target of one drawing call with its pen and brush turned into pixels.
struct TPainter {
  TPixelView View;
  bool HasPixels = false;
  bool HasPen = false;
  bool HasBrush = false;
  int PenWidth = 1;
  uint32_t PenPixel = 0;
  uint32_t BrushPixel = 0;

  explicit TPainter(const TDeviceContext& context) {
    HasPixels = context.View(View);
    if (!HasPixels) return;
    const TDcState& state = context.State;
    HasPen = state.Pen->Style != PS_NULL;
    PenWidth = std::clamp(state.Pen->Width, 1, 4096);
    PenPixel = RgbToPixel(View.Format, RgbFromColorRef(state.Pen->Color));
    HasBrush = !state.Brush->Hollow;
    BrushPixel = RgbToPixel(View.Format, RgbFromColorRef(state.Brush->Color));
  }

  void Span(int32_t y, int32_t left, int32_t right, uint32_t pixel) const {
    FillView(View, TRect{left, y, right, y + 1}, pixel);
  }
  // A pen dot: a square of the pen's width centred on the point.
  void Dot(int32_t x, int32_t y) const {
    const int32_t half = (PenWidth - 1) / 2;
    FillView(View, TRect{x - half, y - half, x - half + PenWidth, y - half + PenWidth}, PenPixel);
  }
  // From a to b, leaving out b as the platform does: one pixel per step along the
  // longer axis, only over the steps that can reach the view.
  void Line(TPoint a, TPoint b) const {
    if (!HasPen) return;
    const bool steep = std::abs(int64_t{b.Y} - a.Y) > std::abs(int64_t{b.X} - a.X);
    const int64_t a0 = steep ? a.Y : a.X, a1 = steep ? a.X : a.Y;
    const int64_t b0 = steep ? b.Y : b.X, b1 = steep ? b.X : b.Y;
    if (a0 == b0) return;
    const int64_t direction = b0 > a0 ? 1 : -1;
    const double slope = static_cast<double>(b1 - a1) / static_cast<double>(b0 - a0);
    const int64_t low = -PenWidth, high = int64_t{steep ? View.Height : View.Width} + PenWidth;
    int64_t first = a0, last = b0 - direction;  // inclusive, in drawing order
    if (direction > 0) {
      first = std::max(first, low);
      last = std::min(last, high);
    } else {
      first = std::min(first, high);
      last = std::max(last, low);
    }
    for (int64_t t = first; direction > 0 ? t <= last : t >= last; t += direction) {
      const int64_t minor = a1 + std::llround(static_cast<double>(t - a0) * slope);
      const int64_t x = steep ? minor : t, y = steep ? t : minor;
      if (x >= -PenWidth && y >= -PenWidth && x < int64_t{View.Width} + PenWidth &&
          y < int64_t{View.Height} + PenWidth) {
        Dot(static_cast<int32_t>(x), static_cast<int32_t>(y));
      }
    }
  }
};

TRect NormalisedRect(const TDeviceContext& context, int left, int top, int right, int bottom) {
  const TPoint a = context.ToDevice(left, top), b = context.ToDevice(right, bottom);
  return TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

// Crossings of a horizontal line through pixel centres with the polygon's edges.
std::vector<double> Crossings(const std::vector<TPoint>& points, double yc) {
  std::vector<double> xs;
  for (size_t i = 0; i < points.size(); ++i) {
    const TPoint a = points[i], b = points[(i + 1) % points.size()];
    if ((a.Y <= yc) == (b.Y <= yc)) continue;
    xs.push_back(a.X +
                 (yc - a.Y) * (static_cast<double>(b.X) - a.X) / (static_cast<double>(b.Y) - a.Y));
  }
  std::sort(xs.begin(), xs.end());
  return xs;
}

// Even-odd fill: a pixel is inside when its centre is.
void FillPolygon(const TPainter& painter, const std::vector<TPoint>& points) {
  int64_t top = INT32_MAX, bottom = INT32_MIN;
  for (const TPoint& p : points) {
    top = std::min<int64_t>(top, p.Y);
    bottom = std::max<int64_t>(bottom, p.Y);
  }
  top = std::max<int64_t>(top, 0);
  bottom = std::min<int64_t>(bottom, painter.View.Height);
  for (int64_t y = top; y < bottom; ++y) {
    const std::vector<double> xs = Crossings(points, static_cast<double>(y) + 0.5);
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
      const double left =
          std::clamp(std::ceil(xs[i] - 0.5), -1.0, static_cast<double>(painter.View.Width));
      const double right =
          std::clamp(std::ceil(xs[i + 1] - 0.5), -1.0, static_cast<double>(painter.View.Width));
      painter.Span(static_cast<int32_t>(y), static_cast<int32_t>(left), static_cast<int32_t>(right),
                   painter.BrushPixel);
    }
  }
}

std::vector<TPoint> DevicePoints(const TDeviceContext& context, const TPoint* points, int count) {
  std::vector<TPoint> device;
  device.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) device.push_back(context.ToDevice(points[i].X, points[i].Y));
  return device;
}

}  // namespace

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  const auto context = FindDC(dc);
  TPixelView view;
  if (!context || !context->View(view)) return CLR_INVALID;
  const TPoint p = context->ToDevice(x, y);
  if (p.X < 0 || p.Y < 0 || p.X >= view.Width || p.Y >= view.Height) return CLR_INVALID;
  const uint32_t pixel = RgbToPixel(view.Format, RgbFromColorRef(color));
  WritePixel(view, p.X, p.Y, pixel);
  return ColorRefFromRgb(PixelToRgb(view.Format, pixel));
}

COLORREF GetPixel(HDC dc, int x, int y) {
  const auto context = FindDC(dc);
  TPixelView view;
  if (!context || !context->View(view)) return CLR_INVALID;
  const TPoint p = context->ToDevice(x, y);
  if (p.X < 0 || p.Y < 0 || p.X >= view.Width || p.Y >= view.Height) return CLR_INVALID;
  return ColorRefFromRgb(PixelToRgb(view.Format, ReadPixel(view, p.X, p.Y)));
}

int FillRect(HDC dc, const TRect* rect, HBRUSH handle) {
  const auto context = FindDC(dc);
  const auto brush = Find<TGdiBrush>(handle);
  if (!context || !rect || !brush) return 0;
  TPixelView view;
  if (brush->Hollow || !context->View(view)) return 1;
  const TRect r = NormalisedRect(*context, rect->Left, rect->Top, rect->Right, rect->Bottom);
  FillView(view, r, RgbToPixel(view.Format, RgbFromColorRef(brush->Color)));
  return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  const auto context = FindDC(dc);
  if (!context) return FALSE_;
  const TPainter painter(*context);
  if (!painter.HasPixels) return TRUE_;
  // Edges far outside stay outside when pulled in; this keeps the sums below in range.
  const TRect wide = NormalisedRect(*context, left, top, right, bottom);
  constexpr int32_t kMargin = 8192;
  auto pull = [](int32_t v, int32_t limit) { return std::clamp(v, -kMargin, limit + kMargin); };
  const TRect r{pull(wide.Left, painter.View.Width), pull(wide.Top, painter.View.Height),
                pull(wide.Right, painter.View.Width), pull(wide.Bottom, painter.View.Height)};
  if (painter.HasBrush) FillView(painter.View, r, painter.BrushPixel);
  if (painter.HasPen) {
    const int32_t w = std::min({painter.PenWidth, std::max(r.Width(), 1), std::max(r.Height(), 1)});
    const uint32_t pen = painter.PenPixel;
    FillView(painter.View, TRect{r.Left, r.Top, r.Right, r.Top + w}, pen);
    FillView(painter.View, TRect{r.Left, r.Bottom - w, r.Right, r.Bottom}, pen);
    FillView(painter.View, TRect{r.Left, r.Top, r.Left + w, r.Bottom}, pen);
    FillView(painter.View, TRect{r.Right - w, r.Top, r.Right, r.Bottom}, pen);
  }
  return TRUE_;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  const auto context = FindDC(dc);
  if (!context) return FALSE_;
  const TPainter painter(*context);
  if (!painter.HasPixels) return TRUE_;
  const TRect r = NormalisedRect(*context, left, top, right, bottom);
  if (r.IsEmpty()) return TRUE_;
  const double cx = (static_cast<double>(r.Left) + r.Right) / 2,
               cy = (static_cast<double>(r.Top) + r.Bottom) / 2;
  const double rx = (static_cast<double>(r.Right) - r.Left) / 2,
               ry = (static_cast<double>(r.Bottom) - r.Top) / 2;
  // The span of row y inside the ellipse; empty (left > right) outside it.
  auto span = [&](int64_t y, int64_t& xl, int64_t& xr) {
    const double dy = (static_cast<double>(y) + 0.5 - cy) / ry;
    const double half = dy * dy <= 1 ? rx * std::sqrt(1 - dy * dy) : -1;
    xl = static_cast<int64_t>(std::ceil(cx - half - 0.5));
    xr = static_cast<int64_t>(std::floor(cx + half - 0.5));
  };
  const int64_t first = std::max<int64_t>(r.Top, 0);
  const int64_t end = std::min<int64_t>(r.Bottom, painter.View.Height);
  for (int64_t y = first; y < end; ++y) {
    int64_t xl, xr, al, ar, bl, br;
    span(y, xl, xr);
    if (xl > xr) continue;
    span(y - 1, al, ar);
    span(y + 1, bl, br);
    const auto row = static_cast<int32_t>(y);
    auto clip = [&](int64_t v) {
      return static_cast<int32_t>(std::clamp<int64_t>(v, -1, painter.View.Width));
    };
    if (painter.HasBrush) painter.Span(row, clip(xl), clip(xr + 1), painter.BrushPixel);
    if (!painter.HasPen) continue;
    // Outline: the pixels whose row neighbours reach less far.
    const int64_t innerLeft = std::max({xl + 1, al, bl}), innerRight = std::min({xr - 1, ar, br});
    if (innerLeft > innerRight) {
      painter.Span(row, clip(xl), clip(xr + 1), painter.PenPixel);
    } else {
      painter.Span(row, clip(xl), clip(innerLeft), painter.PenPixel);
      painter.Span(row, clip(innerRight + 1), clip(xr + 1), painter.PenPixel);
    }
  }
  return TRUE_;
}

BOOL MoveToEx(HDC dc, int x, int y, TPoint* old) {
  return gdi::ReplaceStatePoint(dc, &gdi::TDcState::Position, x, y, old);
}

BOOL LineTo(HDC dc, int x, int y) {
  const auto context = FindDC(dc);
  if (!context) return FALSE_;
  const TPainter painter(*context);
  const TPoint from = context->State.Position;
  if (painter.HasPixels) {
    painter.Line(context->ToDevice(from.X, from.Y), context->ToDevice(x, y));
  }
  context->State.Position = TPoint{x, y};
  return TRUE_;
}

BOOL Polyline(HDC dc, const TPoint* points, int count) {
  const auto context = FindDC(dc);
  if (!context || !points || count < 2) return FALSE_;
  const TPainter painter(*context);
  if (!painter.HasPixels) return TRUE_;
  const std::vector<TPoint> device = DevicePoints(*context, points, count);
  for (size_t i = 0; i + 1 < device.size(); ++i) painter.Line(device[i], device[i + 1]);
  return TRUE_;
}

BOOL Polygon(HDC dc, const TPoint* points, int count) {
  const auto context = FindDC(dc);
  if (!context || !points || count < 2) return FALSE_;
  const TPainter painter(*context);
  if (!painter.HasPixels) return TRUE_;
  const std::vector<TPoint> device = DevicePoints(*context, points, count);
  if (painter.HasBrush) FillPolygon(painter, device);
  for (size_t i = 0; i < device.size(); ++i) {
    painter.Line(device[i], device[(i + 1) % device.size()]);
  }
  return TRUE_;
}
