#include <gtest/gtest.h>

#include <memory>

#include "display/DXDraw.h"
#include "platform/ui/Application.h"
#include "tests/support/DDrawHooks.h"

namespace {

class TPaintCounter : public TDXDraw {
 public:
  using TDXDraw::TDXDraw;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    TDXDraw::Paint();
  }
};

// Presenting repaints the screen's windows; that must not come back as a paint
// request, or painting never stops.
class DXDrawPainting : public testing::TestWithParam<TDXDrawOptions> {};

TEST_P(DXDrawPainting, APaintDoesNotAskForEndlessRepaints) {
  Application().Initialize();
  DDrawHooks().SetInstantVerticalBlank(true);
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 640, 480);
  auto* dxDraw = new TPaintCounter(form.get());
  dxDraw->SetParent(form.get());
  dxDraw->SetBounds(0, 0, 640, 480);
  dxDraw->SetOptions(GetParam());
  form->Show();
  ASSERT_TRUE(dxDraw->Initialized());
  for (int i = 0; i < 20; ++i) Application().ProcessMessages();
  const int settled = dxDraw->Paints;
  dxDraw->Invalidate();
  for (int i = 0; i < 50; ++i) Application().ProcessMessages();
  EXPECT_LE(dxDraw->Paints - settled, 3) << "settled after " << settled;
}

INSTANTIATE_TEST_SUITE_P(Modes, DXDrawPainting,
                         testing::Values(TDXDrawOptions{doFullScreen, doWaitVBlank, doCenter},
                                         TDXDrawOptions{doWaitVBlank, doCenter}));

}  // namespace
