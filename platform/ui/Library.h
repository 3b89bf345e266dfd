// Run-time library loading by the desktop system's names. System library names
// map, without regard to case, to the project's modules beside its platform
// libraries (beside the executable in the build tree, lib/loupix when installed;
// "DDraw.dll" is the display-services module); other names are tried as given,
// then as a file beside the executable.
#pragma once

#include <string>

#include "platform/gdi/WinTypes.h"

using FARPROC = void*;

// nullptr when the library cannot be loaded.
HMODULE LoadLibrary(const std::string& name);
// nullptr when the module has no such entry point.
FARPROC GetProcAddress(HMODULE module, const std::string& procName);
// Non-zero when the module was loaded and is released now.
BOOL FreeLibrary(HMODULE module);

// The folder of the running executable, without a trailing "/".
std::string ExecutableFolder();
