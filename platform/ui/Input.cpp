#include "platform/ui/Input.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/ui/QtBridge.h"
#include "platform/ui/QtScreenHost.h"

namespace {

std::function<bool(int)>& KeyStateHandler() {
  static std::function<bool(int)> handler;
  return handler;
}

// Shift, Ctrl and Alt as the keyboard holds them now: the last event's
// modifiers miss a key pressed or released since.
bool ModifierDown(int virtualKey) {
  Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
  Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
  switch (virtualKey) {
    case VK_SHIFT:
      return modifiers & Qt::ShiftModifier;
    case VK_CONTROL:
      return modifiers & Qt::ControlModifier;
    case VK_MENU:
      return modifiers & Qt::AltModifier;
    case VK_LBUTTON:
      return buttons & Qt::LeftButton;
    case VK_RBUTTON:
      return buttons & Qt::RightButton;
    case VK_MBUTTON:
      return buttons & Qt::MiddleButton;
    default:
      return false;
  }
}

}  // namespace

TPoint TMouse::CursorPos() const {
  if (FOverride) return *FOverride;
  EnsureQtApplication();
  QPoint at = QCursor::pos();
  if (TQtScreenHost* host = QtScreenHost()) at = host->CursorToVirtual(at);
  return {at.x(), at.y()};
}

void TMouse::SetCursorPos(TPoint point) {
  EnsureQtApplication();
  TQtScreenHost* host = QtScreenHost();
  QCursor::setPos(host ? host->VirtualToGlobal(point) : QPoint(point.X, point.Y));
  FOverride = point;
}

TMouse& Mouse() {
  static TMouse mouse;
  return mouse;
}

int16_t GetKeyState(int virtualKey) {
  bool down = KeyStateHandler() ? KeyStateHandler()(virtualKey)
                                : (QGuiApplication::instance() && ModifierDown(virtualKey));
  return down ? static_cast<int16_t>(-32768) : 0;
}

void SetKeyStateHandler(std::function<bool(int)> isDown) { KeyStateHandler() = std::move(isDown); }
