// Inside the window layer only: the screen host on Qt. It keeps one QImage copy
// of the framebuffer (one copy per presented frame) and paints it into the
// windows that show it.
#pragma once

#include <QImage>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include "platform/ui/ScreenHost.h"

class QPainter;
class TControl;

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

  // Paints the framebuffer into a widget that shows it; false when it does not.
  bool PaintFramebuffer(QWidget* widget, QPainter& painter);
  // A point in a widget's own pixels as the program sees it: the exclusive
  // window's scaling undone.
  QPoint ToVirtual(QWidget* widget, QPoint local) const;
  // The pointer in the program's screen coordinates.
  QPoint CursorToVirtual(QPoint global) const;
  // Whether the widget is the exclusive window or lies on it.
  bool OnExclusiveWindow(const QWidget* widget) const;
  // Where a control's window goes inside its parent's: on the exclusive
  // window, the logical rectangle scaled like the framebuffer.
  QRect NativeRect(const TControl& control) const;

 private:
  // Scale and offset of the framebuffer inside the exclusive window.
  struct TPlacement {
    double scale = 1.0;
    QPointF offset;
  };
  TPlacement Placement() const;
  void Refit(QWidget* window);
  void CopyRows(const gdi::TPixelView& framebuffer, const TRect& dirty);

  QImage FImage;
  QPointer<QWidget> FExclusive;
  QSet<QWidget*> FViewers;
  TSize FVirtual{};
};

// Installs the Qt host as the process's screen host (once) and returns it.
TQtScreenHost& InstallQtScreenHost();
// The Qt host when it is installed, else nullptr.
TQtScreenHost* QtScreenHost();
