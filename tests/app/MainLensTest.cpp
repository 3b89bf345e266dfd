#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/ShownViewer.h"
#include "tests/support/CaseName.h"

namespace {

// A full-screen picture whose colour tells where a pixel came from: red counts
// 32-pixel columns, green 16-pixel rows. A black square sits at (480, 280)-(520, 320).
Rgb Scene(int32_t x, int32_t y) {
  if (x >= 480 && x < 520 && y >= 280 && y < 320) return {0, 0, 0};
  return {static_cast<uint8_t>(8 * (x / 32)), static_cast<uint8_t>(4 * (y / 16)), 248};
}

void WriteScene(const std::string& path) { MakeBitmap(1024, 768, Scene)->SaveToFile(path); }

class LensFixture : public ShownViewerTest {
 protected:
  void SetUp() override {
    ShownViewerTest::SetUp();
    ChosenFile = Tree.Path("scene.bmp");
    WriteScene(ChosenFile);
    LeftClick({ssCtrl});
    ASSERT_TRUE(Reports.empty());
  }

  // Whether the lens pixel at (x, y) of dest shows source enlarged: its colour
  // is the scene's near the point it maps to (nearest neighbour, within a pixel).
  ::testing::AssertionResult ShowsEnlarged(const TRect& dest, const TRect& source, int32_t x,
                                           int32_t y) {
    const int64_t sx = source.Left + (int64_t{x - dest.Left} * source.Width()) / dest.Width();
    const int64_t sy = source.Top + (int64_t{y - dest.Top} * source.Height()) / dest.Height();
    const uint32_t pixel = PixelAt(x, y);
    for (int64_t dy = -1; dy <= 1; ++dy)
      for (int64_t dx = -1; dx <= 1; ++dx)
        if (pixel == Raw565(Scene(static_cast<int32_t>(sx + dx), static_cast<int32_t>(sy + dy))))
          return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel " << x << "," << y << " is " << pixel << ", not from near " << sx << "," << sy;
  }

