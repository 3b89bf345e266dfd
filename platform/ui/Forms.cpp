#include "platform/ui/Forms.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

#include "platform/ui/Application.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/QtScreenHost.h"
#include "platform/ui/ScreenHost.h"

namespace {

// The faces the form descriptions name, as installed on a Linux desktop.
QString FaceFor(const std::string& name) {
  if (name == "宋体") return QStringLiteral("AR PL UMing CN");
  if (name == "MS Sans Serif") return QStringLiteral("Sans Serif");
  return QString::fromStdString(name);
}

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) { TControl::SetVisible(false); }

TCustomForm::~TCustomForm() { BeforeDestruction(); }

void TCustomForm::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
  if (FDestroying) return;
  FDestroying = true;
  if (OnDestroy) OnDestroy(this);
  DestroyWidget();
}

void TCustomForm::CreateWidget() {
  auto* widget = new TControlWidget(*this, nullptr, Qt::Window);
  widget->setAttribute(Qt::WA_QuitOnClose, false);
  Native().Attach(widget);
  TCreateParams params;
  CreateParams(params);
  if (FFormStyle == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  SetWindowLong(HandleOf(widget), GWL_EXSTYLE, static_cast<LONG>(params.ExStyle));
  ApplyFont();
}

void TCustomForm::UpdateWidget() {
  if (!WidgetAllocated() || FMovingFromWindow) return;
  QWidget* widget = Native().Widget;
  widget->setWindowTitle(QString::fromStdString(Caption()));
  Qt::WindowFlags flags = widget->windowFlags();
  flags.setFlag(Qt::FramelessWindowHint, FBorderStyle == bsNone);
  if (FBorderStyle == bsDialog) {
    flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    flags &= ~(Qt::WindowMinMaxButtonsHint);
  }
  if (flags != widget->windowFlags()) widget->setWindowFlags(flags);
  if (FBorderStyle == bsDialog) widget->setFixedSize(Width(), Height());
  TQtScreenHost* host = QtScreenHost();
  if (host && host->OnExclusiveWindow(widget)) return;  // the screen host places it
  widget->setGeometry(host ? host->WindowGeometry(BoundsRect())
                           : QRect(Left(), Top(), Width(), Height()));
}

// Every other form is a child window of the main form, so window managers keep
// it above the main form, also when that one covers the whole monitor.
void TCustomForm::StayAboveMainForm() {
  QWidget* main = MainFormWidget();
  QWidget* widget = Native().Widget;
  if (!main || main == widget || widget->parentWidget() == main) return;
  widget->setParent(main, widget->windowFlags() | Qt::Window);
}

void TCustomForm::ApplyFont() {
  if (!WidgetAllocated()) return;
  QFont font(FaceFor(FFont.Name));
  font.setPixelSize(FFont.PixelSize);
  Native().Widget->setFont(font);
}

void TCustomForm::SetFont(const TFont& font) {
  FFont = font;
  ApplyFont();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  FFormStyle = value;
  if (!WidgetAllocated()) return;
  LONG style = GetWindowLong(Handle(), GWL_EXSTYLE);
  style =
      value == fsStayOnTop ? (style | WS_EX_TOPMOST) : (style & ~static_cast<LONG>(WS_EX_TOPMOST));
  SetWindowLong(Handle(), GWL_EXSTYLE, style);
}

void TCustomForm::SetWindowState(TWindowState value) {
  FWindowState = value;
  if (!WidgetAllocated() || !Visible()) return;
  QWidget* widget = Native().Widget;
  if (value == wsMinimized)
    widget->showMinimized();
  else if (value == wsMaximized)
    PlaceForShow();
  else
    widget->showNormal();
}

void TCustomForm::PlaceForShow() {
  if (FWindowState == wsMaximized) {
    SetBounds(0, 0, Screen().Width(), Screen().Height());
  } else if (FPosition == poMainFormCenter) {
    TCustomForm* main = Application().MainForm();
    TRect around = main && main != this ? main->BoundsRect()
                                        : TRect{0, 0, Screen().Width(), Screen().Height()};
    int32_t left = around.Left + (around.Right - around.Left - Width()) / 2;
    int32_t top = around.Top + (around.Bottom - around.Top - Height()) / 2;
    SetBounds(left, top, Width(), Height());
  }
  UpdateWidget();
}

void TCustomForm::SetVisible(bool value) {
  if (value == Visible() && (!value || WidgetAllocated())) {
    if (value) Native().Widget->raise();
    return;
  }
  TControl::SetVisible(value);
  if (value) {
    HandleNeeded();
    StayAboveMainForm();
    PlaceForShow();
    DoShow();
    QWidget* widget = Native().Widget;
    if (FWindowState == wsMinimized)
      widget->showMinimized();
    else
      widget->show();
    widget->raise();
    widget->activateWindow();
  } else {
    if (WidgetAllocated()) Native().Widget->hide();
    DoHide();
  }
}

void TCustomForm::Show() { SetVisible(true); }

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

TModalResult TCustomForm::ShowModal() {
  FModalResult = mrNone;
  FModal = true;
  HandleNeeded();
  StayAboveMainForm();
  Native().Widget->setWindowModality(Qt::ApplicationModal);
  Show();
  Application().RunLoopUntil([this] { return FModalResult != mrNone || !Visible(); });
  if (FModalResult == mrNone) FModalResult = mrCancel;
  Hide();
  if (WidgetAllocated()) Native().Widget->setWindowModality(Qt::NonModal);
  FModal = false;
  ReactivateMainForm();
  return FModalResult;
}

void TCustomForm::SetModalResult(TModalResult value) { FModalResult = value; }

void TCustomForm::Close() {
  TCloseAction action = this == Application().MainForm() ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (FModal) {
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return;
  }
  if (action == caMinimize)
    SetWindowState(wsMinimized);
  else if (this == Application().MainForm())
    Application().Terminate();
  else
    Hide();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  TWinControl* previous = FActiveControl;
  FActiveControl = control;
  if (previous) previous->Perform(WM_KILLFOCUS);
}

void TCustomForm::WindowMoved(const TRect& frame) {
  TQtScreenHost* host = QtScreenHost();
  if (host && WidgetAllocated() && host->OnExclusiveWindow(Native().Widget)) return;
  const TRect bounds =
      host ? host->WindowBounds(
                 QRect(frame.Left, frame.Top, frame.Right - frame.Left, frame.Bottom - frame.Top))
           : frame;
  FMovingFromWindow = true;
  SetBounds(bounds.Left, bounds.Top, bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
  FMovingFromWindow = false;
}

void TCustomForm::WndProc(TMessage& message) {
  if (message.Msg == WM_CLOSE) {
    Close();
    return;
  }
  // A maximised form fits a changed screen, as the desktop does on a mode change.
  if (message.Msg == WM_DISPLAYCHANGE && FWindowState == wsMaximized && Visible()) PlaceForShow();
  TWinControl::WndProc(message);
}

void TCustomForm::DefaultHandler(TMessage& message) {
  if (message.Msg == WM_SYSCOMMAND && WidgetAllocated()) {
    QWidget* widget = Native().Widget;
    if (message.WParam == SC_MINIMIZE && !widget->isMinimized()) widget->showMinimized();
    if (message.WParam == SC_CLOSE) Close();
  }
  TWinControl::DefaultHandler(message);
}

// --- TScreen ---

int32_t TScreen::Width() const { return ScreenHost().ScreenSize().cx; }
int32_t TScreen::Height() const { return ScreenHost().ScreenSize().cy; }

TCustomForm* TScreen::ActiveForm() const {
  QWidget* window = QApplication::activeWindow();
  return window ? dynamic_cast<TCustomForm*>(FindControl(HandleOf(window))) : nullptr;
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}
