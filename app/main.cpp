// Start-up: the application, its title, the main window and the five dialogs,
// then the message loop until Esc.
#include "app/Main.h"

#include "device/DXClass.h"
#include "platform/ui/Application.h"

int main() {
  Application().Initialize();
  Application().SetTitle("Loupix");
  CreateViewerForms();
  Application().Run();
  DoneApplication();
  // Every device object is gone with the forms; the display services can go.
  FreeLoadedLibraries();
  return 0;
}
