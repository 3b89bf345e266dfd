// The picture collection on an initialized display control: binding, patterns and
// tiles, drawing, restoring, keys, assignment, the colour table and its stored form.
#include <gtest/gtest.h>

#include <cstring>

#include "device/DXErrors.h"
#include "display/DXDraw.h"
#include "image/JpegRoute.h"
#include "image/SurfacePixels.h"
#include "pictures/DXImageList.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/CaseName.h"
#include "tests/support/DXDrawOnForm.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TestPictures.h"

namespace {

class CollectionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Application().Initialize(); }

  void SetUp() override {
    DDrawHooks().SetInstantVerticalBlank(true);
    FForm = std::make_unique<TForm>(nullptr);
    FDXDraw = PlaceDXDraw<TDXDraw>(*FForm, {doFullScreen, doAllowReboot, doWaitVBlank,
                                            doDirectX7Mode, doHardware, doSelectDriver});
    FDXDraw->Initialize();
    FList = std::make_unique<TDXImageList>(nullptr);
  }
  void TearDown() override {
    FList.reset();
    FForm.reset();
    DDrawHooks().ResetVideoMemoryBudget();
  }

  TPictureCollectionItem& AddItem(TGraphic* graphic) {
    TPictureCollectionItem& item = *FList->Items().Add();
    item.Picture().SetGraphic(graphic);
    return item;
  }
  TDirectDrawSurface& Back() { return *FDXDraw->Surface(); }
  static void CutIntoPatterns(TPictureCollectionItem& item, int32_t patternWidth,
                              int32_t patternHeight, int32_t skipWidth, int32_t skipHeight,
                              bool systemMemory) {
    item.SetPatternWidth(patternWidth);
    item.SetPatternHeight(patternHeight);
    item.SetSkipWidth(skipWidth);
    item.SetSkipHeight(skipHeight);
    item.SetSystemMemory(systemMemory);
  }

  std::unique_ptr<TForm> FForm;
  TDXDraw* FDXDraw = nullptr;  // owned by the form
  std::unique_ptr<TDXImageList> FList;
};

TEST_F(CollectionTest, BindingBuildsAndUnbindingDropsEveryItem) {
  auto small = MakePlainBitmap(3, 2, kRed);
  auto wide = MakePlainBitmap(7, 1, kBlue);
  TPictureCollectionItem& a = AddItem(small.get());
  TPictureCollectionItem& b = AddItem(wide.get());
  FList->SetDXDraw(FDXDraw);
  EXPECT_EQ(FList->Items().DXDraw(), FDXDraw);
  for (auto [item, w, h] : {std::tuple{&a, 3, 2}, std::tuple{&b, 7, 1}}) {
    ASSERT_TRUE(item->Initialized());
    ASSERT_EQ(item->PatternCount(), 1);
    ASSERT_EQ(item->SurfaceCount(), 1);
    EXPECT_EQ(item->Patterns(0).Rect(), (TRect{0, 0, w, h}));
    EXPECT_EQ(item->Patterns(0).Surface(), &item->Surfaces(0));
    EXPECT_EQ(item->Surfaces(0).ClientRect(), (TRect{0, 0, w, h}));
  }
  EXPECT_EQ(b.Surfaces(0).Pixel(6, 0), 0x001Fu);
  FList->SetDXDraw(nullptr);
  for (TPictureCollectionItem* item : {&a, &b}) {
    EXPECT_FALSE(item->Initialized());
    EXPECT_EQ(item->PatternCount(), 0);
    EXPECT_EQ(item->SurfaceCount(), 0);
  }
  EXPECT_EQ(FList->Items().DXDraw(), nullptr);
}

TEST_F(CollectionTest, NotificationsFollowTheControl) {
  auto picture = MakePlainBitmap(4, 4, kGreen);
  TPictureCollectionItem& item = AddItem(picture.get());
  FList->SetDXDraw(FDXDraw);
  FDXDraw->Finalize();
  EXPECT_FALSE(item.Initialized());
  EXPECT_EQ(item.SurfaceCount(), 0);
  EXPECT_EQ(FList->DXDraw(), FDXDraw);
  FDXDraw->Initialize();
  EXPECT_TRUE(item.Initialized());
  EXPECT_EQ(item.SurfaceCount(), 1);
  FForm.reset();  // the control goes: the list lets go of it
  EXPECT_EQ(FList->DXDraw(), nullptr);
  EXPECT_EQ(item.SurfaceCount(), 0);
}

