// Which native copies a surface asks for: fast path, clipper path, mirroring, stretching.
#include <gtest/gtest.h>

#include "device/DXErrors.h"
#include "device/DirectDrawClipper.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"
#include "tests/surface/FakeSurface.h"

namespace {

constexpr DWORD kBlt = DDBLT_WAIT;
constexpr DWORD kBltKey = DDBLT_KEYSRC | DDBLT_WAIT;
constexpr DWORD kFast = DDBLTFAST_WAIT;
constexpr DWORD kFastKey = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT;

// A destination of 200 x 100 and a source of 100 x 50, both fakes.
class FakeSurfaceTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    FDest = std::make_unique<TDirectDrawSurface>(Device());
    FSource = std::make_unique<TDirectDrawSurface>(Device());
  }
  void TearDown() override {
    FDest.reset();
    FSource.reset();
    DeviceTest::TearDown();
  }
  void Attach() {
    FDest->SetNativeSurface(&FDestNative);
    FSource->SetNativeSurface(&FSourceNative);
    FDestNative.FCalls.clear();
  }

  TFakeSurface FDestNative{200, 100};
  TFakeSurface FSourceNative{100, 50};
  TFakeClipper FClipper;
  std::unique_ptr<TDirectDrawSurface> FDest, FSource;
};

struct DrawCase {
  const char* name;
  int32_t x, y;
  TRect sourceRect;
  bool transparent;
  bool clipperAttached;
  bool expectCopy;
  TRecordedCall::Kind kind;
  TRect dest;  // the destination rectangle, or its top-left for BltFast
  TRect source;
  DWORD flags;
  DWORD ddfx;
};
void PrintTo(const DrawCase& c, std::ostream* os) { *os << c.name; }

class DrawTest : public FakeSurfaceTest, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(DrawTest, AsksForTheExpectedCopy) {
  const DrawCase& c = GetParam();
  if (c.clipperAttached) FDestNative.FAttachedClipper = &FClipper;
  Attach();
  EXPECT_EQ(FDest->ClipperAttached(), c.clipperAttached);
  FDest->Draw(c.x, c.y, c.sourceRect, FSource.get(), c.transparent);
  if (!c.expectCopy) {
    EXPECT_TRUE(FDestNative.FCalls.empty());
    return;
  }
  ASSERT_EQ(FDestNative.FCalls.size(), 1u);
  const TRecordedCall& call = FDestNative.FCalls[0];
  EXPECT_EQ(call.kind, c.kind);
  EXPECT_EQ(call.sourceSurface, static_cast<IDirectDrawSurface*>(&FSourceNative));
  if (c.kind == TRecordedCall::kBltFast) {
    EXPECT_EQ(call.x, static_cast<DWORD>(c.dest.Left));
    EXPECT_EQ(call.y, static_cast<DWORD>(c.dest.Top));
  } else {
    EXPECT_EQ(call.dest, c.dest);
    EXPECT_EQ(call.ddfx, c.ddfx);
  }
  EXPECT_EQ(call.source, c.source);
  EXPECT_EQ(call.flags, c.flags);
}

