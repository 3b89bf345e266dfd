// Inside the window layer only: how the toolkit starts.
#pragma once

#include <string>
#include <vector>

class QCoreApplication;

// The program name and the toolkit's own options from the command line; until
// they are set, the program name alone. Ignored once the toolkit has started,
// since it keeps the arguments it was made with.
void SetToolkitArguments(const std::vector<std::string>& arguments);
// argc and argv for the toolkit; they live until the process ends.
int& ToolkitArgumentCount();
char** ToolkitArgumentValues();

// The toolkit's own texts (choosers, message box buttons) in Chinese like the
// rest of the viewer, from the installed Qt translations; English when missing.
void InstallChineseToolkitTexts(QCoreApplication& application);
