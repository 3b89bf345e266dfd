// Forms: the top-level windows. The main window is borderless and maximised;
// dialogs are fixed-size windows with a close box, centred on the main window,
// shown modally (a nested message loop, so timers keep ticking) or not, and
// kept above the main window as its child windows.
#pragma once

#include <string>

#include "platform/ui/Controls.h"

enum TBorderStyle { bsNone, bsDialog };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poMainFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;

// Fonts by name: "MS Sans Serif" and "宋体" map to the installed faces.
enum TFontCharset : uint8_t { DEFAULT_CHARSET = 1, GB2312_CHARSET = 134 };
struct TFont {
  std::string Name = "MS Sans Serif";
  int32_t PixelSize = 11;
  TFontCharset Charset = DEFAULT_CHARSET;
};

class TCustomForm : public TWinControl {
 public:
  LOUPIX_CLASS(TCustomForm, TWinControl)
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  void SetVisible(bool value) override;
  void Show();
  // Shows the form modally and returns its ModalResult once it closes.
  TModalResult ShowModal();
  // Closes as the close box does: modal forms end with mrCancel, the main form
  // ends the application, others hide.
  void Close();
  bool Modal() const { return FModal; }
  TModalResult ModalResult() const { return FModalResult; }
  // A non-zero result ends a modal form.
  void SetModalResult(TModalResult value);

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value) { FBorderStyle = value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool value) { FKeyPreview = value; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  void SetClientWidth(int32_t value) { SetBounds(Left(), Top(), value, Height()); }
  void SetClientHeight(int32_t value) { SetBounds(Left(), Top(), Width(), value); }
  TWinControl* ActiveControl() const { return FActiveControl; }
  // The control that last had the focus; the one losing it is told so first.
  void SetActiveControl(TWinControl* control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  std::function<void(TObject* sender, TCloseAction& action)> OnClose;

  // Runs OnCreate once the form and its components are made.
  void AfterConstruction();
  // Runs OnDestroy and destroys the native window while the form's components
  // still exist; forms with components call it first thing in their destructor.
  void BeforeDestruction();
  // The window system moved or resized the native window.
  void WindowMoved(const TRect& frame);

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

 protected:
  void CreateWidget() override;
  void UpdateWidget() override;
  void DoShow();
  void DoHide();

 private:
  void PlaceForShow();
  void StayAboveMainForm();
  void ApplyFont();

  TBorderStyle FBorderStyle = bsDialog;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  bool FKeyPreview = false;
  bool FModal = false;
  bool FDestroying = false;
  bool FMovingFromWindow = false;
  TModalResult FModalResult = mrNone;
  TFont FFont;
  TWinControl* FActiveControl = nullptr;
};

class TForm : public TCustomForm {
 public:
  LOUPIX_CLASS(TForm, TCustomForm)
  using TCustomForm::TCustomForm;
};

// The screen the windows see: the virtual screen while a full-screen mode is set.
class TScreen {
 public:
  int32_t Width() const;
  int32_t Height() const;
  // The form that has the input focus, or nullptr.
  TCustomForm* ActiveForm() const;
};
TScreen& Screen();
