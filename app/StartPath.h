// A picture file or folder named on the command line, opened as if it had been
// chosen in the file or folder chooser.
#pragma once

#include "platform/ui/CommandLine.h"

// Queues the open on the message loop: the display control initialises when the
// main window is first shown, so the open comes after that. Errors go to the
// error report of the running viewer, as after a choice in a chooser.
void OpenStartPath(const TCommandLine& line);
