#include <gtest/gtest.h>

#include "tests/app/ShownViewer.h"

namespace {

using PagingTest = ShownViewerTest;

TEST_F(PagingTest, OpeningAFolderShowsTheFirstPictureAndMovesOn) {
  OpenFolderOf(5);
  ASSERT_EQ(Form1->FileList->Count(), 5);
  EXPECT_EQ(FolderChoosers, 1);
  EXPECT_EQ(OpenDialogs, 0);
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  EXPECT_EQ(PixelAt(39, 29), EntryPixel(0));
  EXPECT_EQ(PixelAt(40, 29), 0u);
  EXPECT_EQ(PixelAt(39, 30), 0u);
}

TEST_F(PagingTest, PageDownMovesBeforeShowingAndPageUpComesBack) {
  OpenFolderOf(5);
  Key(VK_NEXT);
  EXPECT_EQ(Form1->PageIndex, 2);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(2));
  Key(VK_PRIOR);
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(1));
}

TEST_F(PagingTest, PagingStopsAtBothEndsAndShowsTheEndAgain) {
  OpenFolderOf(3);
  Key(VK_PRIOR);
  Key(VK_PRIOR);
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  for (int i = 0; i < 4; ++i) Key(VK_NEXT);
  EXPECT_EQ(Form1->PageIndex, 2);
  ClearBackSurface();
  Key(VK_NEXT);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(2));
}

TEST_F(PagingTest, SlideshowShowsThenAdvancesAndHoldsOnTheLast) {
  OpenFolderOf(3);
  Form1->N12->Click();
  EXPECT_TRUE(Form1->Timer1->Enabled());
  std::vector<uint32_t> shown;
  for (int i = 0; i < 4; ++i) {
    Tick();
    shown.push_back(PixelAt(0, 0));
  }
  EXPECT_EQ(shown,
            (std::vector<uint32_t>{EntryPixel(1), EntryPixel(2), EntryPixel(2), EntryPixel(2)}));
  EXPECT_EQ(Form1->PageIndex, 2);
}

TEST_F(PagingTest, TicksWhileCtrlIsHeldAreSkipped) {
  OpenFolderOf(3);
  CtrlHeld = true;
  ClearBackSurface();
  Tick();
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(PixelAt(0, 0), 0u);
  CtrlHeld = false;
  Tick();
  EXPECT_EQ(Form1->PageIndex, 2);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(1));
}

TEST_F(PagingTest, TicksOnAnEmptyListDoNothing) {
  Tick();
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(PagingTest, SlideshowTicksOnTheRealTimer) {
  OpenFolderOf(3);
  Form1->Timer1->SetInterval(1);
  Form1->N12->Click();
  Application().RunLoopUntil([] { return Form1->PageIndex == 2; });
  Form1->N13->Click();
  EXPECT_FALSE(Form1->Timer1->Enabled());
  EXPECT_TRUE(Form1->N13->Checked());
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(1));
}

TEST_F(PagingTest, NegativeIntervalGivesNoTicks) {
  Form1->Timer1->SetInterval(-5);
  Form1->N12->Click();
  EXPECT_TRUE(Form1->Timer1->Enabled());
  EXPECT_FALSE(Form1->Timer1->Running());
}

TEST_F(PagingTest, JumpToEndAndBackOne) {
  OpenFolderOf(4);
  Form1->N17->Click();
  EXPECT_EQ(Form1->PageIndex, 3);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(3));
  Key(VK_PRIOR);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(2));
}

TEST_F(PagingTest, JumpToStartDrawsAtTheOriginAndKeepsTheOffsets) {
  OpenFolderOf(4);
  Key(VK_NEXT);
  Key(VK_RIGHT);
  Form1->N16->Click();
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  EXPECT_EQ(Form1->OffsetX, 15);
}

