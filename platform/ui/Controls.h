// Window controls. Every control owns a native window (a Qt widget kept out of
// sight behind TControlNative), created on first need. Input arrives as the
// desktop system's messages and passes through the control's window procedure,
// which a hook may replace and later put back; the default procedure turns the
// messages into the OnKeyDown / OnMouseDown ... events.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Component.h"
#include "platform/ui/Messages.h"

class TWinControl;
class TPopupMenu;
class TCustomForm;
struct TControlNative;

enum TAlign { alNone, alClient };

using TNotifyEvent = std::function<void(TObject* sender)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift,
                                       int32_t x, int32_t y)>;
using TMouseMoveEvent =
    std::function<void(TObject* sender, TShiftState shift, int32_t x, int32_t y)>;
using TWndMethod = std::function<void(TMessage& message)>;

// What a control asks of its native window when it is created.
struct TCreateParams {
  DWORD ExStyle = 0;
};

class TControl : public TComponent {
 public:
  LOUPIX_CLASS(TControl, TComponent)
  explicit TControl(TComponent* owner);
  ~TControl() override;

  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetLeft(int32_t value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int32_t value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int32_t value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int32_t value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  // The client area in the control's own coordinates.
  virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int32_t ClientWidth() const { return ClientRect().Right; }
  int32_t ClientHeight() const { return ClientRect().Bottom; }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value) { FParentColor = value; }
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu) { FPopupMenu = menu; }

  TPoint ClientToScreen(TPoint point) const;
  TPoint ScreenToClient(TPoint point) const;

  // The window procedure: every message to the control goes through it.
  const TWndMethod& WindowProc() const { return FWindowProc; }
  void SetWindowProc(TWndMethod proc) { FWindowProc = std::move(proc); }
  // Sends a message through the window procedure and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // The control's own handling, the original window procedure.
  virtual void WndProc(TMessage& message);
  // What happens to messages nobody handled.
  virtual void DefaultHandler(TMessage& message);
  // Asks for a repaint (WM_PAINT) at the next chance.
  void Invalidate();

  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void Click();
  virtual void DblClick();
  // Drawing of controls that draw themselves, on WM_PAINT.
  virtual void Paint() {}
  // The native window is made on first need; subclasses pick their Qt widget.
  virtual void CreateWidget();
  // The native window was made (and told WM_CREATE) or is about to go.
  virtual void WidgetCreated();
  bool WidgetAllocated() const;
  void WidgetNeeded();
  void DestroyWidget();
  // Pushes position, size, caption and visibility into the native window.
  virtual void UpdateWidget();

  TControlNative& Native() const { return *FNative; }
  friend struct TControlNative;
  friend class TWinControl;

 private:
  void DispatchMouse(TMessage& message);

  std::unique_ptr<TControlNative> FNative;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TAlign FAlign = alNone;
  TWinControl* FParent = nullptr;
  bool FVisible = true;
  std::string FCaption;
  TColor FColor = 0x8000000F;  // button face
  bool FParentColor = true;
  TPopupMenu* FPopupMenu = nullptr;
  TWndMethod FWindowProc;
};

class TWinControl : public TControl {
 public:
  LOUPIX_CLASS(TWinControl, TControl)
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The native window, made now if needed.
  HWND Handle();
  bool HandleAllocated() const { return WidgetAllocated(); }
  void HandleNeeded() { WidgetNeeded(); }

  int32_t ControlCount() const { return static_cast<int32_t>(FControls.size()); }
  TControl* Controls(int32_t index) const { return FControls.at(static_cast<size_t>(index)); }
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void SetFocus();
  bool Focused() const;
  // Lays out the children that are aligned to the client area.
  void Realign();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;

  void WndProc(TMessage& message) override;

 protected:
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  // The extended style and other wishes for the native window; read when it is made.
  virtual void CreateParams(TCreateParams& params);
  void WidgetCreated() override;
  friend class TControl;

 private:
  std::vector<TControl*> FControls;
};

// The control whose native window this is, or nullptr.
TWinControl* FindControl(HWND handle);
// The form a control sits on (the control itself when it is a form), or nullptr.
TCustomForm* GetParentForm(const TControl* control);
// The shift state of the keyboard right now (Shift, Alt, Ctrl).
TShiftState KeyboardShiftState();
