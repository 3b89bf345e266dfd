// The process environment.
#pragma once

#include <optional>
#include <string>

// The value of an environment variable; none when it is not set.
std::optional<std::string> EnvironmentValue(const char* name);