TEST_F(CollectionTest, ControlRemovedFromItsOwnerUnbinds) {
  FList->SetDXDraw(FDXDraw);
  std::unique_ptr<TComponent> taken = FForm->RemoveComponent(FDXDraw);
  taken.reset();
  EXPECT_EQ(FList->DXDraw(), nullptr);
}

struct TileCase {
  const char* name;
  int32_t width, height, patternWidth, patternHeight, skipWidth, skipHeight;
  bool systemMemory;
  std::vector<TRect> surfaces;  // sizes as ClientRects
  int32_t patternCount;
  int32_t probe;
  TRect probeRect;
  int32_t probeSurface;
};
void PrintTo(const TileCase& c, std::ostream* os) { *os << c.name; }

class TileTest : public CollectionTest, public ::testing::WithParamInterface<TileCase> {};

TEST_P(TileTest, CutsThePictureAsLaidOut) {
  const TileCase& c = GetParam();
  auto picture = MakePlainBitmap(c.width, c.height, kOlive);
  TPictureCollectionItem& item = AddItem(picture.get());
  CutIntoPatterns(item, c.patternWidth, c.patternHeight, c.skipWidth, c.skipHeight, c.systemMemory);
  FList->SetDXDraw(FDXDraw);
  ASSERT_EQ(item.SurfaceCount(), static_cast<int32_t>(c.surfaces.size()));
  for (int32_t i = 0; i < item.SurfaceCount(); ++i)
    EXPECT_EQ(item.Surfaces(i).ClientRect(), c.surfaces[i]);
  ASSERT_EQ(item.PatternCount(), c.patternCount);
  if (c.patternCount == 0) return;
  EXPECT_EQ(item.Patterns(c.probe).Rect(), c.probeRect);
  EXPECT_EQ(item.Patterns(c.probe).Surface(), &item.Surfaces(c.probeSurface));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TileTest,
    ::testing::Values(
        TileCase{"whole picture with skips",
                 50,
                 40,
                 0,
                 0,
                 5,
                 5,
                 false,
                 {{0, 0, 50, 40}},
                 1,
                 0,
                 {0, 0, 50, 40},
                 0},
        TileCase{"video tiles",
                 1000,
                 300,
                 100,
                 100,
                 0,
                 0,
                 false,
                 {{0, 0, 600, 300}, {0, 0, 400, 300}},
                 30,
                 17,
                 {100, 100, 200, 200},
                 1},
        TileCase{"system memory",
                 1000,
                 300,
                 100,
                 100,
                 0,
                 0,
                 true,
                 {{0, 0, 1000, 300}},
                 30,
                 17,
                 {700, 100, 800, 200},
                 0},
        TileCase{
            "skips", 100, 30, 30, 30, 10, 0, true, {{0, 0, 100, 30}}, 2, 1, {40, 0, 70, 30}, 0},
        TileCase{"pattern larger, video", 100, 100, 150, 50, 0, 0, false, {}, 0, 0, {}, 0},
        TileCase{"pattern larger, system",
                 100,
                 100,
                 150,
                 50,
                 0,
                 0,
                 true,
                 {{0, 0, 100, 100}},
                 0,
                 0,
                 {},
                 0},
        TileCase{"cell of zero", 100, 100, 50, 50, -50, 0, false, {}, 0, 0, {}, 0}),
    CaseName());

// Pictures of zero width or height cut into patterns: nothing to lay out or draw.
struct ZeroSizedCase {
  const char* name;
  int32_t width, height, patternWidth, patternHeight, skipWidth, skipHeight;
  bool systemMemory;
};
void PrintTo(const ZeroSizedCase& c, std::ostream* os) { *os << c.name; }

class ZeroSizedTest : public CollectionTest, public ::testing::WithParamInterface<ZeroSizedCase> {};

