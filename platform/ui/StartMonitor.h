// Inside the window layer only: the monitor Loupix runs on, chosen once at
// start, and Qt's scaling for the windows drawn at that monitor's size.
#pragma once

#include <QRect>
#include <QString>

#include "platform/ui/ScreenFit.h"

// The screen size the forms are laid out for: the viewer's full-screen mode.
// Dialogs and menus grow with the factor this screen is shown with.
inline constexpr TSize kLayoutScreen{1024, 768};

// LOUPIX_SCALE: Auto when unset; unknown text is reported once on stderr and
// gives Auto.
TScaleMode ScaleModeFromEnvironment();

struct TStartMonitor {
  QString Name;  // the window system's name for it; empty when unknown
  QSize Pixels;  // its size in device pixels
};

// Before the Qt application exists, once per process: takes the monitor under
// the pointer (the primary one when that is unknown) and, unless the user set
// QT_SCALE_FACTOR, sets Qt's scale factor so that windows are drawn with the
// factor the screen is shown with on that monitor.
void ChooseStartMonitor();
const TStartMonitor& StartMonitor();
