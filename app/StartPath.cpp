#include "app/StartPath.h"

#include "app/Main.h"
#include "platform/ui/Application.h"

void OpenStartPath(const TCommandLine& line) {
  if (line.PathKind == TPathKind::None) return;
  Application().QueueCall([path = line.Path, folder = line.PathKind == TPathKind::Folder] {
    if (!Form1) return;
    Form1->RunHandler("command line", [&] {
      if (folder)
        Form1->OpenChosenFolder(path);
      else
        Form1->OpenChosenFile(path);
    });
  });
}
