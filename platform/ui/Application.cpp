#include "platform/ui/Application.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QWidget>
#include <unordered_map>

#include "platform/gdi/Gdi.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/QtScreenHost.h"
#include "platform/ui/StartMonitor.h"
#include "platform/ui/Toolkit.h"

namespace {

QApplication* OwnQt = nullptr;
TApplication* TheApplication = nullptr;

std::unordered_map<HWND, LONG>& ExStyles() {
  static std::unordered_map<HWND, LONG> styles;
  return styles;
}

// The top-level window flags that follow from an extended style.
void ApplyExStyle(QWidget* widget, LONG style) {
  if (!widget->isWindow()) return;
  Qt::WindowFlags flags = widget->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, (style & WS_EX_TOPMOST) != 0);
  if (style & WS_EX_TOOLWINDOW) flags |= Qt::Tool;
  if (flags == widget->windowFlags()) return;
  bool visible = widget->isVisible();
  widget->setWindowFlags(flags);
  if (visible) widget->show();
}

}  // namespace

void EnsureQtApplication() {
  if (QApplication::instance()) return;
  ChooseStartMonitor();
  OwnQt = new QApplication(ToolkitArgumentCount(), ToolkitArgumentValues());
  QApplication::setQuitOnLastWindowClosed(false);
  InstallChineseToolkitTexts(*OwnQt);
}

LONG GetWindowLong(HWND window, int index) {
  if (index != GWL_EXSTYLE) return 0;
  auto found = ExStyles().find(window);
  return found == ExStyles().end() ? 0 : found->second;
}

LONG SetWindowLong(HWND window, int index, LONG value) {
  if (index != GWL_EXSTYLE || !window) return 0;
  LONG previous = GetWindowLong(window, index);
  QWidget* widget = WidgetOf(window);
  // The style goes with the window: a later window at the same address starts plain.
  if (ExStyles().insert_or_assign(window, value).second)
    QObject::connect(widget, &QObject::destroyed, [window] { ExStyles().erase(window); });
  ApplyExStyle(widget, value);
  return previous;
}

TApplication::TApplication() : TComponent(nullptr) { EnsureQtApplication(); }

TApplication::~TApplication() {
  Destroying();
  // Forms may ask for the application window while they go.
  DestroyComponents();
  FWindow.reset();
  SetScreenHost(nullptr);
}

void TApplication::Initialize() {
  IScreenHost& host = InstallQtScreenHost();
  SetDesktopBitsPerPixel(host.MonitorBitsPerPixel());
}

void TApplication::SetTitle(const std::string& title) {
  FTitle = title;
  QApplication::setApplicationName(QString::fromStdString(title));
}

void TApplication::FormCreated(TCustomForm* form) {
  if (!FMainForm) FMainForm = form;
  form->AfterConstruction();
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  RunLoopUntil([] { return false; });
}

void TApplication::RunLoopUntil(const std::function<bool()>& done) {
  // Conditions can change in any handler; look after each batch of events.
  while (!FTerminated && !done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::Terminate() {
  FTerminated = true;
  // Wake a loop that waits for events so it sees the flag.
  QMetaObject::invokeMethod(
      QApplication::instance(), [] {}, Qt::QueuedConnection);
}

void TApplication::QueueCall(std::function<void()> call) {
  QMetaObject::invokeMethod(
      QApplication::instance(), [call = std::move(call)] { RunGuarded(call); },
      Qt::QueuedConnection);
}

void TApplication::ProcessMessages() { QApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::HandleMessage() { QApplication::processEvents(QEventLoop::WaitForMoreEvents); }

void TApplication::HandleException(TObject*) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& error) {
    ShowException(error);
  } catch (const std::exception& error) {
    ShowException(Exception(std::string(error.what())));
  }
}

void TApplication::ShowException(const Exception& error) {
  if (OnException) {
    OnException(this, error);
    return;
  }
  QString title = QString::fromStdString(FTitle.empty() ? std::string("Loupix") : FTitle);
  QMessageBox::critical(MainFormWidget(), title, QString::fromStdString(error.Message()));
}

HWND TApplication::Handle() {
  if (!FWindow) {
    // A hidden window of our own, never shown, as the desktop's stand-in for us.
    FWindow = std::make_unique<TWinControl>(nullptr);
    FWindow->SetVisible(false);
  }
  return FWindow->Handle();
}

TApplication& Application() {
  if (!TheApplication) TheApplication = new TApplication();
  return *TheApplication;
}

void DoneApplication() {
  delete TheApplication;
  TheApplication = nullptr;
  // Qt keeps events from the window system (a pointer move after QCursor::setPos,
  // say) in a queue that outlives the toolkit, with pointers to its input devices;
  // a toolkit started later would deliver them through freed memory.
  if (OwnQt) QApplication::processEvents();
  delete OwnQt;
  OwnQt = nullptr;
}
