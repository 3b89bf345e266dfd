#include <gtest/gtest.h>

#include <tuple>

#include "platform/ui/Input.h"
#include "tests/app/ViewerTest.h"
#include "tests/support/TempTree.h"

namespace {

using MainFormTest = ViewerTest;

TEST_F(MainFormTest, StartsWithTheInitialViewerState) {
  EXPECT_EQ(Form1->PageIndex, 0);
  EXPECT_EQ(Form1->OffsetX, 0);
  EXPECT_EQ(Form1->OffsetY, 0);
  EXPECT_EQ(Form1->Magnification, 4);
  EXPECT_FALSE(Form1->LensOn);
  EXPECT_TRUE(Form1->AutoTrack);
  EXPECT_EQ(Form1->GridColumns, 3);
  EXPECT_EQ(Form1->GridRows, 3);
  ASSERT_NE(Form1->FileList, nullptr);
  EXPECT_EQ(Form1->FileList->Count(), 0);
  EXPECT_FALSE(Form1->Timer1->Enabled());
  EXPECT_EQ(Form1->Timer1->Interval(), 1000);
}

TEST_F(MainFormTest, IsTheBorderlessMaximisedMainWindow) {
  EXPECT_EQ(Application().MainForm(), Form1);
  EXPECT_EQ(Form1->Caption(), "Form1");
  EXPECT_EQ(Form1->BorderStyle(), bsNone);
  EXPECT_EQ(Form1->WindowState(), wsMaximized);
  Form1->Show();
  EXPECT_EQ(Form1->Width(), Screen().Width());
  EXPECT_EQ(Form1->Height(), Screen().Height());
  EXPECT_EQ(Form1->DXDraw1->BoundsRect(), Form1->ClientRect());
  EXPECT_EQ(Form1->DXDraw1->PopupMenu(), Form1->PopupMenu1);
}

TEST_F(MainFormTest, HoldsTheLensPanelAndTheOpenDialog) {
  EXPECT_FALSE(Form1->DxDraw2->Visible());
  EXPECT_EQ(Form1->DxDraw2->BoundsRect(), (TRect{104, 72, 104 + 257, 72 + 273}));
  EXPECT_EQ(Form1->OpenPictureDialog1->Filter(),
            "All (*.dib;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|JPEG Image File "
            "(*.jpg)|*.jpg|"
            "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(Form1->OpenPictureDialog1->FilterIndex(), 1);
  EXPECT_EQ(Form1->OpenPictureDialog1->FileName(), "");
  EXPECT_NE(Form1->FindComponent("DXImageList1"), nullptr);
}

// name, caption, kind (c command, - line, x check, r radio), group, checked at start
using TItemRow = std::tuple<const char*, const char*, char, int, bool>;
const TItemRow kItems[] = {
    {"N1", "设置放大倍数", 'c', 0, false},
    {"N10", "设置窗口尺寸", 'c', 4, false},
    {"N3", "关闭放大窗口", 'c', 4, false},
    {"N9", "-", '-', 4, false},
    {"N2", "应用自动跟踪", 'x', 4, true},
    {"N4", "拉伸图像", 'x', 4, false},
    {"N5", "透明放大", 'x', 4, false},
    {"N11", "-", '-', 4, false},
    {"N12", "启动自动翻页", 'r', 5, false},
    {"N13", "关闭自动翻页", 'r', 5, true},
    {"N14", "设置翻页间隔", 'c', 6, false},
    {"N15", "-", '-', 6, false},
    {"N16", "跳转到开始", 'c', 6, false},
    {"N17", "跳转到最后", 'c', 6, false},
    {"N18", "任意位置跳转", 'c', 6, false},
    {"N6", "-", '-', 6, false},
    {"N20", "分屏显示", 'x', 6, false},
    {"N21", "分屏设置", 'c', 6, false},
    {"N19", "-", '-', 6, false},
    {"N7", "打开图片文件", 'c', 6, false},
    {"N8", "打开图片目录", 'c', 6, false},
};

TEST_F(MainFormTest, ContextMenuHasTheItemsInDisplayOrder) {
  TMenuItem& items = Form1->PopupMenu1->Items();
  ASSERT_EQ(items.Count(), 21);
  for (int i = 0; i < 21; ++i) {
    auto [name, caption, kind, group, checked] = kItems[i];
    SCOPED_TRACE(name);
    TMenuItem* item = items.Items(i);
    EXPECT_EQ(item->Name(), name);
    EXPECT_EQ(item->Caption(), caption);
    EXPECT_EQ(item->IsLine(), kind == '-');
    EXPECT_EQ(item->AutoCheck(), kind == 'x');
    EXPECT_EQ(item->RadioItem(), kind == 'r');
    EXPECT_EQ(item->GroupIndex(), group);
    EXPECT_EQ(item->Checked(), checked);
    EXPECT_EQ(Form1->FindComponent(name), item);
  }
}

TEST_F(MainFormTest, TrackingItemCopiesItsCheckMark) {
  Form1->N2->Click();
  EXPECT_FALSE(Form1->N2->Checked());
  EXPECT_FALSE(Form1->AutoTrack);
  Form1->N2->Click();
  EXPECT_TRUE(Form1->AutoTrack);
}

TEST_F(MainFormTest, SlideshowRadioPairStartsAndStopsTheTimer) {
  Form1->N12->Click();
  EXPECT_TRUE(Form1->N12->Checked());
  EXPECT_FALSE(Form1->N13->Checked());
  EXPECT_TRUE(Form1->Timer1->Enabled());
  Form1->N13->Click();
  EXPECT_FALSE(Form1->N12->Checked());
  EXPECT_TRUE(Form1->N13->Checked());
  EXPECT_FALSE(Form1->Timer1->Enabled());
}

TEST_F(MainFormTest, EscapeEndsTheApplicationFromTheControlOrTheForm) {
  Form1->Show();
  EXPECT_EQ(Form1->DXDraw1->Perform(WM_KEYDOWN, VK_NEXT), 0);
  EXPECT_FALSE(Application().Terminated());
  Form1->DXDraw1->Perform(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(MainFormTest, FormKeyDownGoesToTheSameHandler) {
  Form1->Perform(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(MainFormTest, ScanUsesSlashPaths) {
  TTempTree tree;
  tree.File("sub/a.jpg");
  TForm1::ScanFolder(tree.Root(), *Form1->FileList);
  ASSERT_EQ(Form1->FileList->Count(), 1);
  EXPECT_EQ(Form1->FileList->Strings(0), tree.Root() + "/sub/a.jpg");
}

TEST_F(MainFormTest, AdvanceIndexHoldsOnTheLastEntry) {
  for (const char* name : {"a", "b", "c"}) Form1->FileList->Add(name);
  Form1->AdvanceIndex();
  EXPECT_EQ(Form1->PageIndex, 1);
  Form1->AdvanceIndex();
  Form1->AdvanceIndex();
  EXPECT_EQ(Form1->PageIndex, 2);
}

TEST_F(MainFormTest, DestroyingTheFormFreesTheList) {
  bool destroyed = false;
  Form1->OnDestroy = [&](TObject* sender) {
    Form1->FormDestroy(sender);
    destroyed = Form1->FileList == nullptr;
  };
  DoneApplication();
  EXPECT_TRUE(destroyed);
}

}  // namespace