using K = TRecordedCall::Kind;
INSTANTIATE_TEST_SUITE_P(Cases, DrawTest,
                         ::testing::Values(DrawCase{"fast path",
                                                    10,
                                                    20,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBltFast,
                                                    {10, 20, 0, 0},
                                                    {0, 0, 100, 50},
                                                    kFast,
                                                    0},
                                           DrawCase{"fast path with key",
                                                    10,
                                                    20,
                                                    {0, 0, 100, 50},
                                                    true,
                                                    false,
                                                    true,
                                                    K::kBltFast,
                                                    {10, 20, 0, 0},
                                                    {0, 0, 100, 50},
                                                    kFastKey,
                                                    0},
                                           DrawCase{"negative x keeps the part right of 0",
                                                    -10,
                                                    0,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBltFast,
                                                    {0, 0, 0, 0},
                                                    {10, 0, 100, 50},
                                                    kFast,
                                                    0},
                                           DrawCase{"past the right edge",
                                                    150,
                                                    60,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBltFast,
                                                    {150, 60, 0, 0},
                                                    {0, 0, 50, 40},
                                                    kFast,
                                                    0},
                                           DrawCase{"x at the width",
                                                    200,
                                                    0,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    false,
                                                    false,
                                                    K::kBltFast,
                                                    {},
                                                    {},
                                                    0,
                                                    0},
                                           DrawCase{"x beyond the width",
                                                    201,
                                                    0,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    false,
                                                    false,
                                                    K::kBltFast,
                                                    {},
                                                    {},
                                                    0,
                                                    0},
                                           DrawCase{"y at the height",
                                                    0,
                                                    100,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    false,
                                                    false,
                                                    K::kBltFast,
                                                    {},
                                                    {},
                                                    0,
                                                    0},
                                           DrawCase{"empty source rectangle",
                                                    0,
                                                    0,
                                                    {5, 5, 5, 5},
                                                    false,
                                                    false,
                                                    false,
                                                    K::kBltFast,
                                                    {},
                                                    {},
                                                    0,
                                                    0},
                                           DrawCase{"source rectangle beyond the source",
                                                    0,
                                                    0,
                                                    {90, 0, 120, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBltFast,
                                                    {0, 0, 0, 0},
                                                    {90, 0, 100, 50},
                                                    kFast,
                                                    0},
                                           DrawCase{"clipper attached",
                                                    10,
                                                    20,
                                                    {0, 0, 100, 50},
                                                    false,
                                                    true,
                                                    true,
                                                    K::kBlt,
                                                    {10, 20, 110, 70},
                                                    {0, 0, 100, 50},
                                                    kBlt,
                                                    0},
                                           DrawCase{"clipper attached with key",
                                                    -5,
                                                    -5,
                                                    {0, 0, 100, 50},
                                                    true,
                                                    true,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 95, 45},
                                                    {5, 5, 100, 50},
                                                    kBltKey,
                                                    0},
                                           DrawCase{"mirror left-right",
                                                    0,
                                                    0,
                                                    {100, 0, 0, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 100, 50},
                                                    {0, 0, 100, 50},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT},
                                           DrawCase{"mirror left-right at -10",
                                                    -10,
                                                    0,
                                                    {100, 0, 0, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 90, 50},
                                                    {0, 0, 90, 50},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT},
                                           DrawCase{"mirror left-right past the right",
                                                    150,
                                                    0,
                                                    {100, 0, 0, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {150, 0, 200, 50},
                                                    {50, 0, 100, 50},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT},
                                           DrawCase{"mirror up-down at -10",
                                                    0,
                                                    -10,
                                                    {0, 50, 100, 0},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 100, 40},
                                                    {0, 0, 100, 40},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORUPDOWN},
                                           DrawCase{"mirror both with key",
                                                    0,
                                                    0,
                                                    {100, 50, 0, 0},
                                                    true,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 100, 50},
                                                    {0, 0, 100, 50},
                                                    kBltKey | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT | DDBLTFX_MIRRORUPDOWN},
                                           DrawCase{"mirror with a clipper attached",
                                                    0,
                                                    0,
                                                    {100, 0, 0, 50},
                                                    false,
                                                    true,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 100, 50},
                                                    {0, 0, 100, 50},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT},
                                           DrawCase{"mirror of a narrow strip keeps its columns",
                                                    0,
                                                    0,
                                                    {50, 0, 20, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {0, 0, 30, 50},
                                                    {20, 0, 50, 50},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT},
                                           DrawCase{"mirror of a strip past the source",
                                                    0,
                                                    0,
                                                    {120, 0, 80, 50},
                                                    false,
                                                    false,
                                                    true,
                                                    K::kBlt,
                                                    {20, 0, 40, 50},
                                                    {80, 0, 100, 50},
                                                    kBlt | DDBLT_DDFX,
                                                    DDBLTFX_MIRRORLEFTRIGHT},
                                           DrawCase{"mirror wholly left of 0",
                                                    -100,
                                                    0,
                                                    {100, 0, 0, 50},
                                                    false,
                                                    false,
                                                    false,
                                                    K::kBlt,
                                                    {},
                                                    {},
                                                    0,
                                                    0},
                                           DrawCase{"mirror wholly above 0",
                                                    0,
                                                    -50,
                                                    {0, 50, 100, 0},
                                                    false,
                                                    false,
                                                    false,
                                                    K::kBlt,
                                                    {},
                                                    {},
                                                    0,
                                                    0}),
                         CaseName());

TEST_F(FakeSurfaceTest, DrawWithoutSourceDoesNothing) {
  Attach();
  FDest->Draw(0, 0, {0, 0, 10, 10}, nullptr, false);
  FDest->StretchDraw({0, 0, 10, 10}, {0, 0, 10, 10}, nullptr, false);
  EXPECT_TRUE(FDestNative.FCalls.empty());
}

