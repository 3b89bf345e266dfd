// Reference counting shared by the module's objects: created with one
// reference, deleted when the last is released.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace ddraw {

template <class Interface>
class TComObject : public Interface {
 public:
  DWORD AddRef() override { return ++FRefCount; }
  DWORD Release() override {
    const DWORD left = --FRefCount;
    if (left == 0) delete this;
    return left;
  }

 private:
  DWORD FRefCount = 1;
};

}  // namespace ddraw
