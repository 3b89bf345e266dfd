// Reference counting shared by the module's objects: created with one
// reference, deleted when the last is released.
#pragma once

#include "platform/gdi/ComRef.h"

namespace ddraw {

template <class Interface>
class TComObject : public Interface {
 public:
  DWORD AddRef() override { return static_cast<DWORD>(FRefCount.Add()); }
  DWORD Release() override {
    const int left = FRefCount.Drop();
    if (left == 0) delete this;
    return static_cast<DWORD>(left);
  }

 private:
  TRefCount FRefCount{1};
};

}  // namespace ddraw
