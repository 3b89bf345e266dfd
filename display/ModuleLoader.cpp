#include "display/ModuleLoader.h"

#include <dlfcn.h>
#include <strings.h>
#include <unistd.h>

#include <climits>

namespace {

std::string ExecutableFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return ".";
  std::string text(path, static_cast<size_t>(length));
  return text.substr(0, text.find_last_of('/'));
}

std::string ModuleFile(const std::string& fileName) {
  if (strcasecmp(fileName.c_str(), "ddraw.dll") == 0) return "libloupix_ddraw.so";
  return fileName;
}

}  // namespace

HMODULE LoadModule(const std::string& fileName) {
  const std::string file = ModuleFile(fileName);
  const std::string path = file.find('/') == std::string::npos ? ExecutableFolder() + "/" + file : file;
  return static_cast<HMODULE>(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
}

void* ModuleEntry(HMODULE module, const std::string& entryName) {
  return dlsym(module, entryName.c_str());
}

void UnloadModule(HMODULE module) { dlclose(module); }
