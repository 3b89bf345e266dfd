#include "platform/ui/Controls.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menus.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/QtScreenHost.h"

namespace {

TShiftState ShiftFromMouseKeys(WPARAM keys) {
  TShiftState shift = KeyboardShiftState();
  shift.Exclude(ssShift);
  shift.Exclude(ssCtrl);
  if (keys & MK_SHIFT) shift.Include(ssShift);
  if (keys & MK_CONTROL) shift.Include(ssCtrl);
  if (keys & MK_LBUTTON) shift.Include(ssLeft);
  if (keys & MK_RBUTTON) shift.Include(ssRight);
  if (keys & MK_MBUTTON) shift.Include(ssMiddle);
  return shift;
}

}  // namespace

TShiftState KeyboardShiftState() {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  return shift;
}

TCustomForm* GetParentForm(const TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

// --- TControl ---

TControl::TControl(TComponent* owner)
    : TComponent(owner), FNative(std::make_unique<TControlNative>(*this)) {
  FWindowProc = [this](TMessage& message) { WndProc(message); };
}

TControl::~TControl() {
  DestroyWidget();
  SetParent(nullptr);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  UpdateWidget();
}

void TControl::SetAlign(TAlign value) {
  FAlign = value;
  if (FParent) FParent->Realign();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) {
    auto& siblings = FParent->FControls;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  DestroyWidget();
  FParent = parent;
  if (!parent) return;
  parent->FControls.push_back(this);
  parent->Realign();
  if (parent->HandleAllocated()) WidgetNeeded();
}

void TControl::SetVisible(bool value) {
  FVisible = value;
  if (WidgetAllocated()) Native().Widget->setVisible(value);
}

void TControl::SetCaption(const std::string& value) {
  FCaption = value;
  UpdateWidget();
}

TPoint TControl::ClientToScreen(TPoint point) const {
  TQtScreenHost* host = QtScreenHost();
  // On the scaled exclusive window the program's coordinates are the logical ones.
  if (WidgetAllocated() && !(host && host->OnExclusiveWindow(Native().Widget))) {
    QPoint global = Native().Widget->mapToGlobal(QPoint(point.X, point.Y));
    return {global.x(), global.y()};
  }
  for (const TControl* c = this; c; c = c->Parent()) {
    point.X += c->Left();
    point.Y += c->Top();
  }
  return point;
}

TPoint TControl::ScreenToClient(TPoint point) const {
  TPoint origin = ClientToScreen({0, 0});
  return {point.X - origin.X, point.Y - origin.Y};
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  FWindowProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      DispatchMouse(message);
      break;
    case WM_PAINT:
      Paint();
      break;
    default:
      DefaultHandler(message);
  }
}

void TControl::DispatchMouse(TMessage& message) {
  TPoint at = PointFromParam(message.LParam);
  TShiftState shift = ShiftFromMouseKeys(message.WParam);
  auto button = [](UINT msg) {
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK) return mbRight;
    if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK) return mbMiddle;
    return mbLeft;
  }(message.Msg);
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(shift, at.X, at.Y);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      shift.Include(ssDouble);
      if (button == mbLeft) DblClick();
      MouseDown(button, shift, at.X, at.Y);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MouseDown(button, shift, at.X, at.Y);
      break;
    default:
      MouseUp(button, shift, at.X, at.Y);
      if (button == mbRight && FPopupMenu) {
        TPoint screen = ClientToScreen(at);
        FPopupMenu->Popup(screen.X, screen.Y);
      }
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Invalidate() {
  if (!WidgetAllocated()) return;
  Native().Widget->setProperty(kNeedsPaint, true);
  Native().Widget->update();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::CreateWidget() {
  Native().Attach(new TControlWidget(*this, TControlNative::ParentWidgetOf(*this)));
}

void TControl::WidgetCreated() { Perform(WM_CREATE); }

bool TControl::WidgetAllocated() const { return !Native().Widget.isNull(); }

void TControl::WidgetNeeded() {
  if (WidgetAllocated()) return;
  EnsureQtApplication();
  CreateWidget();
  UpdateWidget();
  if (FParent) Native().Widget->setVisible(FVisible);
  WidgetCreated();
}

void TControl::DestroyWidget() {
  if (!WidgetAllocated()) return;
  Perform(WM_DESTROY);
  QWidget* widget = Native().Widget;
  widget->removeEventFilter(&Native().Bridge);
  delete widget;
}

void TControl::UpdateWidget() {
  if (!WidgetAllocated()) return;
  QWidget* widget = Native().Widget;
  TQtScreenHost* host = QtScreenHost();
  widget->setGeometry(host ? host->NativeRect(*this) : QRect(FLeft, FTop, FWidth, FHeight));
  if (widget->isWindow()) widget->setWindowTitle(QString::fromStdString(FCaption));
}

// --- TWinControl ---

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyWidget();
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return HandleOf(Native().Widget);
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TControl::SetBounds(left, top, width, height);
  Realign();
}

void TWinControl::Realign() {
  TRect client = ClientRect();
  for (TControl* child : FControls)
    if (child->Align() == alClient)
      child->SetBounds(client.Left, client.Top, client.Right, client.Bottom);
}

void TWinControl::SetFocus() {
  HandleNeeded();
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->SetActiveControl(this);
  Native().Widget->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return WidgetAllocated() && Native().Widget->hasFocus(); }

void TWinControl::WndProc(TMessage& message) {
  if (message.Msg == WM_KEYDOWN || message.Msg == WM_KEYUP) {
    WORD key = static_cast<WORD>(message.WParam);
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = GetParentForm(this);
    // A form that previews keys sees them first and may swallow them (key := 0).
    if (form && form != this && form->KeyPreview()) {
      if (message.Msg == WM_KEYDOWN)
        form->KeyDown(key, shift);
      else
        form->KeyUp(key, shift);
    }
    if (key != 0) {
      if (message.Msg == WM_KEYDOWN)
        KeyDown(key, shift);
      else
        KeyUp(key, shift);
    }
    message.WParam = key;
    return;
  }
  if (message.Msg == WM_SETFOCUS)
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->SetActiveControl(this);
  TControl::WndProc(message);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::CreateParams(TCreateParams&) {}

void TWinControl::WidgetCreated() {
  TControl::WidgetCreated();
  for (TControl* child : FControls) child->WidgetNeeded();
}
