#include "display/DXForm.h"

#include "platform/ui/Application.h"

namespace {

int gLiveFormCount = 0;

void SetApplicationToolWindow(bool on) {
  HWND window = Application().Handle();
  const LONG style = GetWindowLong(window, GWL_EXSTYLE);
  SetWindowLong(window, GWL_EXSTYLE,
                on ? style | static_cast<LONG>(WS_EX_TOOLWINDOW)
                   : style & ~static_cast<LONG>(WS_EX_TOOLWINDOW));
}

}  // namespace

TDXForm::TDXForm(TComponent* owner) : TForm(owner) {
  ++gLiveFormCount;
  SetApplicationToolWindow(true);
}

TDXForm::~TDXForm() {
  if (--gLiveFormCount == 0) SetApplicationToolWindow(false);
}

int TDXForm::LiveFormCount() { return gLiveFormCount; }

void TDXForm::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle |= WS_EX_APPWINDOW;
}

void TDXForm::WndProc(TMessage& message) {
  if (message.Msg == WM_SYSCOMMAND && message.WParam == SC_MINIMIZE) {
    DefaultHandler(message);
    SetWindowState(wsMinimized);
    return;
  }
  TForm::WndProc(message);
}
