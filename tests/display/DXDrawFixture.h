// A display control on a form, on the real display services with an instant
// vertical blank, recording what it tells its handlers and event hooks.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/DXDraw.h"
#include "platform/ui/Application.h"
#include "tests/support/DDrawHooks.h"
#include "tests/support/DXDrawOnForm.h"

class TTestDXDraw : public TDXDraw {
 public:
  using TDXDraw::Paint;
  using TDXDraw::TDXDraw;
};

inline const char* NotifyName(TDXDrawNotifyKind kind) {
  static const char* const kNames[] = {"nkDestroying",        "nkInitializing", "nkInitialize",
                                       "nkInitializeSurface", "nkFinalize",     "nkFinalizeSurface",
                                       "nkRestore",           "nkSurfaceSize"};
  return kNames[kind];
}

inline const TDXDrawOptions kViewerOptions{doFullScreen, doNoWindowChange,  doAllowReboot,
                                           doWaitVBlank, doAllowPalette256, doDirectX7Mode,
                                           doHardware,   doSelectDriver};

class DXDrawFixture : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application().Initialize(); }

  void SetUp() override {
    DDrawHooks().SetInstantVerticalBlank(true);
    FLog = std::make_shared<std::vector<std::string>>();
    FForm = std::make_unique<TForm>(nullptr);
    FDXDraw = PlaceDXDraw<TTestDXDraw>(*FForm, kViewerOptions);
    LogEvents(*FDXDraw);
  }

  void TearDown() override {
    FForm.reset();
    DDrawHooks().ResetDisplayModes();
    DDrawHooks().ResetVideoMemoryBudget();
  }

  void LogEvents(TCustomDXDraw& dxDraw) {
    auto log = FLog;
    dxDraw.OnInitializing = [log](TObject*) { log->push_back("OnInitializing"); };
    dxDraw.OnInitialize = [log](TObject*) { log->push_back("OnInitialize"); };
    dxDraw.OnInitializeSurface = [log](TObject*) { log->push_back("OnInitializeSurface"); };
    dxDraw.OnFinalizeSurface = [log](TObject*) { log->push_back("OnFinalizeSurface"); };
    dxDraw.OnFinalize = [log](TObject*) { log->push_back("OnFinalize"); };
    dxDraw.OnRestoreSurface = [log](TObject*) { log->push_back("OnRestoreSurface"); };
  }

  // A notification handler named `name`, known by the address of `owner`.
  void Listen(const void* owner, const std::string& name) {
    auto log = FLog;
    FDXDraw->AddNotifyHandler(owner, [log, name](TCustomDXDraw*, TDXDrawNotifyKind kind) {
      log->push_back(name.empty() ? NotifyName(kind) : name + ":" + NotifyName(kind));
    });
  }

  std::vector<std::string> TakeLog() {
    std::vector<std::string> taken = *FLog;
    FLog->clear();
    return taken;
  }

  std::shared_ptr<std::vector<std::string>> FLog;
  std::unique_ptr<TForm> FForm;
  TTestDXDraw* FDXDraw = nullptr;  // owned by the form
};

using Log = std::vector<std::string>;
