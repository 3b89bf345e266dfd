#include "device/DXClass.h"

#include <algorithm>
#include <cctype>

#include "device/DXErrors.h"
#include "platform/ui/Library.h"

void TDirectX::SetLastResult(HRESULT value) {
  FLastResult = value;
  if (value != 0) ResultFailed();
}

namespace {

std::vector<TLoadedLibrary>& LibraryList() {
  static std::vector<TLoadedLibrary> list;
  return list;
}

std::string LowerCase(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

HMODULE LibraryModule(const std::string& fileName) {
  const std::string key = LowerCase(fileName);
  auto& list = LibraryList();
  auto found = std::find_if(list.begin(), list.end(),
                            [&](const TLoadedLibrary& entry) { return entry.Name == key; });
  if (found != list.end()) return found->Module;
  HMODULE module = LoadLibrary(fileName);
  // A library that cannot be loaded is not remembered, so the next call tries again.
  if (!module) throw Exception(DXText::kNotLoaded, fileName);
  list.push_back({key, module});
  return module;
}

}  // namespace

void* LoadEntryPoint(const std::string& fileName, const std::string& entryName) {
  void* address = GetProcAddress(LibraryModule(fileName), entryName);
  if (!address) throw Exception(DXText::kNotLoaded, fileName);
  return address;
}

void FreeLoadedLibraries() {
  auto& list = LibraryList();
  for (const TLoadedLibrary& entry : list) FreeLibrary(entry.Module);
  list.clear();
}

void ListLoadedLibrary(const std::string& fileName, HMODULE module) {
  LibraryList().push_back({LowerCase(fileName), module});
}

const std::vector<TLoadedLibrary>& LoadedLibraries() { return LibraryList(); }