TEST_P(ZeroSizedTest, LaysOutAndDrawsNothing) {
  const ZeroSizedCase& c = GetParam();
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(c.width, c.height);
  TPictureCollectionItem& item = AddItem(&picture);
  CutIntoPatterns(item, c.patternWidth, c.patternHeight, c.skipWidth, c.skipHeight, c.systemMemory);
  FList->SetDXDraw(FDXDraw);
  FList->Items().Restore();
  EXPECT_EQ(item.PatternCount(), 0);
  EXPECT_EQ(item.SurfaceCount(), c.systemMemory ? 1 : 0);
  Back().Fill(0x1234);
  for (int32_t index = -1; index <= 2; ++index) {
    item.Draw(&Back(), 0, 0, index);
    item.StretchDraw(&Back(), Back().ClientRect(), index);
  }
  const TRect all = Back().ClientRect();
  for (auto [x, y] :
       {std::pair{0, 0}, {1, 1}, {all.Right / 2, all.Bottom / 2}, {all.Right - 1, all.Bottom - 1}})
    EXPECT_EQ(Back().Pixel(x, y), 0x1234u) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZeroSizedTest,
    ::testing::Values(ZeroSizedCase{"zero width, skip, video", 0, 10, 0, 5, 3, 0, false},
                      ZeroSizedCase{"zero width, skip, system", 0, 10, 0, 5, 3, 0, true},
                      ZeroSizedCase{"zero height, skip, video", 10, 0, 5, 0, 0, 4, false},
                      ZeroSizedCase{"zero height, skip, system", 10, 0, 5, 0, 0, 4, true},
                      ZeroSizedCase{"empty, pattern, video", 0, 0, 8, 8, 0, 0, false},
                      ZeroSizedCase{"empty, pattern, system", 0, 0, 8, 8, 0, 0, true},
                      ZeroSizedCase{"empty, pattern and skips, video", 0, 0, 8, 8, 2, 2, false},
                      ZeroSizedCase{"empty, negative skips, system", 0, 0, 8, 8, -4, -4, true}),
    CaseName());

TEST_F(CollectionTest, TilesHoldTheirPartOfThePicture) {
  // Columns 0-599 red, 600-999 blue: tile 1 starts with blue.
  std::vector<std::vector<Rgb>> rows(2, std::vector<Rgb>(1000, kRed));
  for (auto& row : rows) std::fill(row.begin() + 600, row.end(), kBlue);
  auto picture = MakeBitmap(rows);
  TPictureCollectionItem& item = AddItem(picture.get());
  item.SetPatternWidth(100);
  item.SetPatternHeight(1);
  FList->SetDXDraw(FDXDraw);
  ASSERT_EQ(item.SurfaceCount(), 2);
  EXPECT_EQ(item.Surfaces(0).Pixel(599, 1), 0xF800u);
  EXPECT_EQ(item.Surfaces(1).Pixel(0, 0), 0x001Fu);
  Back().Fill(0);
  item.Draw(&Back(), 10, 10, 7);  // row 0, column 6: on tile 1
  EXPECT_EQ(Back().Pixel(10, 10), 0x001Fu);
  EXPECT_EQ(Back().Pixel(109, 10), 0x001Fu);
  EXPECT_EQ(Back().Pixel(110, 10), 0u);
}

TEST_F(CollectionTest, DrawHonoursIndexAndTransparency) {
  auto picture = MakeBitmap({{kBlack, kWhite}});
  TPictureCollectionItem& item = AddItem(picture.get());
  FList->SetDXDraw(FDXDraw);
  Back().Fill(0x1234);
  item.Draw(&Back(), 0, 0, 0);
  EXPECT_EQ(Back().Pixel(0, 0), 0x1234u);  // black is transparent
  EXPECT_EQ(Back().Pixel(1, 0), 0xFFFFu);
  item.SetTransparent(false);
  item.Draw(&Back(), 0, 0, 0);
  EXPECT_EQ(Back().Pixel(0, 0), 0u);
  Back().Fill(0x1234);
  for (int32_t index : {-1, 1}) {
    item.Draw(&Back(), 0, 0, index);
    item.StretchDraw(&Back(), {0, 0, 10, 10}, index);
  }
  EXPECT_EQ(Back().Pixel(1, 0), 0x1234u);
  item.StretchDraw(&Back(), {0, 0, 4, 2}, 0);
  EXPECT_EQ(Back().Pixel(3, 1), 0xFFFFu);
  EXPECT_EQ(Back().Pixel(1, 1), 0u);
}

TEST_F(CollectionTest, TransparentColourRekeysEverySurface) {
  auto picture = MakeBitmap({{kBlack, kWhite}});
  TPictureCollectionItem& item = AddItem(picture.get());
  FList->SetDXDraw(FDXDraw);
  item.SetTransparentColor(RGB(255, 255, 255));
  Back().Fill(0x1234);
  item.Draw(&Back(), 0, 0, 0);
  EXPECT_EQ(Back().Pixel(0, 0), 0u);
  EXPECT_EQ(Back().Pixel(1, 0), 0x1234u);
}

