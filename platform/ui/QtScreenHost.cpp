#include "platform/ui/QtScreenHost.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/ui/QtBridge.h"

namespace {

TQtScreenHost* Installed = nullptr;

QImage::Format FormatFor(uint32_t bitCount) {
  switch (bitCount) {
    case 8:
      return QImage::Format_Indexed8;
    case 16:
      return QImage::Format_RGB16;
    case 24:
      return QImage::Format_BGR888;
    case 32:
      return QImage::Format_RGB32;
    default:
      return QImage::Format_Invalid;
  }
}

QScreen* Monitor() { return QGuiApplication::primaryScreen(); }

}  // namespace

TSize TQtScreenHost::MonitorSize() {
  QScreen* screen = Monitor();
  if (!screen) return {1024, 768};
  return {screen->geometry().width(), screen->geometry().height()};
}

int TQtScreenHost::MonitorBitsPerPixel() {
  QScreen* screen = Monitor();
  int depth = screen ? screen->depth() : 32;
  return depth == 24 ? 32 : depth;
}

int TQtScreenHost::RefreshRateHz() {
  QScreen* screen = Monitor();
  double rate = screen ? screen->refreshRate() : 60.0;
  return rate >= 1.0 ? static_cast<int>(std::lround(rate)) : 60;
}

void TQtScreenHost::SetVirtualScreen(int32_t width, int32_t height) {
  FVirtual = {width, height};
  ScreenSizeChanged();
}

void TQtScreenHost::RestoreDesktopScreen() {
  FVirtual = {};
  ScreenSizeChanged();
}

TSize TQtScreenHost::ScreenSize() { return FVirtual.cx > 0 ? FVirtual : MonitorSize(); }

void TQtScreenHost::SetExclusiveWindow(HWND window) {
  QWidget* previous = FExclusive;
  FExclusive = window ? WidgetOf(window) : nullptr;
  if (previous && previous != FExclusive) Refit(previous);
  if (!FExclusive) return;
  // The exclusive window covers the monitor; what it shows is scaled to fit.
  QScreen* screen = FExclusive->screen();
  if (screen && FExclusive->geometry() != screen->geometry())
    FExclusive->setGeometry(screen->geometry());
  Refit(FExclusive);
  FExclusive->update();
}

void TQtScreenHost::Refit(QWidget* window) {
  if (TWinControl* control = FindControl(HandleOf(window))) RefitWindows(*control);
}

void TQtScreenHost::ShowFramebufferIn(HWND window, bool on) {
  if (!window) return;
  QWidget* widget = WidgetOf(window);
  if (!on) {
    FViewers.remove(widget);
    return;
  }
  if (FViewers.contains(widget)) return;
  FViewers.insert(widget);
  QObject::connect(widget, &QObject::destroyed, [this, widget] { FViewers.remove(widget); });
}

void TQtScreenHost::CopyRows(const ScreenFramebuffer& framebuffer, const TRect& dirty) {
  QImage::Format format = FormatFor(framebuffer.bitCount);
  if (FImage.width() != framebuffer.width || FImage.height() != framebuffer.height ||
      FImage.format() != format)
    FImage = QImage(framebuffer.width, framebuffer.height, format);
  if (framebuffer.bitCount == 8 && framebuffer.palette) {
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
      colours[i] = qRgb(framebuffer.palette[i].peRed, framebuffer.palette[i].peGreen,
                        framebuffer.palette[i].peBlue);
    FImage.setColorTable(colours);
  }
  int32_t top = std::max(dirty.Top, 0), bottom = std::min(dirty.Bottom, framebuffer.height);
  int32_t bytesPerPixel = static_cast<int32_t>(framebuffer.bitCount / 8);
  int32_t left = std::max(dirty.Left, 0), right = std::min(dirty.Right, framebuffer.width);
  if (left >= right) return;
  const auto* source = static_cast<const uint8_t*>(framebuffer.bits);
  for (int32_t y = top; y < bottom; ++y)
    std::memcpy(FImage.scanLine(y) + left * bytesPerPixel,
                source + int64_t{y} * framebuffer.pitch + left * bytesPerPixel,
                static_cast<size_t>(right - left) * static_cast<size_t>(bytesPerPixel));
}

