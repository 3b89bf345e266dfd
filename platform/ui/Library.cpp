#include "platform/ui/Library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

namespace {

// System names the project supplies modules for.
constexpr std::array<std::pair<std::string_view, std::string_view>, 1> kModules{{
    {"ddraw.dll", "libloupix_ddraw.so"},
}};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

HMODULE Open(const std::string& file) {
  return static_cast<HMODULE>(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
}

}  // namespace

std::string ExecutableFolder() {
  std::array<char, 4096> buffer{};
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return ".";
  std::string path(buffer.data(), static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

HMODULE LoadLibrary(const std::string& name) {
  if (name.empty()) return nullptr;
  std::string lower = Lower(name);
  for (const auto& [system, file] : kModules)
    if (lower == system) return Open(ExecutableFolder() + "/" + std::string(file));
  if (HMODULE module = Open(name)) return module;
  return name.find('/') == std::string::npos ? Open(ExecutableFolder() + "/" + name) : nullptr;
}

FARPROC GetProcAddress(HMODULE module, const std::string& procName) {
  if (!module) return nullptr;
  return dlsym(module, procName.c_str());
}

BOOL FreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? 1 : 0; }