TEST_F(CollectionTest, RestoreAfterLostSurfacesRebuildsEveryItem) {
  auto red = MakePlainBitmap(2, 2, kRed);
  auto blue = MakePlainBitmap(3, 3, kBlue);
  TPictureCollectionItem& a = AddItem(red.get());
  TPictureCollectionItem& b = AddItem(blue.get());
  FList->SetDXDraw(FDXDraw);
  DDrawHooks().LoseAllSurfaces();
  FDXDraw->Restore();
  EXPECT_EQ(a.Surfaces(0).Pixel(1, 1), 0xF800u);
  EXPECT_EQ(b.Surfaces(0).Pixel(2, 2), 0x001Fu);
  Back().Fill(0);
  b.Draw(&Back(), 5, 5, 0);
  EXPECT_EQ(Back().Pixel(7, 7), 0x001Fu);
}

TEST_F(CollectionTest, EmptiedPictureKeepsTheOldSurfaces) {
  auto picture = MakePlainBitmap(2, 2, kRed);
  TPictureCollectionItem& item = AddItem(picture.get());
  FList->SetDXDraw(FDXDraw);
  TDirectDrawSurface* before = &item.Surfaces(0);
  item.Picture().SetGraphic(nullptr);
  item.Restore();
  ASSERT_EQ(item.SurfaceCount(), 1);
  EXPECT_EQ(&item.Surfaces(0), before);
}

TEST_F(CollectionTest, UninitializedItemOfAnIdleControlIsNotRestored) {
  auto picture = MakePlainBitmap(2, 2, kRed);
  TPictureCollectionItem& item = AddItem(picture.get());
  item.Restore();
  EXPECT_FALSE(item.Initialized());
  EXPECT_EQ(item.SurfaceCount(), 0);
  FDXDraw->Finalize();
  FList->SetDXDraw(FDXDraw);
  item.Restore();
  EXPECT_EQ(item.SurfaceCount(), 0);
}

TEST_F(CollectionTest, InitializeNeedsAnInitializedControl) {
  AddItem(nullptr);
  for (TCustomDXDraw* control :
       {static_cast<TCustomDXDraw*>(nullptr), static_cast<TCustomDXDraw*>(FDXDraw)}) {
    if (control) FDXDraw->Finalize();
    try {
      FList->Items().Initialize(control);
      FAIL() << "no error";
    } catch (const EPictureCollectionError& e) {
      EXPECT_EQ(e.Message(), "TPictureCollection cannot be initialized");
    }
    EXPECT_EQ(FList->Items().DXDraw(), control);
    EXPECT_FALSE(FList->Items().Items(0)->Initialized());
  }
}

TEST_F(CollectionTest, EmptyPicturesOfBothKinds) {
  TBitmap emptyBitmap;
  TDIB emptyDIB;
  TPictureCollectionItem& bitmapItem = AddItem(&emptyBitmap);
  FList->SetDXDraw(FDXDraw);
  ASSERT_EQ(bitmapItem.PatternCount(), 1);
  EXPECT_EQ(bitmapItem.Patterns(0).Rect(), (TRect{0, 0, 0, 0}));
  ASSERT_NE(bitmapItem.Patterns(0).Surface(), nullptr);
  EXPECT_EQ(bitmapItem.Patterns(0).Surface()->NativeSurface(), nullptr);
  bitmapItem.Draw(&Back(), 0, 0, 0);  // copies nothing

  TPictureCollectionItem& dibItem = AddItem(&emptyDIB);
  try {
    FList->Items().Restore();
    FAIL() << "no error";
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), "IDirectDrawSurface not made");
  }
  ASSERT_EQ(dibItem.PatternCount(), 1);
  EXPECT_EQ(dibItem.Patterns(0).Surface(), nullptr);
  dibItem.Draw(&Back(), 0, 0, 0);
}

