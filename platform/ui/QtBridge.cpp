#include "platform/ui/QtBridge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindowStateChangeEvent>
#include <unordered_map>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"
#include "platform/ui/QtScreenHost.h"

namespace {

std::unordered_map<HWND, TWinControl*>& HandleTable() {
  static std::unordered_map<HWND, TWinControl*> table;
  return table;
}

struct TKeyPair {
  int qt;
  WORD vk;
};
constexpr TKeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},   {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},   {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},  {Qt::Key_Space, VK_SPACE},   {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},  {Qt::Key_End, VK_END},       {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},      {Qt::Key_Up, VK_UP},         {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},      {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE},
};

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

// Message for a press (0), release (1) or double click (2) of a button.
UINT ButtonMessage(Qt::MouseButton button, int action) {
  static constexpr UINT kLeft[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
  static constexpr UINT kRight[] = {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};
  static constexpr UINT kMiddle[] = {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK};
  switch (button) {
    case Qt::LeftButton:
      return kLeft[action];
    case Qt::RightButton:
      return kRight[action];
    case Qt::MiddleButton:
      return kMiddle[action];
    default:
      return WM_NULL;
  }
}

// Whether a key event at this widget is the focused control's own (and not one
// Qt passes up to a parent after the focused widget left it unused). Without a
// focus widget (no active window) every widget takes what it is sent.
bool HoldsKeyFocus(QWidget* widget) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return true;
  for (; focus; focus = focus->parentWidget())
    if (focus->property("loupixControl").isValid()) return focus == widget;
  return false;
}

}  // namespace

HWND HandleOf(const QWidget* widget) {
  return reinterpret_cast<HWND>(const_cast<QWidget*>(widget));
}
QWidget* WidgetOf(HWND handle) { return reinterpret_cast<QWidget*>(handle); }

TWinControl* FindControl(HWND handle) {
  auto found = HandleTable().find(handle);
  return found == HandleTable().end() ? nullptr : found->second;
}

void RunGuarded(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    Application().HandleException(nullptr);
  }
}

WORD VirtualKeyFromQt(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<WORD>(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<WORD>(VK_F1 + (qtKey - Qt::Key_F1));
  for (const TKeyPair& pair : kKeys)
    if (pair.qt == qtKey) return pair.vk;
  return 0;
}

void TControlNative::Attach(QWidget* widget) {
  Widget = widget;
  widget->setProperty("loupixControl", true);
  widget->setProperty(kNeedsPaint, true);
  widget->installEventFilter(&Bridge);
  if (auto* win = dynamic_cast<TWinControl*>(&Control)) {
    HWND handle = HandleOf(widget);
    HandleTable()[handle] = win;
    QObject::connect(widget, &QObject::destroyed, [handle] { HandleTable().erase(handle); });
  }
}

void TControlNative::Refit(TControl& control) {
  control.UpdateWidget();
  if (auto* win = dynamic_cast<TWinControl*>(&control))
    for (int32_t i = 0; i < win->ControlCount(); ++i) Refit(*win->Controls(i));
}

void RefitWindows(TControl& window) { TControlNative::Refit(window); }

QWidget* MainFormWidget() {
  TCustomForm* main = Application().MainForm();
  return main && main->HandleAllocated() ? WidgetOf(main->Handle()) : nullptr;
}

void ReactivateMainForm() {
  TCustomForm* main = Application().MainForm();
  if (!main || !main->Visible() || !main->HandleAllocated()) return;
  QWidget* window = WidgetOf(main->Handle());
  window->activateWindow();
  if (TWinControl* active = main->ActiveControl(); active && active->HandleAllocated())
    WidgetOf(active->Handle())->setFocus(Qt::OtherFocusReason);
}

void ScreenSizeChanged() {
  std::vector<TWinControl*> forms;
  for (auto& [handle, control] : HandleTable())
    if (dynamic_cast<TCustomForm*>(control)) forms.push_back(control);
  for (TWinControl* form : forms) form->Perform(WM_DISPLAYCHANGE);
}

QWidget* TControlNative::ParentWidgetOf(const TControl& control) {
  TWinControl* parent = control.Parent();
  if (!parent) return nullptr;
  parent->HandleNeeded();
  return Of(*parent).Widget;
}

TControlWidget::TControlWidget(TControl& control, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), FControl(control) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void TControlWidget::paintEvent(QPaintEvent* event) {
  if (TQtScreenHost* host = QtScreenHost()) {
    QPainter painter(this);
    host->PaintFramebuffer(this, painter, event->region());
  }
  if (!property(kNeedsPaint).toBool()) return;
  setProperty(kNeedsPaint, false);
  RunGuarded([this] { FControl.Perform(WM_PAINT); });
}

bool TInputBridge::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  bool consumed = false;
  RunGuarded([&] { consumed = Deliver(widget, event); });
  return consumed;
}

