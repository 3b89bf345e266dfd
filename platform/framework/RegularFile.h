// Opening a path only when it names a regular file, without ever blocking: the one
// way this layer's file readers open what a folder holds.
#pragma once

#include <string>

// The open handle (flags as for open(); blocking reads), or -1 when the path names
// no regular file or cannot be opened.
int OpenRegularFile(const std::string& fileName, int flags);
