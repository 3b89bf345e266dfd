// The viewer's forms shown on the real display services without the
// vertical-blank wait, as the benchmarks run them; any error report ends the run.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "app/Main.h"
#include "platform/ui/Application.h"
#include "tests/support/DDrawHooks.h"

inline void ShowViewerForBenchmark() {
  Application().Initialize();
  DDrawHooks().SetInstantVerticalBlank(true);
  CreateViewerForms();
  Application().OnException = [](TObject*, const Exception& error) {
    std::fprintf(stderr, "error: %s\n", error.Message().c_str());
    std::abort();
  };
  Form1->Show();
  for (int i = 0; i < 200 && !Form1->DXDraw1->Initialized(); ++i) Application().ProcessMessages();
}
