#include <gtest/gtest.h>

#include <functional>

#include "tests/app/ViewerTest.h"
#include "tests/support/CaseName.h"

namespace {

// Runs `whileOpen` once the dialog's modal loop is running, then closes the
// dialog with its close box if it is still open.
void WhileModal(TCustomForm& dialog, const std::function<void()>& whileOpen) {
  auto* timer = new TTimer(Form1);
  timer->SetInterval(1);
  timer->OnTimer = [&dialog, whileOpen, timer](TObject*) {
    timer->SetEnabled(false);
    whileOpen();
    if (dialog.Visible()) dialog.Close();
  };
  timer->SetEnabled(true);
}

struct TDialogCase {
  const char* name;
  TMenuItem* TForm1::*Item;
  std::function<TCustomForm*()> Dialog;
};

class MenuDialogTest : public ViewerTest, public testing::WithParamInterface<TDialogCase> {};

TEST_P(MenuDialogTest, MenuItemShowsItsDialogModally) {
  const TDialogCase& c = GetParam();
  Form1->Show();
  TCustomForm& dialog = *c.Dialog();
  bool shownModally = false;
  WhileModal(dialog, [&] { shownModally = dialog.Visible() && dialog.Modal(); });
  (Form1->*c.Item)->Click();
  EXPECT_TRUE(shownModally);
  EXPECT_FALSE(dialog.Visible());
}

const TDialogCase kDialogs[] = {
    {"Magnification", &TForm1::N1, [] { return static_cast<TCustomForm*>(Form3); }},
    {"LensSize", &TForm1::N10, [] { return static_cast<TCustomForm*>(Form2); }},
    {"Interval", &TForm1::N14, [] { return static_cast<TCustomForm*>(Form4); }},
    {"Grid", &TForm1::N21, [] { return static_cast<TCustomForm*>(Form6); }},
};

INSTANTIATE_TEST_SUITE_P(Dialogs, MenuDialogTest, testing::ValuesIn(kDialogs), CaseName());

using MenuCommandsTest = ViewerTest;

TEST_F(MenuCommandsTest, SettingsDialogsOtherThanTheFactorStayOpenAfterTheirButton) {
  Form1->Show();
  for (auto [dialog, button] : {std::pair<TCustomForm*, TButton*>{Form2, Form2->Button1},
                                {Form4, Form4->Button1},
                                {Form6, Form6->Button1}}) {
    bool stillOpen = false;
    WhileModal(*dialog, [&, dialog = dialog, button = button] {
      button->Click();
      stillOpen = dialog->Visible();
    });
    dialog->ShowModal();
    EXPECT_TRUE(stillOpen) << dialog->Name();
  }
}

TEST_F(MenuCommandsTest, ClosingWithoutTheButtonChangesNothingAndKeepsTheField) {
  Form1->Show();
  WhileModal(*Form3, [] { Form3->SpinEdit1->SetText("9"); });
  Form1->N1->Click();
  EXPECT_EQ(Form1->Magnification, 4);
  WhileModal(*Form3, [] {});
  Form1->N1->Click();
  EXPECT_EQ(Form3->SpinEdit1->Value(), 9);
}

TEST_F(MenuCommandsTest, FieldsAreNotReloadedFromTheViewerState) {
  Form1->Show();
  Form2->SpinEdit1->SetText("120");
  Form2->Button1->Click();
  Form1->DxDraw2->SetBounds(0, 0, 300, 300);
  WhileModal(*Form2, [] {});
  Form1->N10->Click();
  EXPECT_EQ(Form2->SpinEdit1->Value(), 120);
  EXPECT_EQ(Form2->SpinEdit2->Value(), 273);
}

TEST_F(MenuCommandsTest, IntervalAppliesAtOnceWhileTheSlideshowRuns) {
  Form1->N12->Click();
  Form4->SpinEdit1->SetText("250");
  Form4->Button1->Click();
  EXPECT_EQ(Form1->Timer1->Interval(), 250);
  EXPECT_TRUE(Form1->Timer1->Running());
  Form4->SpinEdit1->SetText("-10");
  Form4->Button1->Click();
  EXPECT_TRUE(Form1->Timer1->Enabled());
  EXPECT_FALSE(Form1->Timer1->Running());
}

TEST_F(MenuCommandsTest, CheckItemsToggleWithoutCommands) {
  Form1->N4->Click();
  Form1->N5->Click();
  EXPECT_TRUE(Form1->N4->Checked());
  EXPECT_TRUE(Form1->N5->Checked());
  Form1->N4->Click();
  EXPECT_FALSE(Form1->N4->Checked());
}

TEST_F(MenuCommandsTest, JumpListIsShownWithoutBlocking) {
  Form1->Show();
  Form1->N18->Click();
  EXPECT_TRUE(Form5->Visible());
  EXPECT_FALSE(Form5->Modal());
  Form1->N18->Click();
  EXPECT_TRUE(Form5->Visible());
}

}  // namespace