TEST_F(CollectionTest, AssignCopiesSettingsAndPictureButNotTheName) {
  auto picture = MakePlainBitmap(5, 4, kRed);
  TPictureCollectionItem& source = AddItem(picture.get());
  source.SetName("source");
  source.SetPatternWidth(2);
  source.SetSkipHeight(1);
  source.SetSystemMemory(true);
  source.SetTransparent(false);
  source.SetTransparentColor(RGB(1, 2, 3));
  TPictureCollectionItem& copy = AddItem(nullptr);
  FList->SetDXDraw(FDXDraw);
  copy.Assign(&source);
  EXPECT_EQ(copy.Name(), "");
  EXPECT_EQ(copy.PatternWidth(), 2);
  EXPECT_EQ(copy.SkipHeight(), 1);
  EXPECT_TRUE(copy.SystemMemory());
  EXPECT_FALSE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), RGB(1, 2, 3));
  EXPECT_EQ(copy.Picture().Width(), 5);
  EXPECT_EQ(copy.PatternCount(), 2);  // rebuilt: it was initialized
  EXPECT_EQ(copy.SurfaceCount(), 1);

  TDXImageList other(nullptr);
  other.SetItems(&FList->Items());
  ASSERT_EQ(other.Items().Count(), 2);
  EXPECT_EQ(other.Items().Items(0)->PatternWidth(), 2);
  EXPECT_EQ(other.Items().Items(0)->SurfaceCount(), 0);
}

TEST_F(CollectionTest, ItemStoredFormRoundTrips) {
  auto picture = MakePlainBitmap(3, 2, kGreen);
  TPictureCollectionItem& source = AddItem(picture.get());
  source.SetName("first");
  source.SetPatternHeight(1);
  source.SetSkipWidth(4);
  source.SetTransparent(false);
  source.SetTransparentColor(RGB(9, 8, 7));
  TMemoryStream stream;
  TWriter(stream).WriteProperties(source);
  stream.SetPosition(0);
  TPictureCollectionItem& copy = AddItem(nullptr);
  TReader(stream).ReadProperties(copy);
  EXPECT_EQ(copy.Name(), "first");
  EXPECT_EQ(copy.PatternHeight(), 1);
  EXPECT_EQ(copy.SkipWidth(), 4);
  EXPECT_FALSE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), RGB(9, 8, 7));
  ASSERT_NE(copy.Picture().Graphic(), nullptr);
  EXPECT_EQ(copy.Picture().Width(), 3);
}

TEST_F(CollectionTest, ColorTableIsStoredAsItsBytes) {
  FList->Items().BuildColorTable();
  TMemoryStream stream;
  TWriter(stream).WriteProperties(FList->Items());
  EXPECT_EQ(stream.Size(), 1 + 10 + 4 + 1024 + 1);
  stream.SetPosition(0);
  TDXImageList other(nullptr);
  TReader(stream).ReadProperties(other.Items());
  EXPECT_EQ(
      std::memcmp(other.Items().ColorTable(), FList->Items().ColorTable(), sizeof(TColorTable)), 0);
}

TEST_F(CollectionTest, ShortStoredPropertiesRaiseAndChangeNothing) {
  FList->Items().BuildColorTable();
  TColorTable before;
  std::memcpy(before, FList->Items().ColorTable(), sizeof(before));
  // "ColorTable" with 4 bytes instead of 1024, then the end mark.
  const uint8_t data[] = {10,  'C', 'o', 'l', 'o', 'r', 'T', 'a', 'b', 'l',
                          'e', 4,   0,   0,   0,   1,   2,   3,   4,   0};
  TMemoryStream stream;
  stream.WriteBuffer(data, sizeof(data));
  stream.SetPosition(0);
  EXPECT_THROW(TReader(stream).ReadProperties(FList->Items()), EReadError);
  EXPECT_EQ(std::memcmp(before, FList->Items().ColorTable(), sizeof(before)), 0);

  TPictureCollectionItem& item = AddItem(nullptr);
  item.SetPatternWidth(7);
  const uint8_t shortWidth[] = {12,  'P', 'a', 't', 't', 'e', 'r', 'n', 'W', 'i',
                                'd', 't', 'h', 2,   0,   0,   0,   9,   9,   0};
  TMemoryStream second;
  second.WriteBuffer(shortWidth, sizeof(shortWidth));
  second.SetPosition(0);
  EXPECT_THROW(TReader(second).ReadProperties(item), EReadError);
  EXPECT_EQ(item.PatternWidth(), 7);
}

// --- Colour table ----------------------------------------------------------------