void TQtScreenHost::FramebufferChanged(const ScreenFramebuffer& framebuffer, const TRect& dirty) {
  if (!framebuffer.bits || framebuffer.width <= 0 || framebuffer.height <= 0 ||
      FormatFor(framebuffer.bitCount) == QImage::Format_Invalid)
    return;
  CopyRows(framebuffer, dirty);
  // These repaints only show the new picture; controls are not asked to paint.
  if (FExclusive) FExclusive->update();
  for (QWidget* viewer : FViewers) viewer->update();
}

TQtScreenHost::TPlacement TQtScreenHost::Placement() const {
  TPlacement placement;
  TWinControl* control = FExclusive ? FindControl(HandleOf(FExclusive)) : nullptr;
  if (!control || control->Width() <= 0 || control->Height() <= 0) return placement;
  placement.scale = std::min(double(FExclusive->width()) / control->Width(),
                             double(FExclusive->height()) / control->Height());
  placement.offset = {(FExclusive->width() - control->Width() * placement.scale) / 2,
                      (FExclusive->height() - control->Height() * placement.scale) / 2};
  return placement;
}

bool TQtScreenHost::OnExclusiveWindow(const QWidget* widget) const {
  return FExclusive && widget && widget->window() == FExclusive;
}

QRect TQtScreenHost::NativeRect(const TControl& control) const {
  QRect logical(control.Left(), control.Top(), control.Width(), control.Height());
  TWinControl* parent = control.Parent();
  QWidget* parentWidget = parent ? TControlNative::Of(*parent).Widget.data() : nullptr;
  if (!OnExclusiveWindow(parentWidget)) return logical;
  TPlacement placement = Placement();
  QPointF origin = parentWidget == FExclusive ? placement.offset : QPointF();
  return QRectF(origin + QPointF(logical.topLeft()) * placement.scale,
                QSizeF(logical.size()) * placement.scale)
      .toRect();
}

bool TQtScreenHost::PaintFramebuffer(QWidget* widget, QPainter& painter) {
  if (FImage.isNull()) return false;
  if (FExclusive && widget->window() == FExclusive) {
    // Children of the exclusive window show the same picture, each its own part.
    QPoint origin = widget->mapTo(FExclusive, QPoint(0, 0));
    TPlacement placement = Placement();
    painter.fillRect(widget->rect(), Qt::black);
    QRectF target(placement.offset - QPointF(origin), QSizeF(FImage.size()) * placement.scale);
    painter.drawImage(target, FImage);
    return true;
  }
  if (!FViewers.contains(widget)) return false;
  QPoint origin = widget->mapToGlobal(QPoint(0, 0));
  painter.drawImage(QPoint(0, 0), FImage, QRect(origin, widget->size()));
  return true;
}

QPoint TQtScreenHost::ToVirtual(QWidget* widget, QPoint local) const {
  if (!OnExclusiveWindow(widget)) return local;
  TPlacement placement = Placement();
  QPointF point = widget == FExclusive ? QPointF(local) - placement.offset : QPointF(local);
  return (point / placement.scale).toPoint();
}

QPoint TQtScreenHost::CursorToVirtual(QPoint global) const {
  TWinControl* control = FExclusive ? FindControl(HandleOf(FExclusive)) : nullptr;
  if (!control) return global;
  QPoint local = ToVirtual(FExclusive, FExclusive->mapFromGlobal(global));
  return local + QPoint(control->Left(), control->Top());
}

bool TQtScreenHost::WindowClientRectOnScreen(HWND window, TRect* rect) {
  QWidget* widget = window ? WidgetOf(window) : nullptr;
  TWinControl* control = widget ? FindControl(window) : nullptr;
  if (!control) return false;
  if (rect) {
    // On the scaled exclusive window the program's coordinates are the mode's.
    TPoint origin = OnExclusiveWindow(widget) ? control->ClientToScreen({0, 0})
                                              : TPoint{widget->mapToGlobal(QPoint(0, 0)).x(),
                                                       widget->mapToGlobal(QPoint(0, 0)).y()};
    TSize size = OnExclusiveWindow(widget) ? TSize{control->ClientWidth(), control->ClientHeight()}
                                           : TSize{widget->width(), widget->height()};
    *rect = {origin.X, origin.Y, origin.X + size.cx, origin.Y + size.cy};
  }
  return widget->isVisible();
}

TQtScreenHost& InstallQtScreenHost() {
  static TQtScreenHost host;
  Installed = &host;
  SetScreenHost(&host);
  return host;
}

TQtScreenHost* QtScreenHost() {
  return Installed && &ScreenHost() == Installed ? Installed : nullptr;
}