  void ExpectLens(const TRect& dest, const TRect& source) {
    for (int32_t x : {dest.Left, (dest.Left + dest.Right) / 2, dest.Right - 1})
      for (int32_t y : {dest.Top, (dest.Top + dest.Bottom) / 2, dest.Bottom - 1})
        EXPECT_TRUE(ShowsEnlarged(dest, source, x, y));
    // Just outside the lens the picture is as drawn.
    if (dest.Right < 1024) {
      EXPECT_EQ(PixelAt(dest.Right, dest.Top), Raw565(Scene(dest.Right, dest.Top)));
    }
    if (dest.Top > 0) {
      EXPECT_EQ(PixelAt(dest.Left, dest.Top - 1), Raw565(Scene(dest.Left, dest.Top - 1)));
    }
  }
};

struct TLensCase {
  const char* name;
  int32_t Magnification;
  TPoint Pointer;
  TRect Source;
  TRect Dest;
};

class LensTest : public LensFixture, public testing::WithParamInterface<TLensCase> {};

TEST_P(LensTest, ShowsTheSourceAsDrawnEnlargedBesideThePointer) {
  const TLensCase& c = GetParam();
  Form1->Magnification = c.Magnification;
  LeftClick({});
  MoveTo(c.Pointer.X, c.Pointer.Y);
  EXPECT_EQ(Form1->DxDraw2->Left(), c.Dest.Left);
  EXPECT_EQ(Form1->DxDraw2->Top(), c.Dest.Top);
  ExpectLens(c.Dest, c.Source);
}

const TLensCase kLensCases[] = {
    {"Middle", 4, {500, 300}, {468, 268, 532, 332}, {515, 315, 772, 588}},
    {"NearTheRightEdge", 4, {800, 300}, {768, 268, 832, 332}, {533, 315, 790, 588}},
    {"NearTheBottomEdge", 4, {500, 600}, {468, 568, 532, 632}, {515, 317, 772, 590}},
    {"TopLeftCorner", 4, {10, 10}, {0, 0, 42, 42}, {25, 25, 282, 298}},
    {"BottomRightCorner", 4, {1020, 760}, {988, 728, 1024, 768}, {753, 477, 1010, 750}},
    {"FactorOne", 1, {500, 300}, {372, 172, 628, 428}, {515, 315, 772, 588}},
    {"FactorHundred", 100, {600, 300}, {599, 299, 601, 301}, {615, 315, 872, 588}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LensTest, testing::ValuesIn(kLensCases), CaseName());

using LensBehaviourTest = LensFixture;

TEST_F(LensBehaviourTest, LensFrameIsPresented) {
  LeftClick({});
  MoveTo(500, 300);
  for (auto [x, y] : {std::pair{515, 315}, {643, 451}, {771, 587}, {514, 315}})
    EXPECT_EQ(ScreenPixelAt(x, y), PixelAt(x, y)) << x << "," << y;
}

TEST_F(LensBehaviourTest, StaysPutWithoutAutoTracking) {
  Form1->N2->Click();
  LeftClick({});
  MoveTo(500, 300);
  EXPECT_EQ(Form1->DxDraw2->BoundsRect(), (TRect{104, 72, 361, 345}));
  ExpectLens({104, 72, 361, 345}, {468, 268, 532, 332});
  MoveTo(200, 600);
  ExpectLens({104, 72, 361, 345}, {168, 568, 232, 632});
}

TEST_F(LensBehaviourTest, OpaqueLensCopiesBlack) {
  LeftClick({});
  MoveTo(500, 300);
  // The lens middle maps into the black square.
  EXPECT_EQ(ScreenPixelAt(643, 451), 0u);
}

TEST_F(LensBehaviourTest, TransparentLensLetsThePictureShowThroughBlack) {
  Form1->N5->Click();
  LeftClick({});
  MoveTo(500, 300);
  EXPECT_EQ(ScreenPixelAt(643, 451), Raw565(Scene(643, 451)));
  EXPECT_TRUE(ShowsEnlarged({515, 315, 772, 588}, {468, 268, 532, 332}, 516, 316));
}

TEST_F(LensBehaviourTest, MovementsWithTheLensOffDrawNothing) {
  ClearBackSurface();
  MoveTo(500, 300);
  EXPECT_EQ(PixelAt(100, 100), 0u);
  EXPECT_EQ(Form1->DxDraw2->Left(), 104);
}

TEST_F(LensBehaviourTest, ClosingTheLensRedrawsAndPresents) {
  LeftClick({});
  MoveTo(500, 300);
  Form1->N3->Click();
  EXPECT_FALSE(Form1->LensOn);
  EXPECT_EQ(ScreenPixelAt(643, 451), Raw565(Scene(643, 451)));
}

TEST_F(LensBehaviourTest, ClickingTheLensOffLeavesTheLastImage) {
  LeftClick({});
  MoveTo(500, 300);
  LeftClick({});
  MoveTo(700, 300);
  EXPECT_EQ(ScreenPixelAt(643, 451), 0u);
}

TEST_F(LensBehaviourTest, PageChangeDropsTheLensUntilTheNextMovement) {
  LeftClick({});
  MoveTo(500, 300);
  Key(VK_LEFT);
  EXPECT_EQ(PixelAt(643, 451), Raw565(Scene(643 + 15, 451)));
}

TEST_F(LensBehaviourTest, LensSizesOfZeroOrLessDrawNoLens) {
  Form2->SpinEdit1->SetText("0");
  Form2->Button1->Click();
  LeftClick({});
  MoveTo(500, 300);
  EXPECT_EQ(PixelAt(500, 300), Raw565(Scene(500, 300)));
  Form2->SpinEdit1->SetText("-300");
  Form2->SpinEdit2->SetText("-300");
  Form2->Button1->Click();
  MoveTo(600, 400);
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(PixelAt(590, 390), Raw565(Scene(590, 390)));
  EXPECT_EQ(PixelAt(300, 100), Raw565(Scene(300, 100)));
}

TEST_F(LensBehaviourTest, DisplayControlWithoutWidthDrawsNoLens) {
  LeftClick({});
  Form1->DXDraw1->SetAlign(alNone);
  Form1->DXDraw1->SetBounds(0, 0, 0, 768);
  ClearBackSurface();
  MoveTo(500, 300);
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(PixelAt(100, 100), 0u);
  EXPECT_EQ(Form1->DxDraw2->Left(), 104);
}

TEST_F(LensBehaviourTest, NewFactorAppliesFromTheNextMovement) {
  LeftClick({});
  Form3->SpinEdit1->SetText("1");
  Form3->Button1->Click();
  MoveTo(500, 300);
  ExpectLens({515, 315, 772, 588}, {372, 172, 628, 428});
}

TEST_F(LensBehaviourTest, LensFramesAreOneRedrawApart) {
  LeftClick({});
  MoveTo(500, 300);
  MoveTo(200, 200);
  // Nothing of the first lens survives the second frame.
  EXPECT_EQ(PixelAt(700, 500), Raw565(Scene(700, 500)));
  ExpectLens({215, 215, 472, 488}, {168, 168, 232, 232});
}

TEST(PanelRectTest, PanelPositionTakenAsAScreenPoint) {
  TPanel panel(nullptr);
  panel.SetBounds(515, 315, 257, 273);
  TPanel display(nullptr);
  display.SetBounds(0, 0, 1024, 768);
  EXPECT_EQ(TForm1::PanelRectOnDisplay(panel, display), (TRect{515, 315, 772, 588}));
}

}  // namespace
