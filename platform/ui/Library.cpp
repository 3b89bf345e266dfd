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

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

// The project's modules sit beside its platform libraries, which the executable
// finds relative to itself: beside it in the build tree, in the private
// lib/loupix when installed. Never the current folder.
std::string ModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&ModuleFolder), &info) == 0 || !info.dli_fname ||
      info.dli_fname[0] != '/')
    return ExecutableFolder();
  return FolderOf(info.dli_fname);
}

}  // namespace

std::string ExecutableFolder() {
  std::array<char, 4096> buffer{};
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return ".";
  return FolderOf(std::string(buffer.data(), static_cast<size_t>(length)));
}

HMODULE LoadLibrary(const std::string& name) {
  if (name.empty()) return nullptr;
  std::string lower = Lower(name);
  for (const auto& [system, file] : kModules)
    if (lower == system) return Open(ModuleFolder() + "/" + std::string(file));
  if (HMODULE module = Open(name)) return module;
  return name.find('/') == std::string::npos ? Open(ExecutableFolder() + "/" + name) : nullptr;
}

FARPROC GetProcAddress(HMODULE module, const std::string& procName) {
  if (!module) return nullptr;
  return dlsym(module, procName.c_str());
}

BOOL FreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? 1 : 0; }
