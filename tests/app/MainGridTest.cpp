#include <gtest/gtest.h>

#include "app/GridGeometry.h"
#include "image/JpegRoute.h"
#include "tests/app/ShownViewer.h"

namespace {

class GridTest : public ShownViewerTest {
 protected:
  // The middle of the cell in column c and row r of the current grid size.
  TPoint CellMiddle(int32_t c, int32_t r) const {
    const TRect cell = GridCellRect({Form1->GridColumns, Form1->GridRows, 1024, 768}, c, r);
    return {(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2};
  }
  uint32_t CellPixel(int32_t c, int32_t r) {
    const TPoint middle = CellMiddle(c, r);
    return PixelAt(middle.X, middle.Y);
  }
  uint32_t ScreenCellPixel(int32_t c, int32_t r) {
    const TPoint middle = CellMiddle(c, r);
    return ScreenPixelAt(middle.X, middle.Y);
  }
  // The 3 x 3 page 0 still on the surface after the grid size was changed.
  void ExpectPage3x3AfterResize() { EXPECT_EQ(PixelAt(687 + 168, 517 + 125), EntryPixel(8)); }
  void SetGrid(int32_t columns, int32_t rows) {
    Form6->SpinEdit1->SetText(std::to_string(columns));
    Form6->SpinEdit2->SetText(std::to_string(rows));
    Form6->Button1->Click();
  }
  // Expects the cells in reading order to show entries first, first + 1, ...
  // up to the list's end, and the cells after that to be empty.
  void ExpectPage(int32_t first) {
    int32_t entry = first;
    for (int32_t r = 0; r < Form1->GridRows; ++r)
      for (int32_t c = 0; c < Form1->GridColumns; ++c, ++entry) {
        SCOPED_TRACE(testing::Message() << "cell " << c << "," << r);
        const uint32_t expected = entry < Form1->FileList->Count() ? EntryPixel(entry) : 0u;
        EXPECT_EQ(CellPixel(c, r), expected);
        EXPECT_EQ(ScreenCellPixel(c, r), expected);
      }
  }
};

TEST_F(GridTest, SwitchingOnShowsPageZeroAndMovesOn) {
  OpenFolderOf(12);
  Form1->N20->Click();
  EXPECT_TRUE(Form1->N20->Checked());
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(Form1->DXImageList1->Items().Count(), 10);
  ExpectPage(0);
  // Margins, gaps and the remainder stay black.
  for (auto [x, y] : {std::pair{2, 2}, {343, 100}, {100, 258}, {1023, 100}})
    EXPECT_EQ(PixelAt(x, y), 0u) << x << "," << y;
  EXPECT_EQ(PixelAt(5, 5), EntryPixel(0));
  EXPECT_EQ(PixelAt(1022, 767), EntryPixel(8));
}

TEST_F(GridTest, TwentyFilesLastPageHoldsTwoCellsAndIsPresented) {
  OpenFolderOf(20);
  Form1->N20->Click();
  Key(VK_NEXT);
  EXPECT_EQ(Form1->PageIndex, 2);
  ExpectPage(18);
}

TEST_F(GridTest, OneByOneShowsOneEntryPerPage) {
  OpenFolderOf(3);
  SetGrid(1, 1);
  Form1->N20->Click();
  EXPECT_EQ(PixelAt(5, 5), EntryPixel(0));
  EXPECT_EQ(PixelAt(1023, 767), EntryPixel(0));
  EXPECT_EQ(PixelAt(4, 4), 0u);
  Key(VK_NEXT);
  EXPECT_EQ(PixelAt(5, 5), EntryPixel(2));
  Key(VK_PRIOR);
  EXPECT_EQ(PixelAt(5, 5), EntryPixel(1));
}

TEST_F(GridTest, FourByTwoReadsAcrossThenDown) {
  OpenFolderOf(10);
  SetGrid(4, 2);
  Form1->N20->Click();
  ExpectPage(0);
  EXPECT_EQ(PixelAt(1023, 767), EntryPixel(7));
}

TEST_F(GridTest, PagingPastTheLastPagePresentsAnEmptyPage) {
  OpenFolderOf(10);
  Form1->N20->Click();
  Key(VK_NEXT);
  EXPECT_EQ(Form1->PageIndex, 2);
  ExpectPage(18);
  for (int i = 0; i < 20; ++i) Key(VK_NEXT);
  EXPECT_EQ(Form1->PageIndex, 9);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(GridTest, SlideshowShowsPagesThenAdvances) {
  OpenFolderOf(12);
  Form1->N20->Click();
  Tick();
  EXPECT_EQ(Form1->PageIndex, 2);
  ExpectPage(9);
}

TEST_F(GridTest, NineFilesLensRedrawFindsNoEntryForItsFirstCell) {
  OpenFolderOf(9);
  Form1->N20->Click();
  ExpectPage(0);
  LeftClick({});
  MoveTo(500, 300);
  EXPECT_EQ(CellPixel(0, 0), 0u);
  EXPECT_EQ(CellPixel(2, 2), 0u);
  EXPECT_EQ(ScreenCellPixel(0, 0), 0u);
}

TEST_F(GridTest, LensRedrawsTheLoadedPageWithoutReading) {
  OpenFolderOf(12);
  Form1->N20->Click();
  Key(VK_PRIOR);
  for (int i = 0; i < 12; ++i) std::filesystem::remove(Form1->FileList->Strings(i));
  LeftClick({});
  MoveTo(1000, 20);
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(CellPixel(0, 2), EntryPixel(6));
}

TEST_F(GridTest, CellsWithoutAnItemDrawNothing) {
  OpenFolderOf(30);
  Form1->N20->Click();
  Key(VK_PRIOR);  // items 1 to 9 hold entries 0 to 8
  SetGrid(5, 5);
  LeftClick({});
  MoveTo(20, 700);
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(CellPixel(0, 0), EntryPixel(0));
  EXPECT_EQ(CellPixel(3, 1), EntryPixel(8));
  EXPECT_EQ(CellPixel(4, 1), 0u);
}

TEST_F(GridTest, NewGridSizeWaitsForTheNextDrawing) {
  OpenFolderOf(12);
  Form1->N20->Click();
  SetGrid(2, 2);
  ExpectPage3x3AfterResize();
  Key(VK_PRIOR);
  ExpectPage(0);
  EXPECT_EQ(Form1->DXImageList1->Items().Count(), 5);
}

TEST_F(GridTest, SwitchingOnWithAnEmptyListOnlySetsTheMark) {
  Form1->N20->Click();
  EXPECT_TRUE(Form1->N20->Checked());
  EXPECT_EQ(Form1->DXImageList1->Items().Count(), 1);
  OpenFolderOf(20);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  EXPECT_EQ(PixelAt(100, 100), 0u);
  Key(VK_NEXT);
  ExpectPage(18);
}

TEST_F(GridTest, SwitchingOffShowsTheCurrentPictureAtTheOffsets) {
  OpenFolderOf(12);
  Key(VK_RIGHT);
  Form1->N20->Click();
  Key(VK_NEXT);
  Form1->N20->Click();
  EXPECT_FALSE(Form1->N20->Checked());
  EXPECT_EQ(PixelAt(15, 0), EntryPixel(1));
  EXPECT_EQ(PixelAt(14, 0), 0u);
}

TEST_F(GridTest, ArrowsDoNothingInTheGrid) {
  OpenFolderOf(4);
  Form1->N20->Click();
  Key(VK_RIGHT);
  EXPECT_EQ(Form1->OffsetX, 0);
  ExpectPage(0);
}

TEST_F(GridTest, ClosingTheLensPresentsTheRedrawnGrid) {
  OpenFolderOf(4);
  Form1->N20->Click();
  Key(VK_PRIOR);
  LeftClick({});
  MoveTo(100, 100);
  // The lens over cell (0, 1) shows cell (0, 0) enlarged.
  ASSERT_EQ(ScreenPixelAt(300, 300), EntryPixel(0));
  Form1->N3->Click();
  EXPECT_FALSE(Form1->LensOn);
  ExpectPage(0);
  EXPECT_EQ(ScreenPixelAt(300, 300), EntryPixel(3));
}

// A 5-6-5 value within one step per channel of the colour (JPEG rounds a little).
bool Near565(uint32_t value, Rgb colour) {
  const uint32_t want = Raw565(colour);
  const auto near = [](uint32_t a, uint32_t b) { return (a > b ? a - b : b - a) <= 1; };
  return near(value >> 11, want >> 11) && near((value >> 5) & 63, (want >> 5) & 63) &&
         near(value & 31, want & 31);
}

TEST_F(GridTest, LargeJpegsAreDecodedAtTheirCellsSizeAndFillThem) {
  const std::string folder = Tree.Folder("large");
  for (int32_t i = 0; i < 9; ++i)
    WriteJpeg(folder + "/p" + std::to_string(100 + i) + ".jpg", 1344, 1004, EntryColour(i));
  ChosenFolder = folder;
  LeftClick({ssShift});
  Form1->N20->Click();
  int64_t pictureBytes = 0;
  for (int32_t k = 1; k <= 9; ++k) {
    TPicture& picture = Form1->DXImageList1->Items().Items(k)->Picture();
    EXPECT_EQ(picture.Width(), 336) << k;  // a quarter of the file's size
    EXPECT_EQ(picture.Height(), 251) << k;
    pictureBytes += int64_t{picture.Width()} * picture.Height() * 3;
  }
  // The page's memory follows its cells, not its files.
  EXPECT_LE(pictureBytes, 9 * 336 * 252 * 3);
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c)
      EXPECT_TRUE(Near565(ScreenCellPixel(c, r), EntryColour(r * 3 + c))) << c << "," << r;
}

TEST_F(GridTest, JpegsLessThanTwiceTheCellAreShownExactlyAsBefore) {
  const std::string folder = Tree.Folder("small");
  for (int32_t i = 0; i < 2; ++i)
    WritePhotoJpeg(folder + "/p" + std::to_string(100 + i) + ".jpg", 600, 480, i);
  ChosenFolder = folder;
  LeftClick({ssShift});
  Form1->N20->Click();
  TPictureCollectionItem& cell = *Form1->DXImageList1->Items().Items(2);
  EXPECT_EQ(cell.Picture().Width(), 600);
  const TRect place = GridCellRect({3, 3, 1024, 768}, 1, 0);
  std::vector<uint32_t> shown;
  for (int32_t y = place.Top; y < place.Bottom; y += 7)
    for (int32_t x = place.Left; x < place.Right; x += 5) shown.push_back(PixelAt(x, y));
  // The same file through the route as it has always been, stretched into the cell.
  TPictureCollectionItem& reference = *Form1->DXImageList1->Items().Items(0);
  LoadJpegIntoPicture(reference.Picture(), Form1->FileList->Strings(1));
  reference.Restore();
  ClearBackSurface();
  reference.StretchDraw(Form1->DXDraw1->Surface(), place, 0);
  std::vector<uint32_t> before;
  for (int32_t y = place.Top; y < place.Bottom; y += 7)
    for (int32_t x = place.Left; x < place.Right; x += 5) before.push_back(PixelAt(x, y));
  EXPECT_EQ(shown, before);
}

}  // namespace
