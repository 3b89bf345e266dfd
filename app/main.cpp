// Start-up: the command line, then the application, its title, the main window
// and the five dialogs, then the message loop until Esc.
#include "app/Main.h"

#include <iostream>

#include "app/StartPath.h"
#include "app/Usage.h"
#include "device/DXClass.h"
#include "platform/ui/Application.h"
#include "platform/ui/CommandLine.h"

namespace {

// Answers --help, --version and mistakes before any window appears; -1 to run.
int Answer(const TCommandLine& line) {
  switch (line.Request) {
    case TCommandRequest::Help:
      std::cout << UsageText();
      return 0;
    case TCommandRequest::Version:
      std::cout << VersionText() << '\n';
      return 0;
    case TCommandRequest::Error:
      std::cerr << line.Error << '\n';
      if (line.ShowUsageHint) std::cerr << kUsageHint << '\n';
      return 2;
    case TCommandRequest::Run:
      break;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const TCommandLine line = ParseCommandLine({argv, argv + argc});
  if (int status = Answer(line); status >= 0) return status;
  ApplyCommandLine(line);
  Application().Initialize();
  Application().SetTitle("Loupix");
  CreateViewerForms();
  OpenStartPath(line);
  Application().Run();
  DoneApplication();
  // Every device object is gone with the forms; the display services can go.
  FreeLoadedLibraries();
  return 0;
}