TEST_F(FakeSurfaceTest, BltFastRefusedForAClipperFallsBackToBlt) {
  Attach();
  FDestNative.FAttachedClipper = &FClipper;  // attached after the surface was set
  EXPECT_FALSE(FDest->ClipperAttached());
  FDest->Draw(10, 10, {0, 0, 100, 50}, FSource.get(), true);
  ASSERT_EQ(FDestNative.FCalls.size(), 2u);
  EXPECT_EQ(FDestNative.FCalls[0].kind, TRecordedCall::kBltFast);
  EXPECT_EQ(FDestNative.FCalls[1].kind, TRecordedCall::kBlt);
  EXPECT_EQ(FDestNative.FCalls[1].dest, (TRect{10, 10, 110, 60}));
  EXPECT_EQ(FDestNative.FCalls[1].flags, kBltKey);
  EXPECT_TRUE(FDest->ClipperAttached());
  // From now on the fast path is skipped.
  FDest->Draw(0, 0, {0, 0, 100, 50}, FSource.get(), false);
  EXPECT_EQ(FDestNative.FCalls.back().kind, TRecordedCall::kBlt);
  EXPECT_EQ(FClipper.FRefs, 1u);
}

struct StretchCase {
  const char* name;
  TRect dest, source;
};
void PrintTo(const StretchCase& c, std::ostream* os) { *os << c.name; }

class StretchNothingTest : public FakeSurfaceTest,
                           public ::testing::WithParamInterface<StretchCase> {};

TEST_P(StretchNothingTest, EmptyOrReversedRectanglesCopyNothing) {
  Attach();
  FDest->StretchDraw(GetParam().dest, GetParam().source, FSource.get(), false);
  EXPECT_TRUE(FDestNative.FCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StretchNothingTest,
    ::testing::Values(StretchCase{"empty dest", {0, 0, 0, 10}, {0, 0, 10, 10}},
                      StretchCase{"reversed dest", {10, 0, 0, 10}, {0, 0, 10, 10}},
                      StretchCase{"flat dest", {0, 5, 10, 5}, {0, 0, 10, 10}},
                      StretchCase{"empty source", {0, 0, 10, 10}, {3, 0, 3, 10}},
                      StretchCase{"reversed source", {0, 0, 10, 10}, {0, 10, 10, 0}}),
    CaseName());

TEST_F(FakeSurfaceTest, StretchDrawAttachesItsClipperOnlyForTheCopy) {
  Attach();
  FDest->StretchDraw({-50, -50, 300, 300}, {0, 0, 100, 50}, FSource.get(), true);
  ASSERT_EQ(FDestNative.FCalls.size(), 3u);
  IDirectDrawClipper* kept = FDest->StretchClipper();
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(FDestNative.FCalls[0].kind, TRecordedCall::kSetClipper);
  EXPECT_EQ(FDestNative.FCalls[0].clipper, kept);
  EXPECT_EQ(FDestNative.FCalls[1].kind, TRecordedCall::kBlt);
  EXPECT_EQ(FDestNative.FCalls[1].dest, (TRect{-50, -50, 300, 300}));
  EXPECT_EQ(FDestNative.FCalls[1].flags, kBltKey);
  EXPECT_EQ(FDestNative.FCalls[2].kind, TRecordedCall::kSetClipper);
  EXPECT_EQ(FDestNative.FCalls[2].clipper, nullptr);
  EXPECT_FALSE(FDest->ClipperAttached());
  // The wrapper is gone from the device; the native clipper is kept and reused.
  EXPECT_EQ(Device().Clippers().Count(), 0);
  FDest->StretchDraw({0, 0, 10, 10}, {0, 0, 100, 50}, FSource.get(), false);
  EXPECT_EQ(FDest->StretchClipper(), kept);
  EXPECT_EQ(FDestNative.FCalls[4].flags, kBlt);
  // Draw keeps the fast path.
  FDest->Draw(0, 0, {0, 0, 10, 10}, FSource.get(), false);
  EXPECT_EQ(FDestNative.FCalls.back().kind, TRecordedCall::kBltFast);
}

TEST_F(FakeSurfaceTest, StretchDrawWithAClipperUsesBltAlone) {
  FDestNative.FAttachedClipper = &FClipper;
  Attach();
  FDest->StretchDraw({0, 0, 10, 10}, {0, 0, 100, 50}, FSource.get(), false);
  ASSERT_EQ(FDestNative.FCalls.size(), 1u);
  EXPECT_EQ(FDestNative.FCalls[0].kind, TRecordedCall::kBlt);
  EXPECT_EQ(FDest->StretchClipper(), nullptr);
}

TEST_F(FakeSurfaceTest, StretchDrawOntoAnEmptySurfaceRaises) {
  FSource->SetNativeSurface(&FSourceNative);
  try {
    FDest->StretchDraw({0, 0, 10, 10}, {0, 0, 10, 10}, FSource.get(), false);
    FAIL() << "no error";
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), "IDirectDrawSurface not made");
  }
}