class ColorTableTest : public ::testing::Test {
 protected:
  void Add(TGraphic* graphic) { FItems.Add()->Picture().SetGraphic(graphic); }
  RGBQUAD Slot(int i) { return FItems.ColorTable()[i]; }
  static RGBQUAD Quad(Rgb c) { return RGBQUAD{c.B, c.G, c.R, 0}; }
  // Colours that are not among the fixed ones: (n mod 256, n div 256, 77).
  static std::vector<Rgb> NewColours(int first, int count) {
    std::vector<Rgb> colours;
    for (int n = first; n < first + count; ++n)
      colours.push_back({static_cast<uint8_t>(n % 256), static_cast<uint8_t>(n / 256), 77});
    return colours;
  }
  void ExpectFixedColours() {
    const std::pair<int, Rgb> fixed[] = {
        {0, {0, 0, 0}},         {1, {128, 0, 0}},     {2, {0, 128, 0}},     {3, {128, 128, 0}},
        {4, {0, 0, 128}},       {5, {128, 0, 128}},   {6, {0, 128, 128}},   {7, {192, 192, 192}},
        {248, {128, 128, 128}}, {249, {255, 0, 0}},   {250, {0, 255, 0}},   {251, {255, 255, 0}},
        {252, {0, 0, 255}},     {253, {255, 0, 255}}, {254, {0, 255, 255}}, {255, {255, 255, 255}}};
    for (auto [slot, colour] : fixed) EXPECT_EQ(Slot(slot), Quad(colour)) << slot;
  }

  TPictureCollection FItems{nullptr};
};

TEST_F(ColorTableTest, FixedColoursOnly) {
  Add(nullptr);
  FItems.ColorTable()[100] = RGBQUAD{1, 1, 1, 1};
  FItems.BuildColorTable();
  ExpectFixedColours();
  for (int i = 8; i < 248; ++i) EXPECT_EQ(Slot(i), RGBQUAD{}) << i;
}

TEST_F(ColorTableTest, FixedColoursInADIBAddNothing) {
  auto dib = MakePaletteDIB({kWhite, kRed, {128, 128, 128}, {192, 192, 192}});  // the rest is black
  Add(dib.get());
  FItems.BuildColorTable();
  ExpectFixedColours();
  for (int i = 8; i < 248; ++i) EXPECT_EQ(Slot(i), RGBQUAD{}) << i;
}

TEST_F(ColorTableTest, DuplicatesAreOfferedOnceAndNewColoursFillFromSlotEight) {
  auto first = MakePaletteDIB({{1, 2, 3}, kBlack, {1, 2, 3}, kRed, {4, 5, 6}});
  auto second = MakePaletteDIB({{4, 5, 6}, {7, 8, 9}});
  auto deep = MakePlainBitmap(1, 1, {50, 60, 70});
  TDIB deepDIB;
  deepDIB.SetDimensions(1, 1, 24);
  deepDIB.ColorTable[0] = RGBQUAD{11, 12, 13, 0};
  Add(first.get());
  Add(deep.get());
  Add(&deepDIB);
  Add(second.get());
  FItems.BuildColorTable();
  ExpectFixedColours();
  EXPECT_EQ(Slot(8), Quad({1, 2, 3}));
  EXPECT_EQ(Slot(9), Quad({4, 5, 6}));
  EXPECT_EQ(Slot(10), Quad({7, 8, 9}));
  EXPECT_EQ(Slot(11), RGBQUAD{});
}

TEST_F(ColorTableTest, TableFillsAt240NewColoursAndStops) {
  auto first = MakePaletteDIB(NewColours(1000, 200));
  auto second = MakePaletteDIB(NewColours(2000, 100));
  auto third = MakePaletteDIB(NewColours(3000, 10));
  Add(first.get());
  Add(second.get());
  Add(third.get());
  FItems.BuildColorTable();
  ExpectFixedColours();
  const auto a = NewColours(1000, 200), b = NewColours(2000, 40);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(Slot(8 + i), Quad(a[static_cast<size_t>(i)])) << i;
  for (int i = 0; i < 40; ++i) EXPECT_EQ(Slot(208 + i), Quad(b[static_cast<size_t>(i)])) << i;
}

TEST_F(ColorTableTest, PaletteOfAnotherGraphicIsOffered) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetSize(1, 1);
  LOGPALETTE log;
  log.palNumEntries = 2;
  log.palPalEntry[0] = {10, 20, 30, 0};
  log.palPalEntry[1] = {0, 0, 0, 0};
  bitmap.SetPalette(CreatePalette(&log));
  Add(&bitmap);
  FItems.BuildColorTable();
  EXPECT_EQ(Slot(8), Quad({10, 20, 30}));
  EXPECT_EQ(Slot(9), RGBQUAD{});
}

