// Clipping by clip lists, windows and surface bounds; BltFast's refusal to clip;
// copies within one surface.
#include <cstring>

#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

DDBLTFX FillWith(uint32_t value) {
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwFillColor = value;
  return effects;
}

std::vector<uint32_t> Expected(int32_t width, int32_t height, const std::vector<TRect>& inside,
                               uint32_t value, uint32_t outside) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width * height), outside);
  for (const TRect& rect : inside) {
    for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
      for (int32_t x = rect.Left; x < rect.Right; ++x)
        pixels[static_cast<size_t>(y * width + x)] = value;
    }
  }
  return pixels;
}

class ClipTest : public DDrawTest {};

TEST_F(ClipTest, ClipListLimitsFillsToItsRectangles) {
  auto surface = MakeSurface(10, 8, 16);
  auto clipper = MakeClipList({{0, 0, 3, 3}, {6, 4, 12, 12}});
  ASSERT_EQ(surface->SetClipper(clipper.get()), DD_OK);
  DDBLTFX effects = FillWith(7);
  const TRect target{1, 1, 9, 7};
  ASSERT_EQ(surface->Blt(&target, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_EQ(ReadAll(surface.get()), Expected(10, 8, {{1, 1, 3, 3}, {6, 4, 9, 7}}, 7, 0));
}

TEST_F(ClipTest, AttachedClipperLetsTheTargetReachPastTheSurface) {
  auto surface = MakeSurface(6, 6, 32);
  auto clipper = MakeClipList({{-100, -100, 100, 100}});
  surface->SetClipper(clipper.get());
  DDBLTFX effects = FillWith(3);
  const TRect target{4, -2, 20, 2};
  ASSERT_EQ(surface->Blt(&target, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_EQ(ReadAll(surface.get()), Expected(6, 6, {{4, 0, 6, 2}}, 3, 0));
}

TEST_F(ClipTest, ClippedStretchKeepsTheSamplingGrid) {
  auto source = MakeSurface(5, 3, 16);
  FillPattern(source.get(), 8);
  auto whole = MakeSurface(13, 11, 16);
  auto clipped = MakeSurface(13, 11, 16);
  const TRect target{-3, 1, 12, 10};
  auto everything = MakeClipList({{-50, -50, 50, 50}});
  auto part = MakeClipList({{4, 3, 9, 8}});
  whole->SetClipper(everything.get());
  clipped->SetClipper(part.get());
  ASSERT_EQ(whole->Blt(&target, source.get(), nullptr, 0, nullptr), DD_OK);
  ASSERT_EQ(clipped->Blt(&target, source.get(), nullptr, 0, nullptr), DD_OK);
  const std::vector<uint32_t> all = ReadAll(whole.get());
  const std::vector<uint32_t> some = ReadAll(clipped.get());
  for (int32_t y = 0; y < 11; ++y) {
    for (int32_t x = 0; x < 13; ++x) {
      const size_t i = static_cast<size_t>(y * 13 + x);
      const bool inside = x >= 4 && x < 9 && y >= 3 && y < 8;
      EXPECT_EQ(some[i], inside ? all[i] : 0u) << x << "," << y;
    }
  }
}

TEST_F(ClipTest, WindowClipperFollowsTheWindowOnScreen) {
  FHost.windows[FakeWindow(7)] = TRect{2, 1, 5, 4};
  auto surface = MakeSurface(8, 6, 8);
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(FDevice->CreateClipper(0, &clipper, nullptr), DD_OK);
  TRef<IDirectDrawClipper> owned(clipper);
  ASSERT_EQ(clipper->SetHWnd(0, FakeWindow(7)), DD_OK);
  surface->SetClipper(clipper);
  DDBLTFX effects = FillWith(9);
  ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_EQ(ReadAll(surface.get()), Expected(8, 6, {{2, 1, 5, 4}}, 9, 0));

  FHost.windows.clear();  // hidden: nothing is drawn, and that is no error
  effects = FillWith(1);
  ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_EQ(ReadAll(surface.get()), Expected(8, 6, {{2, 1, 5, 4}}, 9, 0));
}

TEST_F(ClipTest, RegionBlockRoundTripsThroughTheClipper) {
  auto clipper = MakeClipList({{1, 2, 5, 6}, {-3, 4, 2, 9}});
  DWORD size = 0;
  ASSERT_EQ(clipper->GetClipList(nullptr, nullptr, &size), DD_OK);
  ASSERT_EQ(size, 64u);
  std::vector<char> block(size);
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  DWORD small = 48;
  EXPECT_EQ(clipper->GetClipList(nullptr, region, &small), DDERR_REGIONTOOSMALL);
  ASSERT_EQ(clipper->GetClipList(nullptr, region, &size), DD_OK);
  EXPECT_EQ(region->rdh.dwSize, 32u);
  EXPECT_EQ(region->rdh.iType, RDH_RECTANGLES);
  EXPECT_EQ(region->rdh.nCount, 2u);
  EXPECT_EQ(region->rdh.nRgnSize, 32u);
  EXPECT_EQ(region->rdh.rcBound, (TRect{-3, 2, 5, 9}));
  TRect rects[2];
  std::memcpy(rects, block.data() + 32, sizeof(rects));
  EXPECT_EQ(rects[0], (TRect{1, 2, 5, 6}));
  EXPECT_EQ(rects[1], (TRect{-3, 4, 2, 9}));
}

TEST_F(ClipTest, EmptyClipListDrawsNothing) {
  auto surface = MakeSurface(4, 4, 16);
  auto clipper = MakeClipList({});
  surface->SetClipper(clipper.get());
  DDBLTFX effects = FillWith(5);
  ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_EQ(ReadAll(surface.get()), std::vector<uint32_t>(16, 0));
}

TEST_F(ClipTest, MalformedRegionHeadersAreRefused) {
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(FDevice->CreateClipper(0, &clipper, nullptr), DD_OK);
  TRef<IDirectDrawClipper> owned(clipper);
  for (const RGNDATAHEADER& header :
       {RGNDATAHEADER{40, 1, 0, 0, {}}, RGNDATAHEADER{32, 2, 0, 0, {}},
        RGNDATAHEADER{32, 1, 0xFFFFFFFF, 0, {}}}) {
    EXPECT_EQ(clipper->SetClipList(reinterpret_cast<const RGNDATA*>(&header), 0),
              DDERR_INVALIDPARAMS);
  }
}

TEST_F(ClipTest, TheFollowedWindowShowsTheScreenUnderIt) {
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(FDevice->CreateClipper(0, &clipper, nullptr), DD_OK);
  TRef<IDirectDrawClipper> owned(clipper);
  HWND window = FakeWindow(1);
  ASSERT_EQ(clipper->SetHWnd(0, FakeWindow(3)), DD_OK);
  ASSERT_EQ(clipper->GetHWnd(&window), DD_OK);
  EXPECT_EQ(window, FakeWindow(3));
  EXPECT_EQ(FHost.viewers, std::set<HWND>{FakeWindow(3)});
  ASSERT_EQ(clipper->SetHWnd(0, FakeWindow(4)), DD_OK);
  EXPECT_EQ(FHost.viewers, std::set<HWND>{FakeWindow(4)});
  owned.reset();
  EXPECT_TRUE(FHost.viewers.empty());
}

TEST_F(ClipTest, ClipperWithNothingSetReportsNoClipList) {
  auto surface = MakeSurface(4, 4, 16);
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(FDevice->CreateClipper(0, &clipper, nullptr), DD_OK);
  TRef<IDirectDrawClipper> owned(clipper);
  surface->SetClipper(clipper);
  DDBLTFX effects = FillWith(1);
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DDERR_NOCLIPLIST);
}

TEST_F(ClipTest, BltFastRefusesWhileAClipperIsAttachedAndWorksAfterwards) {
  auto source = MakeSurface(3, 3, 16);
  auto target = MakeSurface(6, 6, 16);
  FillPattern(source.get(), 2);
  auto clipper = MakeClipList({{0, 0, 6, 6}});
  target->SetClipper(clipper.get());
  EXPECT_EQ(target->BltFast(1, 1, source.get(), nullptr, DDBLTFAST_WAIT), DDERR_BLTFASTCANTCLIP);
  EXPECT_EQ(ReadAll(target.get()), std::vector<uint32_t>(36, 0));
  IDirectDrawClipper* attached = nullptr;
  ASSERT_EQ(target->GetClipper(&attached), DD_OK);
  EXPECT_EQ(attached, clipper.get());
  attached->Release();
  ASSERT_EQ(target->SetClipper(nullptr), DD_OK);
  EXPECT_EQ(target->GetClipper(&attached), DDERR_NOCLIPPERATTACHED);
  ASSERT_EQ(target->BltFast(1, 1, source.get(), nullptr, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(PixelAt(target.get(), 1, 1), PixelAt(source.get(), 0, 0));
  EXPECT_EQ(PixelAt(target.get(), 3, 3), PixelAt(source.get(), 2, 2));
}

struct BltFastBounds {
  DWORD x;
  DWORD y;
  TRect source;
  HRESULT expected;
};
void PrintTo(const BltFastBounds& sample, std::ostream* out) {
  *out << sample.x << "," << sample.y << " from " << sample.source.Left << "," << sample.source.Top
       << "," << sample.source.Right << "," << sample.source.Bottom;
}

class BltFastBoundsTest : public DDrawTest, public ::testing::WithParamInterface<BltFastBounds> {};

TEST_P(BltFastBoundsTest, ChecksBothSurfaces) {
  auto source = MakeSurface(4, 4, 24);
  auto target = MakeSurface(6, 6, 24);
  FillPattern(source.get(), 1);
  EXPECT_EQ(target->BltFast(GetParam().x, GetParam().y, source.get(), &GetParam().source, 0),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BltFastBoundsTest,
                         ::testing::Values(BltFastBounds{2, 2, {0, 0, 4, 4}, DD_OK},
                                           BltFastBounds{3, 2, {0, 0, 4, 4}, DDERR_INVALIDRECT},
                                           BltFastBounds{0, 3, {0, 0, 4, 4}, DDERR_INVALIDRECT},
                                           BltFastBounds{
                                               0xFFFFFFFFu, 0, {0, 0, 1, 1}, DDERR_INVALIDRECT},
                                           BltFastBounds{0, 0, {3, 3, 5, 5}, DDERR_INVALIDRECT},
                                           BltFastBounds{0, 0, {2, 2, 2, 3}, DDERR_INVALIDRECT}));

// Copies within one surface read the whole source before writing, whatever
// the direction or scale.
struct OverlapCase {
  const char* name;
  TRect source;
  TRect dest;
};
void PrintTo(const OverlapCase& sample, std::ostream* out) { *out << sample.name; }

class OverlapTest : public DDrawTest,
                    public ::testing::WithParamInterface<std::tuple<uint32_t, OverlapCase>> {};

TEST_P(OverlapTest, GivesWhatACopyFromASnapshotGives) {
  const auto& [bits, sample] = GetParam();
  auto surface = MakeSurface(40, 30, bits);
  auto snapshot = MakeSurface(40, 30, bits);
  auto expected = MakeSurface(40, 30, bits);
  FillPattern(surface.get(), 11);
  FillPattern(snapshot.get(), 11);
  FillPattern(expected.get(), 11);
  for (const DWORD flags : {DWORD{0}, DWORD{DDBLT_KEYSRC}}) {
    ASSERT_EQ(expected->Blt(&sample.dest, snapshot.get(), &sample.source, flags, nullptr), DD_OK);
    ASSERT_EQ(surface->Blt(&sample.dest, surface.get(), &sample.source, flags, nullptr), DD_OK);
    ASSERT_EQ(ReadAll(surface.get()), ReadAll(expected.get()));
    ASSERT_EQ(snapshot->Blt(nullptr, expected.get(), nullptr, 0, nullptr), DD_OK);
  }
}

const OverlapCase kOverlaps[] = {
    {"RightByOne", {0, 0, 30, 20}, {1, 0, 31, 20}},
    {"LeftByOne", {1, 0, 31, 20}, {0, 0, 30, 20}},
    {"DownByTwo", {0, 0, 30, 20}, {0, 2, 30, 22}},
    {"UpAndLeft", {5, 5, 35, 25}, {2, 3, 32, 23}},
    {"LensEnlarges", {10, 8, 18, 16}, {4, 2, 30, 28}},
    {"Shrinks", {0, 0, 40, 30}, {3, 3, 23, 18}},
};

INSTANTIATE_TEST_SUITE_P(Cases, OverlapTest,
                         ::testing::Combine(::testing::Values(8u, 16u, 24u, 32u),
                                            ::testing::ValuesIn(kOverlaps)));

}  // namespace
