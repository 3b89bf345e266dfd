// Inside the window layer only: how the toolkit starts.
#pragma once

class QCoreApplication;

// The toolkit's own texts (choosers, message box buttons) in Chinese like the
// rest of the viewer, from the installed Qt translations; English when missing.
void InstallChineseToolkitTexts(QCoreApplication& application);
