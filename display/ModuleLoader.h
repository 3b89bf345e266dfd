// Stand-in for the window system's library loading until platform/ui offers it.
#pragma once

#include <string>

#include "platform/gdi/WinTypes.h"

HMODULE LoadModule(const std::string& fileName);
void* ModuleEntry(HMODULE module, const std::string& entryName);
void UnloadModule(HMODULE module);
