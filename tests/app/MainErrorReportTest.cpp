#include <gtest/gtest.h>

#include "tests/app/ShownViewer.h"

namespace {

using ErrorReportTest = ShownViewerTest;

TEST_F(ErrorReportTest, MissingFileOnPageDownKeepsTheScreenAndTheNewIndex) {
  OpenFolderOf(3);
  std::filesystem::remove(Form1->FileList->Strings(2));
  Key(VK_NEXT);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_FALSE(Reports[0].empty());
  EXPECT_EQ(Form1->PageIndex, 2);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
  EXPECT_FALSE(Form1->ErrorReportOpen());
}

TEST_F(ErrorReportTest, CorruptJpegInAFolderStopsBeforeTheAdvanceAndTheOffsetReset) {
  const std::string folder = Tree.Folder("bad");
  WriteCorruptJpeg(folder + "/a.jpg");
  WriteBmp(folder + "/b.bmp", 10, 10, EntryColour(1));
  Key(VK_RIGHT);
  ChosenFolder = folder;
  LeftClick({ssShift});
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].rfind("JPEG error #", 0), 0u) << Reports[0];
  EXPECT_EQ(Form1->FileList->Count(), 2);
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_EQ(Form1->OffsetX, 15);
  EXPECT_EQ(PixelAt(0, 0), 0u);
}

TEST_F(ErrorReportTest, CorruptJpegOpenedAsAFileKeepsThePicture) {
  ChosenFile = Tree.Path("good.bmp");
  WriteBmp(ChosenFile, 20, 20, EntryColour(4));
  LeftClick({ssCtrl});
  ChosenFile = Tree.Path("bad.jpeg");
  WriteCorruptJpeg(ChosenFile);
  Key(VK_DOWN);
  LeftClick({ssCtrl});
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Form1->OffsetY, 15);
  // The item keeps its picture: an arrow redraws it.
  Key(VK_UP);
  EXPECT_EQ(PixelAt(0, 0), Raw565(EntryColour(4)));
}

TEST_F(ErrorReportTest, FailingSlideshowTickDoesNotAdvance) {
  OpenFolderOf(3);
  std::filesystem::remove(Form1->FileList->Strings(1));
  Tick();
  Tick();
  EXPECT_EQ(Reports.size(), 2u);
  EXPECT_EQ(Form1->PageIndex, 1);
}

TEST_F(ErrorReportTest, TicksWhileAReportIsOpenDoNothing) {
  OpenFolderOf(3);
  std::filesystem::remove(Form1->FileList->Strings(1));
  int ticksDuringReport = 0;
  WhileReportOpen = [&] {
    EXPECT_TRUE(Form1->ErrorReportOpen());
    if (++ticksDuringReport > 3) return;  // a nested report would come back here
    Tick();
    Tick();
  };
  Tick();
  EXPECT_EQ(Reports.size(), 1u);
  EXPECT_EQ(ticksDuringReport, 1);
  EXPECT_FALSE(Form1->ErrorReportOpen());
}

TEST_F(ErrorReportTest, GridPageStopsAtTheFileThatFailsWithoutPresenting) {
  OpenFolderOf(12);
  Form1->N20->Click();
  std::filesystem::remove(Form1->FileList->Strings(10));
  Tick();
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Form1->PageIndex, 1);
  // The screen still shows page 0.
  EXPECT_EQ(ScreenPixelAt(100, 100), EntryPixel(0));
}

TEST_F(ErrorReportTest, UnknownExtensionIsReported) {
  ChosenFile = Tree.File("notes.txt");
  LeftClick({ssCtrl});
  EXPECT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Form1->OpenPictureDialog1->FileName(), ChosenFile);
}

}  // namespace
