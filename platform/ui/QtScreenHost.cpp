#include "platform/ui/QtScreenHost.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/ui/QtBridge.h"
#include "platform/ui/StartMonitor.h"

namespace {

TQtScreenHost* Installed = nullptr;

// The framebuffer shown one to one, as windows of the normal level show it.
TScreenFit Unscaled(TSize size) { return {size, {0, 0, size.cx, size.cy}}; }

// The bytes [first, end) in which two rows differ; first == end when they are equal.
// Compared a block at a time first: a lens frame presents the whole screen to
// change a few hundred rows, and a byte-wise scan cost more than the frame itself.
std::pair<size_t, size_t> ChangedBytes(const uint8_t* from, const uint8_t* to, size_t bytes) {
  constexpr size_t kBlock = 64;
  size_t first = 0;
  while (first + kBlock <= bytes && std::memcmp(from + first, to + first, kBlock) == 0)
    first += kBlock;
  while (first < bytes && from[first] == to[first]) ++first;
  size_t end = bytes;
  while (end >= first + kBlock && std::memcmp(from + end - kBlock, to + end - kBlock, kBlock) == 0)
    end -= kBlock;
  while (end > first && from[end - 1] == to[end - 1]) --end;
  return {first, end};
}

void Refit(QWidget* window) {
  if (TWinControl* control = FindControl(HandleOf(window))) RefitWindows(*control);
}

}  // namespace

QScreen* TQtScreenHost::Monitor() {
  if (FMonitor || !QGuiApplication::instance()) return FMonitor;
  const QString& started = StartMonitor().Name;
  for (QScreen* screen : QGuiApplication::screens())
    if (!started.isEmpty() && screen->name() == started) FMonitor = screen;
  if (!FMonitor) FMonitor = QGuiApplication::screenAt(QCursor::pos());
  if (!FMonitor) FMonitor = QGuiApplication::primaryScreen();
  return FMonitor;
}

TSize TQtScreenHost::MonitorSize() {
  QScreen* screen = Monitor();
  if (!screen) return {1024, 768};
  return {screen->geometry().width(), screen->geometry().height()};
}

