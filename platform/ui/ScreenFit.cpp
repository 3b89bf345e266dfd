#include "platform/ui/ScreenFit.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// The largest size of the screen's aspect that fits the monitor.
TSize AspectFit(TSize monitor, TSize screen) {
  if (int64_t{monitor.cx} * screen.cy <= int64_t{monitor.cy} * screen.cx) {
    auto height = (int64_t{screen.cy} * monitor.cx + screen.cx / 2) / screen.cx;
    return {monitor.cx, static_cast<int32_t>(std::min<int64_t>(height, monitor.cy))};
  }
  auto width = (int64_t{screen.cx} * monitor.cy + screen.cy / 2) / screen.cy;
  return {static_cast<int32_t>(std::min<int64_t>(width, monitor.cx)), monitor.cy};
}

TScreenFit Centred(TSize monitor, TSize screen, TSize shown, TScaleFilter filter) {
  const int32_t left = (monitor.cx - shown.cx) / 2, top = (monitor.cy - shown.cy) / 2;
  // An exact multiple shows every pixel as an even block whatever was asked.
  if (shown.cx % screen.cx == 0 && shown.cy % screen.cy == 0 &&
      shown.cx / screen.cx == shown.cy / screen.cy)
    filter = TScaleFilter::Replicate;
  return {screen, {left, top, left + shown.cx, top + shown.cy}, filter};
}

// One axis of MonitorToScreen: the screen index under the centre of monitor
// pixel d (counted from the target's edge).
int32_t ScreenIndex(int64_t d, int64_t screen, int64_t shown) {
  return static_cast<int32_t>(FloorDiv((2 * d + 1) * screen, 2 * shown));
}

// The first monitor pixel (from the target's edge) whose centre lies in screen pixel v.
int32_t FirstMonitorIndex(int64_t v, int64_t screen, int64_t shown) {
  return static_cast<int32_t>(CeilDiv(2 * v * shown - screen, 2 * screen));
}

}  // namespace

std::optional<TScaleMode> ScaleModeFromText(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.empty() || lower == "auto") return TScaleMode::Auto;
  if (lower == "integer") return TScaleMode::Integer;
  if (lower == "smooth") return TScaleMode::Smooth;
  if (lower == "nearest") return TScaleMode::Nearest;
  return std::nullopt;
}

TScreenFit FitScreen(TSize monitor, TSize screen, TScaleMode mode) {
  if (screen.cx <= 0 || screen.cy <= 0 || monitor.cx <= 0 || monitor.cy <= 0)
    return {screen, {0, 0, std::max(screen.cx, 0), std::max(screen.cy, 0)}};
  const int32_t factor = std::min(monitor.cx / screen.cx, monitor.cy / screen.cy);
  const TSize block{screen.cx * factor, screen.cy * factor};
  const bool integer = (mode == TScaleMode::Auto && factor >= 2) ||
                       (mode == TScaleMode::Integer && factor >= 1) ||
                       (mode == TScaleMode::Auto && monitor == screen);
  if (integer) return Centred(monitor, screen, block, TScaleFilter::Replicate);
  const TScaleFilter filter =
      mode == TScaleMode::Nearest ? TScaleFilter::Nearest : TScaleFilter::Smooth;
  return Centred(monitor, screen, AspectFit(monitor, screen), filter);
}

TPoint MonitorToScreen(const TScreenFit& fit, TPoint monitor) {
  if (fit.Target.IsEmpty()) return monitor;
  return {ScreenIndex(monitor.X - fit.Target.Left, fit.Screen.cx, fit.Target.Width()),
          ScreenIndex(monitor.Y - fit.Target.Top, fit.Screen.cy, fit.Target.Height())};
}

TPoint ScreenToMonitor(const TScreenFit& fit, TPoint screen) {
  if (fit.Target.IsEmpty()) return screen;
  return {fit.Target.Left + FirstMonitorIndex(screen.X, fit.Screen.cx, fit.Target.Width()),
          fit.Target.Top + FirstMonitorIndex(screen.Y, fit.Screen.cy, fit.Target.Height())};
}

TRect ScreenRectOnMonitor(const TScreenFit& fit, const TRect& screen) {
  if (fit.Target.IsEmpty() || screen.IsEmpty()) return {};
  const int64_t w = fit.Target.Width(), h = fit.Target.Height();
  // A monitor pixel covers [d, d + 1) * screen / shown, which every filter reads within.
  auto low = [](int64_t v, int64_t size, int64_t shown) {
    return std::clamp<int64_t>(FloorDiv(v * shown, size), 0, shown);
  };
  auto high = [](int64_t v, int64_t size, int64_t shown) {
    return std::clamp<int64_t>(CeilDiv(v * shown, size), 0, shown);
  };
  TRect rect{static_cast<int32_t>(low(screen.Left, fit.Screen.cx, w)),
             static_cast<int32_t>(low(screen.Top, fit.Screen.cy, h)),
             static_cast<int32_t>(high(screen.Right, fit.Screen.cx, w)),
             static_cast<int32_t>(high(screen.Bottom, fit.Screen.cy, h))};
  if (rect.IsEmpty()) return {};
  return {rect.Left + fit.Target.Left, rect.Top + fit.Target.Top, rect.Right + fit.Target.Left,
          rect.Bottom + fit.Target.Top};
}

TRect ClipToSize(const TRect& rect, TSize size) {
  const TRect clipped{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, size.cx),
                      std::min(rect.Bottom, size.cy)};
  return clipped.IsEmpty() ? TRect{} : clipped;
}

double WindowScale(const TScreenFit& fit) {
  if (fit.Screen.cx <= 0 || fit.Screen.cy <= 0) return 1.0;
  const double scale = std::min(double(fit.Target.Width()) / fit.Screen.cx,
                                double(fit.Target.Height()) / fit.Screen.cy);
  return std::max(scale, 1.0);
}
