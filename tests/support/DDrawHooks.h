// The display services' test hooks, reached through their module.
#pragma once

#include "device/DXClass.h"
#include "platform/ddraw/DDrawTesting.h"

inline IDDrawTesting& DDrawHooks() {
  auto entry =
      reinterpret_cast<LoupixDDrawTestingFn>(LoadEntryPoint(kDDrawLibrary, kDDrawTestingEntry));
  return *entry();
}