// Qt gives the monitor's size in its scaled units, rounded; the size seen at
// start, before any scaling, is exact.
TSize TQtScreenHost::MonitorPixels() {
  QScreen* screen = Monitor();
  if (!screen) return {1024, 768};
  const double ratio = screen->devicePixelRatio();
  QSize pixels(qRound(screen->geometry().width() * ratio),
               qRound(screen->geometry().height() * ratio));
  const TStartMonitor& start = StartMonitor();
  const int slack = static_cast<int>(std::ceil(ratio));
  if (screen->name() == start.Name && std::abs(pixels.width() - start.Pixels.width()) <= slack &&
      std::abs(pixels.height() - start.Pixels.height()) <= slack)
    pixels = start.Pixels;
  return {pixels.width(), pixels.height()};
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
  FPointer.reset();
  if (previous && previous != FExclusive) Refit(previous);
  if (!FExclusive) return;
  // The exclusive window covers the monitor; what it shows is scaled to fit.
  if (QScreen* screen = Monitor()) {
    if (FExclusive->screen() != screen) FExclusive->setScreen(screen);
    if (FExclusive->geometry() != screen->geometry()) FExclusive->setGeometry(screen->geometry());
  }
  Refit(FExclusive);
  FExclusive->update();
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

// --- the exclusive window's geometry ---

TWinControl* TQtScreenHost::ExclusiveControl() const {
  return FExclusive ? FindControl(HandleOf(FExclusive)) : nullptr;
}

bool TQtScreenHost::OnExclusiveWindow(const QWidget* widget) const {
  return FExclusive && widget && widget->window() == FExclusive;
}

TScreenFit TQtScreenHost::FitFor(TSize screen) {
  if (!FMode) FMode = ScaleModeFromEnvironment();
  return FitScreen(MonitorPixels(), screen, *FMode);
}

TScreenFit TQtScreenHost::ExclusiveFit() {
  TWinControl* control = ExclusiveControl();
  return control ? FitFor({control->Width(), control->Height()}) : TScreenFit{};
}

TPoint TQtScreenHost::FormOrigin() const {
  TWinControl* control = ExclusiveControl();
  return control ? TPoint{control->Left(), control->Top()} : TPoint{};
}

double TQtScreenHost::Ratio() const { return FExclusive ? FExclusive->devicePixelRatioF() : 1.0; }

QPointF TQtScreenHost::WindowToScreen(QPointF window) {
  const TScreenFit fit = ExclusiveFit();
  if (fit.Target.IsEmpty()) return window;
  const QPointF device = window * Ratio();
  return {(device.x() - fit.Target.Left) * fit.Screen.cx / fit.Target.Width(),
          (device.y() - fit.Target.Top) * fit.Screen.cy / fit.Target.Height()};
}

QPointF TQtScreenHost::ScreenToWindow(QPointF screen) {
  const TScreenFit fit = ExclusiveFit();
  if (fit.Target.IsEmpty()) return screen;
  const QPointF device(fit.Target.Left + screen.x() * fit.Target.Width() / fit.Screen.cx,
                       fit.Target.Top + screen.y() * fit.Target.Height() / fit.Screen.cy);
  return device / Ratio();
}

TPoint TQtScreenHost::PinnedScreenPoint(QPointF window) {
  const TScreenFit fit = ExclusiveFit();
  const QPointF device = window * Ratio();
  const TPoint point = MonitorToScreen(fit, {static_cast<int32_t>(std::lround(device.x())),
                                             static_cast<int32_t>(std::lround(device.y()))});
  return {std::clamp(point.X, 0, std::max(fit.Screen.cx - 1, 0)),
          std::clamp(point.Y, 0, std::max(fit.Screen.cy - 1, 0))};
}

QPoint TQtScreenHost::ToVirtual(const TControl& control, QWidget* widget, QPointF local) {
  if (!OnExclusiveWindow(widget) || !ExclusiveControl()) return local.toPoint();
  const TPoint screen = PinnedScreenPoint(widget->mapTo(FExclusive, local));
  const TPoint form = FormOrigin();
  const TPoint origin = control.ClientToScreen({0, 0});
  return {screen.X + form.X - origin.X, screen.Y + form.Y - origin.Y};
}

QPoint TQtScreenHost::CursorToVirtual(QPoint global) {
  if (!ExclusiveControl()) return global;
  // The latest event knows the pointer more exactly than the rounded global position.
  const QPointF exact = FPointer && FPointer->toPoint() == global ? *FPointer : QPointF(global);
  const TPoint screen = PinnedScreenPoint(FExclusive->mapFromGlobal(exact));
  const TPoint form = FormOrigin();
  return {screen.X + form.X, screen.Y + form.Y};
}

QPoint TQtScreenHost::VirtualToGlobal(TPoint point) {
  if (!ExclusiveControl()) return {point.X, point.Y};
  const QPoint pointer = QCursor::pos();
  if (CursorToVirtual(pointer) == QPoint(point.X, point.Y)) return pointer;
  const TPoint form = FormOrigin();
  const QPointF centre(point.X - form.X + 0.5, point.Y - form.Y + 0.5);
  return FExclusive->mapToGlobal(ScreenToWindow(centre)).toPoint();
}

QRect TQtScreenHost::NativeRect(const TControl& control) {
  const QRect logical(control.Left(), control.Top(), control.Width(), control.Height());
  TWinControl* parent = control.Parent();
  QWidget* parentWidget = parent ? TControlNative::Of(*parent).Widget.data() : nullptr;
  if (!OnExclusiveWindow(parentWidget) || !ExclusiveControl()) return logical;
  const TScreenFit fit = ExclusiveFit();
  const TPoint form = FormOrigin(), origin = parent->ClientToScreen({0, 0});
  const TRect onScreen{origin.X - form.X + control.Left(), origin.Y - form.Y + control.Top(),
                       origin.X - form.X + control.Left() + control.Width(),
                       origin.Y - form.Y + control.Top() + control.Height()};
  const TPoint topLeft = ScreenToMonitor(fit, {onScreen.Left, onScreen.Top});
  const TPoint bottomRight = ScreenToMonitor(fit, {onScreen.Right, onScreen.Bottom});
  const double ratio = Ratio();
  QRectF window(QPointF(topLeft.X, topLeft.Y) / ratio,
                QPointF(bottomRight.X, bottomRight.Y) / ratio);
  // Where the control meets the screen's edge it reaches the window's: the black
  // border is the edge of the screen, where a full-screen mode pins the pointer.
  if (onScreen.Left <= 0) window.setLeft(0);
  if (onScreen.Top <= 0) window.setTop(0);
  if (onScreen.Right >= fit.Screen.cx) window.setRight(FExclusive->width());
  if (onScreen.Bottom >= fit.Screen.cy) window.setBottom(FExclusive->height());
  return window.toAlignedRect().translated(-parentWidget->mapTo(FExclusive, QPoint(0, 0)));
}

QRect TQtScreenHost::WindowGeometry(const TRect& bounds) {
  const QSize size(bounds.Width(), bounds.Height());
  if (!ExclusiveControl()) return {QPoint(bounds.Left, bounds.Top), size};
  const TPoint form = FormOrigin();
  const QPointF centre(bounds.Left + size.width() / 2.0 - form.X,
                       bounds.Top + size.height() / 2.0 - form.Y);
  const QPointF global = FExclusive->mapToGlobal(ScreenToWindow(centre));
  return {QPoint(qRound(global.x() - size.width() / 2.0), qRound(global.y() - size.height() / 2.0)),
          size};
}

TRect TQtScreenHost::WindowBounds(const QRect& geometry) {
  const int32_t width = geometry.width(), height = geometry.height();
  if (!ExclusiveControl())
    return {geometry.x(), geometry.y(), geometry.x() + width, geometry.y() + height};
  const QPointF centre = WindowToScreen(
      FExclusive->mapFromGlobal(QPointF(geometry.x() + width / 2.0, geometry.y() + height / 2.0)));
  const TPoint form = FormOrigin();
  const auto left = static_cast<int32_t>(std::lround(centre.x() + form.X - width / 2.0));
  const auto top = static_cast<int32_t>(std::lround(centre.y() + form.Y - height / 2.0));
  return {left, top, left + width, top + height};
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

// --- the framebuffer and what the monitor shows of it ---

// Takes the rows of `dirty` into the copy and returns the part that really
// changed: a present of the whole back surface for a small change (as each
// lens movement makes) is then scaled and repainted only where it differs.
TRect TQtScreenHost::TakeChanges(const gdi::TPixelView& framebuffer, const TRect& dirty) {
  const uint32_t bitCount = framebuffer.Format.BitCount;
  const int32_t bytesPerPixel = static_cast<int32_t>(bitCount / 8);
  const TSize size{framebuffer.Width, framebuffer.Height};
  bool everything = false;
  if (FFrame.Width != size.cx || FFrame.Height != size.cy || FFrame.Format.BitCount != bitCount) {
    const int32_t pitch = size.cx * bytesPerPixel;
    FPixels.assign(static_cast<size_t>(pitch) * static_cast<size_t>(size.cy), 0);
    FFrame = {FPixels.data(), pitch, size.cx, size.cy, framebuffer.Format};
    FFrame.Format.ColorTable = FPalette.data();
    FFrame.Format.ColorCount = static_cast<uint32_t>(FPalette.size());
    FShown = QImage();
    everything = true;
  }
  if (bitCount == 8 && framebuffer.Format.ColorTable) {
    std::array<RGBQUAD, 256> table{};
    std::copy_n(framebuffer.Format.ColorTable,
                std::min<size_t>(framebuffer.Format.ColorCount, table.size()), table.begin());
    if (std::memcmp(table.data(), FPalette.data(), sizeof(FPalette)) != 0) {
      FPalette = table;
      everything = true;  // every pixel may show another colour now
    }
  }
  const TRect clipped = ClipToSize(dirty, size);
  TRect changed{clipped.Right, clipped.Bottom, clipped.Left, clipped.Top};
  const size_t bytes = static_cast<size_t>(clipped.Width()) * static_cast<size_t>(bytesPerPixel);
  for (int32_t y = clipped.Top; y < clipped.Bottom; ++y) {
    const uint8_t* from = framebuffer.Row(y) + clipped.Left * bytesPerPixel;
    uint8_t* to = FFrame.Row(y) + clipped.Left * bytesPerPixel;
    const auto [first, end] = ChangedBytes(from, to, bytes);
    if (first == end) continue;
    std::memcpy(to + first, from + first, end - first);
    const auto left = static_cast<int32_t>(first) / bytesPerPixel;
    const auto right = static_cast<int32_t>((end + bytesPerPixel - 1) / bytesPerPixel);
    changed = {std::min(changed.Left, clipped.Left + left), std::min(changed.Top, y),
               std::max(changed.Right, clipped.Left + right), y + 1};
  }
  if (everything) return {0, 0, size.cx, size.cy};
  return changed.IsEmpty() ? TRect{} : changed;
}

gdi::TPixelView TQtScreenHost::ShownPixels() {
  gdi::TPixelFormat format{32, gdi::kMask888[0], gdi::kMask888[1], gdi::kMask888[2]};
  return {FShown.bits(), FShown.bytesPerLine(), FShown.width(), FShown.height(), format};
}

// A 16-bit framebuffer (5-6-5, as the scaler reads it too) shown at its own size is
// painted straight from the copy: the window system takes such pixels as they are on
// a 16-bit monitor, and converts them no slower than the scaler would on any other.
bool TQtScreenHost::ShowsFrameItself() const {
  return FShownFit.Filter == TScaleFilter::Replicate && FShownFit.Target.Width() == FFrame.Width &&
         FShownFit.Target.Height() == FFrame.Height && FFrame.Format.BitCount == 16;
}

// Scales the whole framebuffer again when the way it is shown changed; true then.
bool TQtScreenHost::RebuildShownIfStale() {
  const TSize size{FFrame.Width, FFrame.Height};
  const TScreenFit fit = ExclusiveControl() ? FitFor(size) : Unscaled(size);
  if (fit == FShownFit && !FShown.isNull()) return false;
  FShownFit = fit;
  if (ShowsFrameItself()) {
    FShown = QImage(FFrame.Top, FFrame.Width, FFrame.Height, FFrame.Pitch, QImage::Format_RGB16);
    return true;
  }
  FShown = QImage(fit.Target.Width(), fit.Target.Height(), QImage::Format_RGB32);
  FScaler.Scale(FFrame, fit, {0, 0, size.cx, size.cy}, ShownPixels());
  return true;
}

void TQtScreenHost::FramebufferChanged(const gdi::TPixelView& framebuffer, const TRect& dirty) {
  if (!framebuffer.Top || framebuffer.Width <= 0 || framebuffer.Height <= 0 ||
      !TScreenScaler::Shows(framebuffer.Format.BitCount))
    return;
  TRect changed = TakeChanges(framebuffer, dirty);
  if (RebuildShownIfStale())
    changed = {0, 0, FFrame.Width, FFrame.Height};
  else if (!changed.IsEmpty() && !ShowsFrameItself())
    FScaler.Scale(FFrame, FShownFit, changed, ShownPixels());
  if (changed.IsEmpty()) return;
  // These repaints only show the new picture; controls are not asked to paint.
  if (FExclusive) {
    const TRect shown = ScreenRectOnMonitor(FShownFit, changed);
    const double ratio = Ratio();
    FExclusive->update(
        QRectF(shown.Left / ratio, shown.Top / ratio, shown.Width() / ratio, shown.Height() / ratio)
            .toAlignedRect());
  }
  // Windows on the exclusive window show what it paints under them.
  const QRect global(changed.Left, changed.Top, changed.Width(), changed.Height());
  for (QWidget* viewer : FViewers)
    if (!OnExclusiveWindow(viewer))
      viewer->update(global.translated(-viewer->mapToGlobal(QPoint(0, 0))) & viewer->rect());
}

void TQtScreenHost::PaintExclusive(QWidget* window, QPainter& painter, const QRegion& area) {
  RebuildShownIfStale();
  const double ratio = window->devicePixelRatioF();
  const TRect& target = FShownFit.Target;
  const QRectF shown(target.Left / ratio, target.Top / ratio, target.Width() / ratio,
                     target.Height() / ratio);
  // Black around the picture, reaching a little into it where the picture covers it.
  const QRegion border =
      (QRegion(window->rect()) - shown.toAlignedRect().adjusted(1, 1, -1, -1)) & area;
  for (const QRect& band : border) painter.fillRect(band, Qt::black);
  FShown.setDevicePixelRatio(ratio);
  painter.drawImage(shown.topLeft(), FShown);
}

bool TQtScreenHost::PaintFramebuffer(QWidget* widget, QPainter& painter, const QRegion& area) {
  if (!FFrame.Top) return false;
  if (OnExclusiveWindow(widget)) {
    // The window's children show what the window paints under them.
    if (widget == FExclusive) PaintExclusive(widget, painter, area);
    return true;
  }
  if (!FViewers.contains(widget)) return false;
  RebuildShownIfStale();
  QPoint origin = widget->mapToGlobal(QPoint(0, 0));
  painter.drawImage(QPoint(0, 0), FShown, QRect(origin, widget->size()));
  return true;
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