TEST_F(PagingTest, JumpsOnAnEmptyListDoNothing) {
  Form1->N16->Click();
  Form1->N17->Click();
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(PagingTest, ArrowsAfterOpeningAFileMoveItWithoutReading) {
  ChosenFile = Tree.Path("one.bmp");
  WriteBmp(ChosenFile, 40, 30, EntryColour(7));
  LeftClick({ssCtrl});
  ASSERT_EQ(PixelAt(0, 0), Raw565(EntryColour(7)));
  std::filesystem::remove(ChosenFile);
  for (int i = 0; i < 3; ++i) Key(VK_RIGHT);
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(Form1->OffsetX, 45);
  EXPECT_EQ(PixelAt(44, 0), 0u);
  EXPECT_EQ(PixelAt(45, 0), Raw565(EntryColour(7)));
  EXPECT_EQ(PixelAt(84, 29), Raw565(EntryColour(7)));
  Key(VK_UP);
  Key(VK_LEFT);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(Form1->OffsetX, 30);
  EXPECT_EQ(Form1->OffsetY, 15);
  EXPECT_EQ(PixelAt(30, 15), Raw565(EntryColour(7)));
}

TEST_F(PagingTest, ArrowsBeforeAnythingOpenedOnlyMoveTheOffsets) {
  Key(VK_DOWN);
  Key(VK_RIGHT);
  EXPECT_EQ(Form1->OffsetX, 15);
  EXPECT_EQ(Form1->OffsetY, 15);
  EXPECT_TRUE(Reports.empty());
  OpenFolderOf(2);
  EXPECT_EQ(Form1->OffsetX, 0);
  EXPECT_EQ(Form1->OffsetY, 0);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
}

TEST_F(PagingTest, ArrowsRedrawTheEntryOnScreen) {
  OpenFolderOf(3);
  Key(VK_NEXT);
  Key(VK_RIGHT);
  EXPECT_EQ(PixelAt(15, 0), EntryPixel(2));
  EXPECT_EQ(PixelAt(14, 0), 0u);
}

TEST_F(PagingTest, StretchFillsTheWholeSurfaceAndIgnoresTheOffsets) {
  Form1->N4->Click();
  OpenFolderOf(2);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  EXPECT_EQ(PixelAt(1023, 767), EntryPixel(0));
  Key(VK_RIGHT);
  EXPECT_EQ(Form1->OffsetX, 15);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  Form1->N4->Click();
  Key(VK_LEFT);
  Key(VK_RIGHT);
  EXPECT_EQ(PixelAt(15, 0), EntryPixel(0));
  EXPECT_EQ(PixelAt(0, 0), 0u);
}

TEST_F(PagingTest, CtrlShiftClickOpensTheFileDialog) {
  LeftClick({ssCtrl, ssShift});
  EXPECT_EQ(OpenDialogs, 1);
  EXPECT_EQ(FolderChoosers, 0);
}

TEST_F(PagingTest, AltClickTogglesTheLens) {
  LeftClick({ssAlt});
  EXPECT_TRUE(Form1->LensOn);
  LeftClick({});
  EXPECT_FALSE(Form1->LensOn);
  EXPECT_EQ(OpenDialogs + FolderChoosers, 0);
}

TEST_F(PagingTest, OtherButtonsDoNothing) {
  Form1->DXDraw1->OnMouseDown(Form1->DXDraw1, mbRight, {ssCtrl}, 0, 0);
  Form1->DXDraw1->OnMouseDown(Form1->DXDraw1, mbMiddle, {}, 0, 0);
  EXPECT_FALSE(Form1->LensOn);
  EXPECT_EQ(OpenDialogs + FolderChoosers, 0);
}

TEST_F(PagingTest, MenuOpensLikeTheModifiedClicks) {
  Form1->N7->Click();
  EXPECT_EQ(OpenDialogs, 1);
  Form1->N8->Click();
  EXPECT_EQ(FolderChoosers, 1);
}

TEST_F(PagingTest, CancelledChoosersChangeNothing) {
  OpenFolderOf(3);
  Key(VK_RIGHT);
  ChosenFolder.clear();
  LeftClick({ssShift});
  LeftClick({ssCtrl});
  EXPECT_EQ(Form1->FileList->Count(), 3);
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(Form1->OffsetX, 15);
  EXPECT_EQ(Form1->OpenPictureDialog1->FileName(), "");
}

TEST_F(PagingTest, FolderWithoutPicturesDrawsNothing) {
  OpenFolderOf(3);
  Key(VK_NEXT);
  const uint32_t onScreen = EntryPixel(2);
  ChosenFolder = Tree.Folder("empty");
  LeftClick({ssShift});
  EXPECT_EQ(Form1->FileList->Count(), 0);
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_EQ(PixelAt(0, 0), onScreen);
}

TEST_F(PagingTest, OpeningAFileKeepsTheFolderForPaging) {
  OpenFolderOf(3);
  ChosenFile = Tree.Path("single.bmp");
  WriteBmp(ChosenFile, 40, 30, EntryColour(9));
  Key(VK_DOWN);
  LeftClick({ssCtrl});
  EXPECT_EQ(PixelAt(0, 0), Raw565(EntryColour(9)));
  EXPECT_EQ(Form1->OffsetY, 0);
  EXPECT_EQ(Form1->PageIndex, 1);
  Key(VK_NEXT);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(2));
}

TEST_F(PagingTest, JpegFilesGoThroughTheJpegRoute) {
  std::string folder = Tree.Folder("jpegs");
  WriteJpeg(folder + "/a.JPG", 32, 32, {248, 0, 0});
  ChosenFolder = folder;
  LeftClick({ssShift});
  ASSERT_TRUE(Reports.empty()) << Reports[0];
  uint32_t pixel = PixelAt(8, 8);
  EXPECT_GE(pixel >> 11, 29u);
  EXPECT_LE((pixel >> 5) & 63, 2u);
  EXPECT_LE(pixel & 31, 1u);
  EXPECT_NE(dynamic_cast<TBitmap*>(Form1->DXImageList1->Items().Items(0)->Picture().Graphic()),
            nullptr);
}

}  // namespace
