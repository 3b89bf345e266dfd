#include <gtest/gtest.h>

#include <climits>

#include "app/LensGeometry.h"
#include "tests/support/CaseName.h"

namespace {

// The viewer's full-screen arrangement: control and surface 1024 x 768 at the origin.
TLensLayout Layout(int32_t lensWidth = 257, int32_t lensHeight = 273, int32_t magnification = 4) {
  return {1024, 768, TRect{0, 0, 1024, 768}, lensWidth, lensHeight, magnification};
}

struct TSourceCase {
  const char* name;
  TLensLayout Layout;
  TPoint Pointer;
  TRect Source;
};

class LensSourceTest : public testing::TestWithParam<TSourceCase> {};

TEST_P(LensSourceTest, SquareAroundThePointerClampedEdgeByEdge) {
  const TSourceCase& c = GetParam();
  std::optional<TRect> source = LensSourceRect(c.Layout, c.Pointer);
  ASSERT_TRUE(source);
  EXPECT_EQ(*source, c.Source);
}

const TSourceCase kSourceCases[] = {
    {"Middle", Layout(), {500, 300}, {468, 268, 532, 332}},
    {"TopLeftCorner", Layout(), {10, 10}, {0, 0, 42, 42}},
    {"BottomRightCorner", Layout(), {1020, 760}, {988, 728, 1024, 768}},
    {"FactorOne", Layout(257, 273, 1), {500, 300}, {372, 172, 628, 428}},
    {"FactorHundred", Layout(257, 273, 100), {500, 300}, {499, 299, 501, 301}},
    {"LensNarrowerThanTwiceTheFactor", Layout(7, 273, 4), {500, 300}, {500, 300, 500, 300}},
    {"ControlWiderThanSurface",
     {1024, 768, TRect{0, 0, 2048, 768}, 257, 273, 4},
     {900, 300},
     {0, 268, 32, 332}},
    {"HalfSizeControlDoublesThePointer",
     {1024, 768, TRect{0, 0, 512, 384}, 257, 273, 4},
     {100, 100},
     {168, 168, 232, 232}},
    {"ControlOffsetWidensTheRightLimit",
     {1024, 768, TRect{10, 20, 1034, 788}, 257, 273, 4},
     {1020, 760},
     {988, 728, 1034, 788}},
    {"NegativeLensInvertsTheSquare", Layout(-80, 273, 4), {500, 300}, {510, 310, 490, 290}},
    {"HugeLensStaysInRange", Layout(INT_MAX, 273, 1), {500, 300}, {0, 0, 1024, 768}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LensSourceTest, testing::ValuesIn(kSourceCases), CaseName());

TEST(LensSourceTest, NothingToDivideByGivesNoSource) {
  EXPECT_FALSE(LensSourceRect({1024, 768, TRect{0, 0, 0, 768}, 257, 273, 4}, {5, 5}));
  EXPECT_FALSE(LensSourceRect({1024, 768, TRect{0, 0, 1024, 0}, 257, 273, 4}, {5, 5}));
  EXPECT_FALSE(LensSourceRect(Layout(257, 273, 0), {5, 5}));
}

TEST(LensHalfExtentTest, DividesTwiceTowardZero) {
  EXPECT_EQ(LensHalfExtent(257, 4), 32);
  EXPECT_EQ(LensHalfExtent(257, 1), 128);
  EXPECT_EQ(LensHalfExtent(257, 100), 1);
  EXPECT_EQ(LensHalfExtent(7, 4), 0);
  EXPECT_EQ(LensHalfExtent(-257, 4), -32);
}

struct TTrackCase {
  const char* name;
  TLensLayout Layout;
  TPoint Pointer;
  TPoint Position;
};

class LensTrackingTest : public testing::TestWithParam<TTrackCase> {};

TEST_P(LensTrackingTest, StandsBesideThePointerOrFlipsAtTheEdges) {
  const TTrackCase& c = GetParam();
  EXPECT_EQ(TrackedLensPosition(c.Layout, c.Pointer, c.Pointer), c.Position);
}

const TTrackCase kTrackCases[] = {
    {"RightAndBelow", Layout(), {500, 300}, {515, 315}},
    {"LeftNearTheRightEdge", Layout(), {800, 300}, {533, 315}},
    {"AboveNearTheBottomEdge", Layout(), {500, 600}, {515, 317}},
    {"BothNearTheCorner", Layout(), {1020, 760}, {753, 477}},
    {"JustRoomOnTheRight", Layout(), {756, 300}, {771, 315}},
    {"OnePixelShortOnTheRight", Layout(), {757, 300}, {490, 315}},
    {"ZeroLensFlipsOnlyAtTheEdge", Layout(0, 0, 4), {1014, 758}, {1004, 748}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LensTrackingTest, testing::ValuesIn(kTrackCases), CaseName());

TEST(LensTrackingTest, UsesTheCursorForPlaceAndThePointerForTheEdgeTest) {
  // The pointer decides the flip; the screen position of the cursor is what moves.
  EXPECT_EQ(TrackedLensPosition(Layout(), {800, 300}, {900, 400}), (TPoint{633, 415}));
}

TEST(RectAtTest, HoldsFarEdgesInRange) {
  EXPECT_EQ(RectAt({515, 315}, 257, 273), (TRect{515, 315, 772, 588}));
  EXPECT_EQ(RectAt({10, 10}, 0, -40), (TRect{10, 10, 10, -30}));
  EXPECT_EQ(RectAt({INT_MAX - 5, 0}, 100, 1), (TRect{INT_MAX - 5, 0, INT_MAX, 1}));
}

}  // namespace
