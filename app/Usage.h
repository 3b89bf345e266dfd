// What the command line prints for --help and --version.
#pragma once

#include <string>

// Usage, options, keys and mouse actions, in one screen.
const std::string& UsageText();
// "loupix <version>".
std::string VersionText();
inline constexpr const char* kUsageHint = "Try 'loupix --help' for more information.";
