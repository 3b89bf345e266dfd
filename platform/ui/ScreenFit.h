// How the virtual screen meets the real monitor: the scaling chosen for it and
// the mapping of points and rectangles between the two. Plain arithmetic, no
// window system, so every monitor size can be checked headless.
#pragma once

#include <optional>
#include <string_view>

#include "platform/gdi/WinTypes.h"

// The user's choice (LOUPIX_SCALE). Auto: the largest integer factor of 2 or
// more that fits, else smooth scaling; 1:1 when the sizes match.
enum class TScaleMode { Auto, Integer, Smooth, Nearest };

// How monitor pixels are made from screen pixels. Replicate shows each screen
// pixel as a k x k block (k = 1 is a plain copy); Nearest takes the screen pixel
// under each monitor pixel's centre; Smooth averages the screen pixels each
// monitor pixel covers, weighted by the area covered.
enum class TScaleFilter { Replicate, Nearest, Smooth };

struct TScreenFit {
  TSize Screen;  // the virtual screen
  TRect Target;  // where it is shown, in monitor pixels; black around it
  TScaleFilter Filter = TScaleFilter::Replicate;
  friend bool operator==(const TScreenFit&, const TScreenFit&) = default;
};

// "integer", "smooth", "nearest" or "auto" in any letter case; empty text is
// Auto. Unknown text gives nothing.
std::optional<TScaleMode> ScaleModeFromText(std::string_view text);

// Where and how a screen is shown on a monitor in the given mode. Without an
// integer factor that fits (a monitor smaller than the screen) Integer falls
// back to Smooth. A target that is an exact multiple of the screen replicates.
TScreenFit FitScreen(TSize monitor, TSize screen, TScaleMode mode);

// The screen pixel under the centre of a monitor pixel. Outside the target the
// answer lies outside the screen.
TPoint MonitorToScreen(const TScreenFit& fit, TPoint monitor);
// The first monitor pixel (top-left) that MonitorToScreen maps to the screen
// pixel; when the monitor is larger than the screen the round trip is exact.
TPoint ScreenToMonitor(const TScreenFit& fit, TPoint screen);
// The monitor pixels of the target whose shown colour depends on the screen
// rectangle, under every filter.
TRect ScreenRectOnMonitor(const TScreenFit& fit, const TRect& screen);
// The part of a rectangle inside (0, 0) - size; empty rectangles stay empty.
TRect ClipToSize(const TRect& rect, TSize size);
// The size factor of the shown screen, never below 1: the factor windows other
// than the screen (dialogs, menus) are drawn with.
double WindowScale(const TScreenFit& fit);
