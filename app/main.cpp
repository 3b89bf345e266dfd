// Start-up: the application, its title, the main window and the five dialogs,
// then the message loop until Esc.
#include "app/Main.h"

#include "app/ChangeList.h"
#include "app/ConfigScreen.h"
#include "app/ConfigWindow.h"
#include "app/Magnify.h"
#include "app/PageConfig.h"
#include "display/DXClass.h"
#include "platform/ui/Application.h"

int main() {
  Application().Initialize();
  Application().SetTitle("Loupix");
  Form1 = Application().CreateForm<TForm1>();
  Form3 = Application().CreateForm<TForm3>();
  Form2 = Application().CreateForm<TForm2>();
  Form4 = Application().CreateForm<TForm4>();
  Form5 = Application().CreateForm<TForm5>();
  Form6 = Application().CreateForm<TForm6>();
  Application().Run();
  DoneApplication();
  // Every device object is gone with the forms; the display services can go.
  FreeLoadedLibraries();
  return 0;
}
