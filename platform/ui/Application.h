// The application object: title, the forms in creation order (the first is the
// main window), the message loop and the default error report.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/framework/Exception.h"
#include "platform/ui/Forms.h"

class TApplication : public TComponent {
 public:
  LOUPIX_CLASS(TApplication, TComponent)
  TApplication();
  ~TApplication() override;

  // Connects the window system: the screen host and the desktop's pixel format.
  void Initialize();
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title);

  // Makes a form owned by the application; the first one made is the main form.
  template <typename T>
  T* CreateForm() {
    T* form = new T(this);
    FormCreated(form);
    return form;
  }
  TCustomForm* MainForm() const { return FMainForm; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles the messages waiting now, without blocking.
  void ProcessMessages();
  // Waits for messages and handles them, once.
  void HandleMessage();
  // Runs a nested message loop until done() is true or the application ends.
  void RunLoopUntil(const std::function<bool()>& done);
  // Runs call from the message loop, after the messages waiting now; an error
  // it raises goes to the error report.
  void QueueCall(std::function<void()> call);

  // Called inside a catch block: reports the error being handled (EAbort is
  // silent) through OnException, or by default in a message box.
  void HandleException(TObject* sender);
  void ShowException(const Exception& error);
  std::function<void(TObject* sender, const Exception& error)> OnException;

  // The hidden top-level window that stands for the application on the desktop.
  HWND Handle();

 private:
  void FormCreated(TCustomForm* form);

  std::string FTitle;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  std::unique_ptr<TWinControl> FWindow;
};

// The process's application object, made on first use.
TApplication& Application();
// Frees the application, its forms and the toolkit; the last thing main does.
void DoneApplication();

// Extended window styles (GWL_EXSTYLE) of any window the system made.
inline constexpr int GWL_EXSTYLE = -20;
LONG GetWindowLong(HWND window, int index);
LONG SetWindowLong(HWND window, int index, LONG value);
