#include "platform/ui/BusyPointer.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>

#include "platform/ui/QtBridge.h"

// The pointer shape of one window, set through the X server. The X connection may be
// used from any thread, so the watcher sets the shape while the window's own thread
// is busy; without an X server (offscreen tests) nothing is drawn.
// The cursor lives as long as the connection.
class TBusyPointer::TShape {
 public:
  // On the user-interface thread, before the watcher may use the window.
  void Target(HWND window) {
    QWidget* widget = window ? WidgetOf(window) : nullptr;
    FWindow = widget ? static_cast<xcb_window_t>(widget->window()->winId()) : 0;
    if (!FConnection) Connect();
  }
  void Set(bool busy) {
    if (!FConnection || !FWindow) return;
    const uint32_t cursor = busy ? FCursor : uint32_t{XCB_CURSOR_NONE};
    xcb_change_window_attributes(FConnection, FWindow, XCB_CW_CURSOR, &cursor);
    xcb_flush(FConnection);
  }

 private:
  void Connect() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    FConnection = x11->connection();
    // The watch from the X server's standard cursor font, black on white.
    constexpr uint16_t kWatch = 150;
    const xcb_font_t font = xcb_generate_id(FConnection);
    xcb_open_font(FConnection, font, 6, "cursor");
    FCursor = xcb_generate_id(FConnection);
    xcb_create_glyph_cursor(FConnection, FCursor, font, font, kWatch, kWatch + 1, 0, 0, 0, 0xFFFF,
                            0xFFFF, 0xFFFF);
    xcb_close_font(FConnection, font);
  }

  xcb_connection_t* FConnection = nullptr;
  xcb_cursor_t FCursor = 0;
  xcb_window_t FWindow = 0;
};

TBusyPointer::TBusyPointer(std::chrono::milliseconds delay)
    : FDelay(delay), FShape(std::make_unique<TShape>()) {}

TBusyPointer::~TBusyPointer() {
  {
    const std::lock_guard lock(FMutex);
    FStopping = true;
  }
  FChanged.notify_all();
  if (FWatcher.joinable()) FWatcher.join();
  End();
}

void TBusyPointer::Begin(HWND window) {
  {
    const std::lock_guard lock(FMutex);
    if (!FShown) FShape->Target(window);
    FWaiting = true;
    FDeadline = std::chrono::steady_clock::now() + FDelay;
    if (!FWatcher.joinable()) FWatcher = std::thread([this] { WatchLoop(); });
  }
  FChanged.notify_all();
}

void TBusyPointer::End() {
  const std::lock_guard lock(FMutex);
  FWaiting = false;
  if (FShown) FShape->Set(false);
  FShown = false;
}

bool TBusyPointer::Shown() const {
  const std::lock_guard lock(FMutex);
  return FShown;
}

void TBusyPointer::WatchLoop() {
  std::unique_lock lock(FMutex);
  while (!FStopping) {
    if (!FWaiting || FShown) {
      FChanged.wait(lock);
    } else if (std::chrono::steady_clock::now() < FDeadline) {
      FChanged.wait_until(lock, FDeadline);
    } else {
      FShape->Set(true);
      FShown = true;
    }
  }
}
