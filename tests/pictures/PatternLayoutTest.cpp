// Cutting a picture into surfaces and patterns.
#include <gtest/gtest.h>

#include "pictures/PatternLayout.h"
#include "tests/support/CaseName.h"

namespace {

struct LayoutCase {
  const char* name;
  TPatternGeometry geometry;
  std::vector<TRect> surfaces;
  size_t patternCount;
  size_t probeIndex;  // a pattern checked in full (when patternCount > 0)
  TPatternPlace probe;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LayOutPatternsTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayOutPatternsTest, GivesTheSurfacesAndPatterns) {
  const LayoutCase& c = GetParam();
  const TPatternLayout layout = LayOutPatterns(c.geometry);
  EXPECT_EQ(layout.Surfaces, c.surfaces);
  ASSERT_EQ(layout.Patterns.size(), c.patternCount);
  if (c.patternCount > 0) {
    EXPECT_EQ(layout.Patterns[c.probeIndex], c.probe);
  }
  for (const TPatternPlace& p : layout.Patterns) {
    ASSERT_GE(p.SurfaceIndex, 0);
    ASSERT_LT(static_cast<size_t>(p.SurfaceIndex), layout.Surfaces.size());
  }
}

// PictureWidth, PictureHeight, PatternWidth, PatternHeight, SkipWidth, SkipHeight, SystemMemory
INSTANTIATE_TEST_SUITE_P(
    Cases, LayOutPatternsTest,
    ::testing::Values(
        LayoutCase{"whole picture",
                   {640, 480, 0, 0, 0, 0, false},
                   {{0, 0, 640, 480}},
                   1,
                   0,
                   {{0, 0, 640, 480}, 0}},
        LayoutCase{"whole picture ignores skips",
                   {640, 480, 0, -3, 7, 9, false},
                   {{0, 0, 640, 480}},
                   1,
                   0,
                   {{0, 0, 640, 480}, 0}},
        LayoutCase{"pattern of the picture's size",
                   {64, 48, 64, 48, 0, 0, true},
                   {{0, 0, 64, 48}},
                   1,
                   0,
                   {{0, 0, 64, 48}, 0}},
        LayoutCase{
            "empty picture", {0, 0, 0, 0, 0, 0, false}, {{0, 0, 0, 0}}, 1, 0, {{0, 0, 0, 0}, 0}},
        LayoutCase{"video tiles",
                   {1000, 300, 100, 100, 0, 0, false},
                   {{0, 0, 600, 300}, {600, 0, 1000, 300}},
                   30,
                   17,
                   {{100, 100, 200, 200}, 1}},
        LayoutCase{"video tiles first pattern",
                   {1000, 300, 100, 100, 0, 0, false},
                   {{0, 0, 600, 300}, {600, 0, 1000, 300}},
                   30,
                   0,
                   {{0, 0, 100, 100}, 0}},
        LayoutCase{"system memory",
                   {1000, 300, 100, 100, 0, 0, true},
                   {{0, 0, 1000, 300}},
                   30,
                   17,
                   {{700, 100, 800, 200}, 0}},
        LayoutCase{"skip leaves a strip",
                   {100, 30, 30, 30, 10, 0, true},
                   {{0, 0, 100, 30}},
                   2,
                   1,
                   {{40, 0, 70, 30}, 0}},
        LayoutCase{
            "video tiles in two rows",
            {1200, 1200, 200, 200, 0, 0, false},
            {{0, 0, 600, 600}, {600, 0, 1200, 600}, {0, 600, 600, 1200}, {600, 600, 1200, 1200}},
            36,
            35,
            {{400, 400, 600, 600}, 3}},
        LayoutCase{"video tile of whole cells with skips",
                   {700, 100, 90, 100, 10, 0, false},
                   {{0, 0, 600, 100}, {600, 0, 700, 100}},
                   7,
                   6,
                   {{0, 0, 90, 100}, 1}},
        LayoutCase{"pattern wider than the picture, system memory",
                   {100, 100, 150, 50, 0, 0, true},
                   {{0, 0, 100, 100}},
                   0,
                   0,
                   {}},
        LayoutCase{"pattern wider than the picture, video memory",
                   {100, 100, 150, 50, 0, 0, false},
                   {},
                   0,
                   0,
                   {}},
        LayoutCase{"cell of zero, system memory",
                   {100, 100, 50, 50, -50, 0, true},
                   {{0, 0, 100, 100}},
                   0,
                   0,
                   {}},
        LayoutCase{"cell of zero, video memory", {100, 100, 50, 50, -50, 0, false}, {}, 0, 0, {}},
        LayoutCase{"negative cell", {100, 100, 50, 50, 0, -70, false}, {}, 0, 0, {}},
        LayoutCase{"tile narrower than a pattern",
                   {100000, 10, 99999, 10, -99998, 0, false},
                   {},
                   0,
                   0,
                   {}},
        LayoutCase{
            "zero width with a skip, video memory", {0, 10, 0, 5, 3, 0, false}, {}, 0, 0, {}},
        LayoutCase{"zero width with a skip, system memory",
                   {0, 10, 0, 5, 3, 0, true},
                   {{0, 0, 0, 10}},
                   0,
                   0,
                   {}},
        LayoutCase{
            "zero height with a skip, video memory", {10, 0, 5, 0, 0, 4, false}, {}, 0, 0, {}},
        LayoutCase{
            "empty picture with a pattern, video memory", {0, 0, 8, 8, 2, 2, false}, {}, 0, 0, {}},
        LayoutCase{"empty picture with a pattern, system memory",
                   {0, 0, 8, 8, 0, 0, true},
                   {{0, 0, 0, 0}},
                   0,
                   0,
                   {}},
        LayoutCase{"huge skip",
                   {100, 100, 10, 10, 2147483647, 0, true},
                   {{0, 0, 100, 100}},
                   10,
                   9,
                   {{0, 90, 10, 100}, 0}}),
    CaseName());

}  // namespace