TEST_F(FakeSurfaceTest, NewNativeSurfaceDropsTheStretchClipper) {
  Attach();
  FDest->StretchDraw({0, 0, 10, 10}, {0, 0, 100, 50}, FSource.get(), false);
  ASSERT_NE(FDest->StretchClipper(), nullptr);
  TFakeSurface other{20, 20};
  FDest->SetNativeSurface(&other);
  EXPECT_EQ(FDest->StretchClipper(), nullptr);
  EXPECT_EQ(FDest->Width(), 20);
  FDest->SetNativeSurface(nullptr);
  EXPECT_EQ(other.FRefs, 1u);
}

TEST_F(FakeSurfaceTest, HoldsEveryInterfaceUntilEmptied) {
  Attach();
  EXPECT_EQ(FDest->RequiredSurface(), static_cast<IDirectDrawSurface*>(&FDestNative));
  EXPECT_NE(FDest->RequiredSurface4(), nullptr);
  EXPECT_NE(FDest->RequiredSurface7(), nullptr);
  EXPECT_EQ(FDest->ClientRect(), (TRect{0, 0, 200, 100}));
  EXPECT_EQ(FDest->BitCount(), 16);
  EXPECT_GT(FDestNative.FRefs, 1u);
  FDest->SetNativeSurface(&FDestNative);  // the same surface again changes nothing
  FDest->SetNativeSurface(nullptr);
  EXPECT_EQ(FDestNative.FRefs, 1u);
  EXPECT_EQ(FDest->Width(), 0);
  EXPECT_EQ(FDest->Description().dwSize, 0u);
}

TEST_F(FakeSurfaceTest, ASurfaceWithoutTheNewestInterfaceIsRefused) {
  FDestNative.FAnswers7 = false;
  EXPECT_THROW(FDest->SetNativeSurface(&FDestNative), EIntfCastError);
  EXPECT_EQ(FDest->NativeSurface(), nullptr);
  EXPECT_EQ(FDestNative.FRefs, 1u);
}

struct RequiredCase {
  const char* name;
  IUnknown* (*ask)(TDirectDrawSurface&);
  const char* message;
};
void PrintTo(const RequiredCase& c, std::ostream* os) { *os << c.name; }

class RequiredSurfaceTest : public DeviceTest,
                            public ::testing::WithParamInterface<RequiredCase> {};

TEST_P(RequiredSurfaceTest, EmptySurfaceNamesTheMissingInterface) {
  TDirectDrawSurface surface(Device());
  try {
    GetParam().ask(surface);
    FAIL() << "no error";
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequiredSurfaceTest,
    ::testing::Values(
        RequiredCase{"v1", [](TDirectDrawSurface& s) -> IUnknown* { return s.RequiredSurface(); },
                     "IDirectDrawSurface not made"},
        RequiredCase{"v4", [](TDirectDrawSurface& s) -> IUnknown* { return s.RequiredSurface4(); },
                     "IDirectDrawSurface4 not made"},
        RequiredCase{"v7", [](TDirectDrawSurface& s) -> IUnknown* { return s.RequiredSurface7(); },
                     "IDirectDrawSurface7 not made"}),
    CaseName());

TEST_F(FakeSurfaceTest, EmptySurfaceMakesNoNativeCalls) {
  EXPECT_FALSE(FDest->Fill(0));
  EXPECT_FALSE(FDest->Restore());
  EXPECT_FALSE(FDest->Blt(nullptr, nullptr, 0, DDBLTFX{}, FSource.get()));
  EXPECT_FALSE(FDest->BltFast(0, 0, FSource.get(), nullptr, 0));
  FDest->SetTransparentColor(5);
  EXPECT_EQ(FDest->LastResult(), DD_OK);
  EXPECT_EQ(TDirectDrawSurface::NativeOf(nullptr), nullptr);
}

TEST_F(FakeSurfaceTest, TransparentColorSetsTheSourceKey) {
  Attach();
  FDest->SetTransparentColor(0x1234);
  ASSERT_EQ(FDestNative.FCalls.size(), 1u);
  EXPECT_EQ(FDestNative.FCalls[0].kind, TRecordedCall::kSetColorKey);
  EXPECT_EQ(FDestNative.FCalls[0].flags, DDCKEY_SRCBLT);
  EXPECT_EQ(FDestNative.FCalls[0].x, 0x1234u);
  EXPECT_EQ(FDestNative.FCalls[0].y, 0x1234u);
}

TEST_F(FakeSurfaceTest, ClipperSetterDecidesThePath) {
  Attach();
  TDirectDrawClipper clipper(Device());
  FDest->SetClipper(&clipper);
  EXPECT_TRUE(FDest->ClipperAttached());
  EXPECT_EQ(FDestNative.FCalls.back().clipper, clipper.NativeClipper());
  FDest->SetClipper(nullptr);
  EXPECT_FALSE(FDest->ClipperAttached());
  EXPECT_EQ(FDestNative.FCalls.back().clipper, nullptr);
}

}  // namespace