bool TInputBridge::Deliver(QWidget* widget, QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
    widget->setProperty(kNeedsPaint, true);
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return DeliverKey(widget, event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return DeliverMouse(widget, event);
    case QEvent::FocusIn:
      FControl.Perform(WM_SETFOCUS);
      return false;
    case QEvent::FocusOut:
      FControl.Perform(WM_KILLFOCUS);
      return false;
    default:
      return widget->isWindow() && DeliverWindowEvent(widget, event);
  }
}

bool TInputBridge::DeliverKey(QWidget* widget, QEvent* event) {
  if (!HoldsKeyFocus(widget)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  WORD vk = VirtualKeyFromQt(key->key());
  if (vk == 0) return false;
  LPARAM flags = 1 | (key->isAutoRepeat() ? LPARAM{1} << 30 : 0);
  TMessage message{event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP, vk, flags, 0};
  FControl.WindowProc()(message);
  return message.WParam == 0;
}

bool TInputBridge::DeliverMouse(QWidget* widget, QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  Mouse().ClearOverride();
  UINT msg = WM_MOUSEMOVE;
  if (event->type() != QEvent::MouseMove) {
    int action = event->type() == QEvent::MouseButtonPress     ? 0
                 : event->type() == QEvent::MouseButtonRelease ? 1
                                                               : 2;
    msg = ButtonMessage(mouse->button(), action);
    if (msg == WM_NULL) return false;
  }
  QPoint at = mouse->position().toPoint();
  if (TQtScreenHost* host = QtScreenHost()) {
    host->NotePointer(mouse->globalPosition());
    at = host->ToVirtual(FControl, widget, mouse->position());
  }
  FControl.Perform(msg, MouseKeys(mouse->buttons(), mouse->modifiers()),
                   MakePointParam(at.x(), at.y()));
  return false;
}

bool TInputBridge::DeliverWindowEvent(QWidget* widget, QEvent* event) {
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide: {
      bool shown = event->type() == QEvent::Show;
      QRect area = widget->geometry();
      WINDOWPOS pos{HandleOf(widget),
                    nullptr,
                    area.x(),
                    area.y(),
                    area.width(),
                    area.height(),
                    shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW};
      FControl.Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
      return false;
    }
    case QEvent::Move:
    case QEvent::Resize: {
      QRect area = widget->geometry();
      if (auto* form = dynamic_cast<TCustomForm*>(&FControl))
        form->WindowMoved(
            {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
      return false;
    }
    case QEvent::WindowActivate:
      FControl.Perform(WM_ACTIVATE, WA_ACTIVE);
      return false;
    case QEvent::WindowDeactivate:
      FControl.Perform(WM_ACTIVATE, WA_INACTIVE);
      return false;
    case QEvent::WindowStateChange:
      if (widget->isMinimized() &&
          !(static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized))
        FControl.Perform(WM_SYSCOMMAND, SC_MINIMIZE);
      return false;
    case QEvent::Close:
      event->ignore();
      FControl.Perform(WM_CLOSE);
      return true;
    default:
      return false;
  }
}
