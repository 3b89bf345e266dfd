#include <gtest/gtest.h>

#include "app/StartPath.h"
#include "tests/app/ShownViewer.h"

namespace {

// A path from the command line takes the way of a choice in the chooser, once
// the message loop runs.
class StartPathTest : public ShownViewerTest {
 protected:
  void OpenFromCommandLine(const std::string& path, TPathKind kind) {
    TCommandLine line;
    line.Path = path;
    line.PathKind = kind;
    OpenStartPath(line);
  }
  void RunLoop() {
    for (int i = 0; i < 5; ++i) Application().ProcessMessages();
  }
};

TEST_F(StartPathTest, AFileOpensAsIfChosenInTheFileChooser) {
  const std::string file = Tree.Path("a.bmp");
  WriteBmp(file, 40, 30, EntryColour(3));
  Form1->OffsetX = 45;
  OpenFromCommandLine(file, TPathKind::File);
  EXPECT_EQ(Form1->DXImageList1->Items().Items(0)->Picture().Width(), 0)
      << "opened before the loop ran";
  RunLoop();
  EXPECT_EQ(Form1->OpenPictureDialog1->FileName(), file);
  EXPECT_EQ(ScreenPixelAt(0, 0), Raw565(EntryColour(3)));
  EXPECT_EQ(ScreenPixelAt(40, 0), 0u);
  EXPECT_EQ(Form1->OffsetX, 0);
  EXPECT_EQ(OpenDialogs, 0);
  EXPECT_EQ(Form1->FileList->Count(), 0);
  // The arrow keys then move the file, as after a choice in the chooser.
  Key(VK_RIGHT);
  EXPECT_EQ(ScreenPixelAt(15, 0), Raw565(EntryColour(3)));
}

TEST_F(StartPathTest, AFolderOpensAsIfChosenInTheFolderChooser) {
  const std::string folder = Tree.Folder("pictures");
  for (int32_t i = 0; i < 3; ++i)
    WriteBmp(folder + "/p" + std::to_string(i) + ".bmp", 40, 30, EntryColour(i));
  OpenFromCommandLine(folder, TPathKind::Folder);
  RunLoop();
  ASSERT_EQ(Form1->FileList->Count(), 3);
  EXPECT_EQ(Form1->FileList->Strings(0), folder + "/p0.bmp");
  EXPECT_EQ(Form1->PageIndex, 1);
  EXPECT_EQ(ScreenPixelAt(0, 0), Raw565(EntryColour(0)));
  EXPECT_EQ(FolderChoosers, 0);
}

TEST_F(StartPathTest, AFileThatCannotBeDecodedGoesToTheErrorReportLikeAChosenOne) {
  ChosenFile = Tree.Path("broken.jpg");
  WriteCorruptJpeg(ChosenFile);
  LeftClick({ssCtrl});
  ASSERT_EQ(Reports.size(), 1u);
  OpenFromCommandLine(ChosenFile, TPathKind::File);
  RunLoop();
  ASSERT_EQ(Reports.size(), 2u);
  EXPECT_EQ(Reports[1], Reports[0]);
  EXPECT_FALSE(Form1->ErrorReportOpen());
}

TEST_F(StartPathTest, NoPathOpensNothing) {
  OpenFromCommandLine("", TPathKind::None);
  RunLoop();
  EXPECT_EQ(Form1->OpenPictureDialog1->FileName(), "");
  EXPECT_EQ(Form1->FileList->Count(), 0);
  EXPECT_EQ(ScreenPixelAt(0, 0), 0u);
  EXPECT_TRUE(Reports.empty());
}

}  // namespace
