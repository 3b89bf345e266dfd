#include <gtest/gtest.h>

#include <cstring>

#include "device/DirectDraw.h"
#include "tests/app/ShownViewer.h"

namespace {

using StartUpTest = ShownViewerTest;

TEST_F(StartUpTest, ComesUpOnAClearedFullScreenDisplay) {
  TCustomDXDraw& dxDraw = *Form1->DXDraw1;
  EXPECT_TRUE(dxDraw.EffectiveOptions().Contains(doFullScreen));
  EXPECT_EQ(dxDraw.SurfaceWidth(), 1024);
  EXPECT_EQ(dxDraw.SurfaceHeight(), 768);
  ASSERT_NE(dxDraw.Surface(), nullptr);
  EXPECT_EQ(dxDraw.Surface()->BitCount(), 16);
  EXPECT_EQ(dxDraw.BoundsRect(), (TRect{0, 0, 1024, 768}));
  for (auto [x, y] : {std::pair{0, 0}, {512, 384}, {1023, 767}}) EXPECT_EQ(PixelAt(x, y), 0u);
}

TEST_F(StartUpTest, DisplayControlHasTheFormSettings) {
  const TCustomDXDraw& dxDraw = *Form1->DXDraw1;
  EXPECT_EQ(dxDraw.Options(),
            (TDXDrawOptions{doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank,
                            doAllowPalette256, doDirectX7Mode, doHardware, doSelectDriver}));
  EXPECT_TRUE(dxDraw.AutoInitialize());
  EXPECT_TRUE(dxDraw.AutoSize());
  EXPECT_EQ(dxDraw.Align(), alClient);
  EXPECT_TRUE(dxDraw.Display().FixedBitCount());
  EXPECT_TRUE(dxDraw.Display().FixedRatio());
  EXPECT_FALSE(dxDraw.Display().FixedSize());
}

TEST_F(StartUpTest, PictureListHoldsOneEmptyBoundItem) {
  TPictureCollection& items = Form1->DXImageList1->Items();
  EXPECT_EQ(Form1->DXImageList1->DXDraw(), Form1->DXDraw1);
  EXPECT_TRUE(items.Initialized());
  ASSERT_EQ(items.Count(), 1);
  const TPictureCollectionItem& item = *items.Items(0);
  EXPECT_EQ(item.Picture().Graphic(), nullptr);
  EXPECT_EQ(item.PatternWidth(), 0);
  EXPECT_EQ(item.PatternHeight(), 0);
  EXPECT_FALSE(item.SystemMemory());
  EXPECT_TRUE(item.Transparent());
  EXPECT_EQ(item.TransparentColor(), TColor{0});
}

TEST_F(StartUpTest, DisplayTakesThePictureListsColourTable) {
  TColorTable& table = Form1->DXImageList1->Items().ColorTable();
  EXPECT_EQ(std::memcmp(Form1->DXDraw1->ColorTable(), table, sizeof(TColorTable)), 0);
  EXPECT_EQ(std::memcmp(Form1->DXDraw1->RestoreColorTable(), table, sizeof(TColorTable)), 0);
  // The fixed colours: white sits in the last slot.
  EXPECT_EQ(table[255].rgbRed, 255);
}

TEST_F(StartUpTest, EscapeEndsTheRunAndShutdownFinalizesTheDisplay) {
  Key(VK_ESCAPE);
  EXPECT_TRUE(Application().Terminated());
  std::vector<std::string> order;
  Form1->DXDraw1->OnFinalize = [&](TObject*) {
    order.push_back(Form1->FileList ? "finalize with list" : "finalize after FormDestroy");
  };
  DoneApplication();
  Form1 = nullptr;
  EXPECT_EQ(order, std::vector<std::string>{"finalize after FormDestroy"});
}

}  // namespace
