// Inside the window layer only: the Qt side of controls. Public headers stay
// free of Qt; the .cpp files of platform/ui include this one.
#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/ui/Controls.h"

// Widget property: the control is owed a WM_PAINT (it was shown, resized or
// invalidated). Other repaints, such as those showing a newly presented
// framebuffer, do not ask the control to paint: a control that presents from
// its paint would otherwise present for ever.
inline constexpr const char* kNeedsPaint = "loupixNeedsPaint";

// Makes sure a QApplication exists before the first widget.
void EnsureQtApplication();

// Turns a widget's Qt events into the control's messages.
class TInputBridge final : public QObject {
 public:
  explicit TInputBridge(TControl& control) : FControl(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Deliver(QWidget* widget, QEvent* event);
  bool DeliverKey(QWidget* widget, QEvent* event);
  bool DeliverMouse(QWidget* widget, QEvent* event);
  bool DeliverWindowEvent(QWidget* widget, QEvent* event);
  TControl& FControl;
};

// The control's side of its native window.
struct TControlNative {
  explicit TControlNative(TControl& control) : Control(control), Bridge(control) {}
  static TControlNative& Of(const TControl& control) { return *control.FNative; }

  // Takes the widget made for the control: registers it and routes its input.
  void Attach(QWidget* widget);
  // The widget the control's native window should be a child of.
  static QWidget* ParentWidgetOf(const TControl& control);
  // Places the control's window and those of its children again.
  static void Refit(TControl& control);

  TControl& Control;
  TInputBridge Bridge;
  QPointer<QWidget> Widget;
};

// The plain native window of a control that draws itself (or nothing): it
// paints through WM_PAINT and keeps input to itself.
class TControlWidget : public QWidget {
 public:
  TControlWidget(TControl& control, QWidget* parent, Qt::WindowFlags flags = {});

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override { event->accept(); }
  void keyReleaseEvent(QKeyEvent* event) override { event->accept(); }
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
  void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }

 private:
  TControl& FControl;
};

// Calls code of the system from a Qt callback: errors go to the application's
// error report instead of unwinding through Qt.
void RunGuarded(const std::function<void()>& action);

// Gives the keyboard back to the main form after a modal window closed.
void ReactivateMainForm();
// The main form's window once it exists: the parent of dialogs, choosers, menus
// and message boxes, so window managers keep them above it.
QWidget* MainFormWidget();

// Tells every form that the screen size changed (WM_DISPLAYCHANGE).
void ScreenSizeChanged();
// Places a window and everything on it again, after its scaling changed.
void RefitWindows(TControl& window);

WORD VirtualKeyFromQt(int qtKey);
HWND HandleOf(const QWidget* widget);
QWidget* WidgetOf(HWND handle);
