#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/ShownViewer.h"
#include "tests/support/HangGuard.h"
#include "tests/support/NonRegularFiles.h"

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

// The state the menu's "关闭自动翻页" leaves.
void ExpectSlideshowStopped() {
  EXPECT_TRUE(Form1->N13->Checked());
  EXPECT_FALSE(Form1->N12->Checked());
  EXPECT_FALSE(Form1->Timer1->Enabled());
}

TEST_F(ErrorReportTest, FailingTickStopsTheSlideshowAfterItsOneReport) {
  OpenFolderOf(3);
  WriteCorruptJpeg(Form1->FileList->Strings(1));
  Form1->N12->Click();
  ClearBackSurface();
  Tick();
  ASSERT_EQ(Reports.size(), 1u);
  ExpectSlideshowStopped();
  EXPECT_EQ(Form1->PageIndex, 1);
  // Nothing drawn or presented: the back surface keeps what it had, the screen entry 0.
  EXPECT_EQ(PixelAt(0, 0), 0u);
  EXPECT_EQ(ScreenPixelAt(0, 0), EntryPixel(0));
}

TEST_F(ErrorReportTest, FailingGridTickStopsTheSlideshowToo) {
  OpenFolderOf(12);
  Form1->N20->Click();
  std::filesystem::remove(Form1->FileList->Strings(10));
  Form1->N12->Click();
  Tick();
  ASSERT_EQ(Reports.size(), 1u);
  ExpectSlideshowStopped();
  EXPECT_EQ(Form1->PageIndex, 1);
}

TEST_F(ErrorReportTest, SlideshowOnTheRealTimerReportsACorruptFileOnce) {
  OpenFolderOf(3);
  WriteCorruptJpeg(Form1->FileList->Strings(1));
  Form1->Timer1->SetInterval(1);
  Form1->N12->Click();
  Application().RunLoopUntil([this] { return !Reports.empty(); });
  EXPECT_EQ(Reports.size(), 1u);
  ExpectSlideshowStopped();
  EXPECT_FALSE(Form1->Timer1->Running());
  EXPECT_EQ(Form1->PageIndex, 1);
  // Started again by hand, it reports the file again and stops again.
  Form1->N12->Click();
  Application().RunLoopUntil([this] { return Reports.size() == 2; });
  ExpectSlideshowStopped();
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

// Entries named like pictures that are not files: a FIFO (opening it used to wait
// for a writer for good), a socket and links to endless devices.
TEST_F(ErrorReportTest, EntriesThatAreNotFilesAreReportedOnceEachWhilePaging) {
  const std::string folder = Tree.Folder("hostile");
  WriteBmp(folder + "/a.bmp", 10, 10, EntryColour(1));
  MakeFifo(folder + "/b.jpg");
  MakeSocket(folder + "/c.bmp");
  Tree.Link("/dev/zero", "hostile/d.jpeg");
  Tree.Link("/dev/urandom", "hostile/e.bmp");
  Tree.Folder("hostile/f.jpg");  // a folder: scanned, not listed
  WriteBmp(folder + "/g.bmp", 10, 10, EntryColour(2));
  THangGuard guard("paging through a folder of FIFOs, sockets and devices");
  ChosenFolder = folder;
  LeftClick({ssShift});
  ASSERT_EQ(Form1->FileList->Count(), 6);
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(PixelAt(0, 0), Raw565(EntryColour(1)));
  Key(VK_PRIOR);  // back to entry 0, then every entry after it
  for (int i = 0; i < 5; ++i) Key(VK_NEXT);
  ASSERT_EQ(Reports.size(), 4u);
  for (const char* name : {"b.jpg", "c.bmp", "d.jpeg", "e.bmp"})
    EXPECT_NE(std::find(Reports.begin(), Reports.end(), "Cannot open file " + folder + "/" + name),
              Reports.end())
        << name;
  EXPECT_EQ(Form1->PageIndex, 5);
  EXPECT_EQ(PixelAt(0, 0), Raw565(EntryColour(2)));
}

TEST_F(ErrorReportTest, FifoChosenAsAFileIsReportedWithoutWaiting) {
  ChosenFile = Tree.Path("pipe.jpg");
  MakeFifo(ChosenFile);
  THangGuard guard("opening a FIFO through the file chooser");
  LeftClick({ssCtrl});
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], "Cannot open file " + ChosenFile);
}

TEST_F(ErrorReportTest, UnknownExtensionIsReported) {
  ChosenFile = Tree.File("notes.txt");
  LeftClick({ssCtrl});
  EXPECT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Form1->OpenPictureDialog1->FileName(), ChosenFile);
}

}  // namespace
