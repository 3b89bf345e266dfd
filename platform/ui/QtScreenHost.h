// Inside the window layer only: the screen host on Qt. It keeps a copy of the
// framebuffer and the picture the monitor shows of it (scaled as the screen fit
// says while a window shows it full-screen), paints that picture into the
// windows that show it, and maps points between the program's screen and the
// monitor.
#pragma once

#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "platform/ui/ScreenFit.h"
#include "platform/ui/ScreenHost.h"
#include "platform/ui/ScreenScaler.h"

class QPainter;
class TControl;
class TWinControl;

class TQtScreenHost final : public IScreenHost {
 public:
  TSize MonitorSize() override;
  int MonitorBitsPerPixel() override;
  int RefreshRateHz() override;
  void SetVirtualScreen(int32_t width, int32_t height) override;
  void RestoreDesktopScreen() override;
  TSize ScreenSize() override;
  void SetExclusiveWindow(HWND window) override;
  void FramebufferChanged(const gdi::TPixelView& framebuffer, const TRect& dirty) override;
  void ShowFramebufferIn(HWND window, bool on) override;
  bool WindowClientRectOnScreen(HWND window, TRect* rect) override;

  // The monitor Loupix runs on: the one it started on, while it is connected.
  QScreen* Monitor();
  // How the exclusive window shows the program's screen, in the window's device pixels.
  TScreenFit ExclusiveFit();

  // Paints the framebuffer into the area of a widget that shows it; false when
  // it does not.
  bool PaintFramebuffer(QWidget* widget, QPainter& painter, const QRegion& area);
  // A point in a control's widget (the widget's own coordinates) as the control
  // sees it. On the exclusive window the scaling is undone and the point is
  // pinned to the screen, as the pointer is in a full-screen mode.
  QPoint ToVirtual(const TControl& control, QWidget* widget, QPointF local);
  // The pointer, given in the window system's global coordinates, in the
  // program's screen coordinates.
  QPoint CursorToVirtual(QPoint global);
  // A point of the program's screen in the window system's global coordinates;
  // the point under the pointer is the pointer's own position.
  QPoint VirtualToGlobal(TPoint point);
  // The exact pointer position of the latest mouse event.
  void NotePointer(QPointF global) { FPointer = global; }
  // Whether the widget is the exclusive window or lies on it.
  bool OnExclusiveWindow(const QWidget* widget) const;
  // Where a control's window goes inside its parent's: on the exclusive
  // window, the control's part of the shown screen (reaching the window's edge
  // where the control reaches the screen's edge).
  QRect NativeRect(const TControl& control);
  // Where a top-level window with the program's bounds goes while the screen
  // is shown full-screen (same centre on the shown screen, same size), and back.
  QRect WindowGeometry(const TRect& bounds);
  TRect WindowBounds(const QRect& geometry);

 private:
  TWinControl* ExclusiveControl() const;
  TSize MonitorPixels();
  TScreenFit FitFor(TSize screen);
  TPoint FormOrigin() const;
  double Ratio() const;
  // Exclusive-window coordinates to and from the fit's screen, unrounded.
  QPointF WindowToScreen(QPointF window);
  QPointF ScreenToWindow(QPointF screen);
  // The screen pixel under a point of the exclusive window, pinned to the screen.
  TPoint PinnedScreenPoint(QPointF window);
  TRect TakeChanges(const gdi::TPixelView& framebuffer, const TRect& dirty);
  bool ShowsFrameItself() const;
  bool RebuildShownIfStale();
  gdi::TPixelView ShownPixels();
  void PaintExclusive(QWidget* window, QPainter& painter, const QRegion& area);

  // The framebuffer as last presented, and its palette.
  std::vector<uint8_t> FPixels;
  gdi::TPixelView FFrame{};
  std::array<RGBQUAD, 256> FPalette{};
  // What the monitor shows of it.
  QImage FShown;
  TScreenFit FShownFit{};
  TScreenScaler FScaler;

  QPointer<QWidget> FExclusive;
  QSet<QWidget*> FViewers;
  TSize FVirtual{};
  QPointer<QScreen> FMonitor;
  std::optional<TScaleMode> FMode;
  std::optional<QPointF> FPointer;
};

// Installs the Qt host as the process's screen host (once) and returns it.
TQtScreenHost& InstallQtScreenHost();
// The Qt host when it is installed, else nullptr.
TQtScreenHost* QtScreenHost();
