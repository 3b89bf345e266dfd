// Base of the display layer's objects, and the entry points it loads at run time.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/Persistent.h"
#include "platform/gdi/WinTypes.h"

// Every object of the display layer records the result of its last platform call.
class TDirectX : public TPersistent {
 public:
  LOUPIX_CLASS(TDirectX, TPersistent)

  HRESULT LastResult() const { return FLastResult; }
  // Storing a failure runs ResultFailed; storing success runs nothing.
  void SetLastResult(HRESULT value);

 protected:
  virtual void ResultFailed() {}

 private:
  HRESULT FLastResult = 0;
};

// A library loaded by LoadEntryPoint: its lower-case file name and module.
struct TLoadedLibrary {
  std::string Name;
  HMODULE Module = nullptr;
};

// Address of `entryName` in the library `fileName`, loading the library once per
// process (names compare without regard to case). Raises Exception "%s not loaded"
// with the file name when the library or the entry point is missing.
void* LoadEntryPoint(const std::string& fileName, const std::string& entryName);

// Unloads every library LoadEntryPoint loaded, in the order they were loaded.
void FreeLoadedLibraries();

// Lists `module` as the library `fileName`, so a test can stand a library of its
// own in for a system one; FreeLoadedLibraries unloads it like the others.
void ListLoadedLibrary(const std::string& fileName, HMODULE module);

// The libraries loaded so far, in load order.
const std::vector<TLoadedLibrary>& LoadedLibraries();