// Surface pixels made ahead of time for an item's picture.
class PreparedSurfaceTest : public CollectionTest {
 protected:
  void SetUp() override {
    CollectionTest::SetUp();
    FList->SetDXDraw(FDXDraw);
    FItem = FList->Items().Add();
  }
  // A 5 x 3 picture of varied colours, as decoded pixels.
  static TJpegPixels Decoded() {
    TJpegPixels pixels;
    pixels.Width = 5;
    pixels.Height = 3;
    pixels.RowBytes = 16;
    pixels.Bits = TPixelBlock::Allocate(48);
    for (size_t i = 0; i < 48; ++i) pixels.Bits.Data()[i] = static_cast<uint8_t>(i * 37);
    return pixels;
  }
  // Loads the picture into the item, with its surface pixels prepared when asked.
  const uint8_t* Load(bool prepare) {
    TJpegPixels pixels = Decoded();
    TSurfacePixels surface = ConvertToSurfacePixels(pixels, SurfaceFormat());
    const uint8_t* memory = surface.Bits.Data();
    const HBITMAP bitmap = LoadJpegPixelsIntoPicture(FItem->Picture(), std::move(pixels));
    if (prepare) FItem->SetPreparedSurface(std::move(surface), bitmap);
    return memory;
  }
  gdi::TPixelFormat SurfaceFormat() {
    const DDPIXELFORMAT& f = Back().Description().ddpfPixelFormat;
    return {f.dwRGBBitCount, f.dwRBitMask, f.dwGBitMask, f.dwBBitMask};
  }
  std::vector<uint32_t> ItemPixels() {
    std::vector<uint32_t> values;
    TDirectDrawSurface& surface = FItem->Surfaces(0);
    for (int32_t y = 0; y < surface.Height(); ++y)
      for (int32_t x = 0; x < surface.Width(); ++x) values.push_back(surface.Pixel(x, y));
    return values;
  }
  const void* ItemMemory() {
    DDSURFACEDESC locked{};
    locked.dwSize = kDDSurfaceDescSize;
    FItem->Surfaces(0).Lock(nullptr, locked);
    FItem->Surfaces(0).Unlock();
    return locked.lpSurface;
  }
  TPictureCollectionItem* FItem = nullptr;
};

TEST_F(PreparedSurfaceTest, RestoreTakesThemAndTheItemDrawsAsIfItHadConvertedItself) {
  Load(false);
  FItem->Restore();
  const std::vector<uint32_t> converted = ItemPixels();
  const uint8_t* prepared = Load(true);
  FItem->Restore();
  EXPECT_EQ(ItemMemory(), prepared);
  EXPECT_EQ(ItemPixels(), converted);
  EXPECT_EQ(FItem->Surfaces(0).Description().ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY,
            DDSCAPS_VIDEOMEMORY);
  // Black stays the see-through colour.
  EXPECT_EQ(FItem->Surfaces(0).Description().ddckCKSrcBlt.dwColorSpaceLowValue, 0u);
}

TEST_F(PreparedSurfaceTest, OnlyTheNextRestoreMayUseThem) {
  const uint8_t* prepared = Load(true);
  FItem->Restore();
  FItem->Restore();  // converts the picture itself again
  EXPECT_NE(ItemMemory(), prepared);
}

TEST_F(PreparedSurfaceTest, AnotherPictureIsConvertedAsAlways) {
  const uint8_t* prepared = Load(true);
  FItem->Picture().Assign(nullptr);
  auto plain = MakePlainBitmap(5, 3, kRed);
  FItem->Picture().SetGraphic(plain.get());
  FItem->Restore();
  EXPECT_NE(ItemMemory(), prepared);
  EXPECT_EQ(FItem->Surfaces(0).Pixel(4, 2), 0xF800u);
}

TEST_F(PreparedSurfaceTest, PatternsOfTheirOwnSizeConvertAsAlways) {
  const uint8_t* prepared = Load(true);
  FItem->SetPatternWidth(2);
  FItem->SetPatternHeight(2);
  FItem->Restore();
  ASSERT_GT(FItem->SurfaceCount(), 0);
  EXPECT_NE(ItemMemory(), prepared);
}

}  // namespace
