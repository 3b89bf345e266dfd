#include <gtest/gtest.h>

#include "tests/app/ShownViewer.h"

namespace {

using JumpListTest = ShownViewerTest;

TEST_F(JumpListTest, DoubleClickShowsTheLineAndMovesOn) {
  OpenFolderOf(10);
  Key(VK_RIGHT);
  Form1->N18->Click();
  ASSERT_TRUE(Form5->Visible());
  ASSERT_EQ(Form5->ListBox1->Items().Count(), 10);
  Form5->ListBox1->SetItemIndex(3);
  Form5->ListBox1->DblClick();
  EXPECT_EQ(Form1->PageIndex, 4);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(3));
  EXPECT_EQ(Form1->OffsetX, 15);
  Form5->ListBox1->SetItemIndex(9);
  Form5->ListBox1->DblClick();
  EXPECT_EQ(Form1->PageIndex, 9);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(9));
  EXPECT_TRUE(Form5->Visible());
}

TEST_F(JumpListTest, ShowsTheSingleViewAlsoInTheGrid) {
  OpenFolderOf(4);
  Form1->N20->Click();
  Form1->N18->Click();
  Form5->ListBox1->SetItemIndex(2);
  Form5->ListBox1->DblClick();
  EXPECT_TRUE(Form1->N20->Checked());
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(2));
  EXPECT_EQ(PixelAt(100, 100), 0u);
}

TEST_F(JumpListTest, EmptyListShowsNothingAndDoubleClicksDoNothing) {
  Form1->N18->Click();
  EXPECT_EQ(Form5->ListBox1->Items().Count(), 0);
  Form5->ListBox1->DblClick();
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(JumpListTest, ShowingItAgainBringsItToTheFrontWithItsSnapshot) {
  OpenFolderOf(2);
  Form1->N18->Click();
  OpenFolderOf(3);
  Form1->N18->Click();
  EXPECT_EQ(Form5->ListBox1->Items().Count(), 2);
}

TEST_F(JumpListTest, AFileThatFailsIsReportedAndTheIndexStays) {
  OpenFolderOf(3);
  Form1->N18->Click();
  std::filesystem::remove(Form1->FileList->Strings(2));
  Form5->ListBox1->SetItemIndex(2);
  Form5->ListBox1->DblClick();
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Form1->PageIndex, 2);
  EXPECT_EQ(PixelAt(0, 0), EntryPixel(0));
}

}  // namespace
