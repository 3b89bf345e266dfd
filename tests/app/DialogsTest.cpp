#include <gtest/gtest.h>

#include "tests/app/ViewerTest.h"

namespace {

using DialogsTest = ViewerTest;

struct TPlace {
  TControl* control;
  TRect bounds;
};

void ExpectPlaces(std::initializer_list<TPlace> places) {
  for (const TPlace& place : places) {
    SCOPED_TRACE(place.control->Name());
    EXPECT_EQ(place.control->BoundsRect(), place.bounds);
  }
}

TRect At(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

void ExpectDialog(TCustomForm& form, const char* caption, int32_t width, int32_t height,
                  const char* font, int32_t pixels) {
  EXPECT_EQ(form.Caption(), caption);
  EXPECT_EQ(form.ClientWidth(), width);
  EXPECT_EQ(form.ClientHeight(), height);
  EXPECT_EQ(form.BorderStyle(), bsDialog);
  EXPECT_EQ(form.Position(), poMainFormCenter);
  EXPECT_EQ(form.Font().Name, font);
  EXPECT_EQ(form.Font().PixelSize, pixels);
  EXPECT_FALSE(form.Visible());
}

TEST_F(DialogsTest, MagnificationDialogLayout) {
  ExpectDialog(*Form3, "设置放大倍数", 225, 51, "MS Sans Serif", 11);
  ExpectPlaces({{Form3->SpinEdit1, At(16, 16, 121, 22)}, {Form3->Button1, At(160, 16, 57, 25)}});
  EXPECT_EQ(Form3->SpinEdit1->Value(), 4);
  EXPECT_EQ(Form3->SpinEdit1->MinValue(), 1);
  EXPECT_EQ(Form3->SpinEdit1->MaxValue(), 100);
  EXPECT_EQ(Form3->Button1->Caption(), "应用");
}

TEST_F(DialogsTest, LensSizeDialogLayout) {
  ExpectDialog(*Form2, "设置", 311, 62, "宋体", 12);
  EXPECT_EQ(Form2->Font().Charset, GB2312_CHARSET);
  ExpectPlaces({{Form2->Label1, At(10, 12, 72, 12)},
                {Form2->Label2, At(10, 38, 72, 12)},
                {Form2->SpinEdit1, At(98, 11, 121, 21)},
                {Form2->SpinEdit2, At(98, 35, 121, 21)},
                {Form2->Button1, At(230, 20, 75, 25)}});
  EXPECT_EQ(Form2->Label1->Caption(), "放大窗口宽度");
  EXPECT_EQ(Form2->Label2->Caption(), "放大窗口高度");
  EXPECT_EQ(Form2->SpinEdit1->Value(), 257);
  EXPECT_EQ(Form2->SpinEdit2->Value(), 273);
  EXPECT_FALSE(Form2->SpinEdit1->Bounded());
  EXPECT_EQ(Form2->Button1->Caption(), "确定");
}

TEST_F(DialogsTest, IntervalDialogLayout) {
  ExpectDialog(*Form4, "时间设置", 334, 57, "宋体", 12);
  ExpectPlaces({{Form4->Label1, At(16, 21, 48, 12)},
                {Form4->SpinEdit1, At(75, 18, 121, 21)},
                {Form4->Label2, At(200, 22, 24, 12)},
                {Form4->Button1, At(248, 16, 75, 25)}});
  EXPECT_EQ(Form4->Label1->Caption(), "时间间隔");
  EXPECT_EQ(Form4->Label2->Caption(), "毫秒");
  EXPECT_EQ(Form4->SpinEdit1->Value(), 1000);
  EXPECT_EQ(Form4->Button1->Caption(), "应用");
}

TEST_F(DialogsTest, GridDialogLayout) {
  ExpectDialog(*Form6, "分屏设置", 314, 61, "宋体", 12);
  ExpectPlaces({{Form6->Label1, At(10, 12, 72, 12)},
                {Form6->Label2, At(10, 38, 72, 12)},
                {Form6->SpinEdit1, At(98, 11, 121, 21)},
                {Form6->SpinEdit2, At(98, 35, 121, 21)},
                {Form6->Button1, At(230, 20, 75, 25)}});
  EXPECT_EQ(Form6->Label1->Caption(), "放大窗口宽度");
  for (TSpinEdit* field : {Form6->SpinEdit1, Form6->SpinEdit2}) {
    EXPECT_EQ(field->Value(), 3);
    EXPECT_EQ(field->MinValue(), 1);
    EXPECT_EQ(field->MaxValue(), 10);
  }
}

TEST_F(DialogsTest, JumpListLayout) {
  ExpectDialog(*Form5, "任意位置跳转", 350, 327, "宋体", 12);
  EXPECT_EQ(Form5->FormStyle(), fsStayOnTop);
  EXPECT_EQ(Form5->ListBox1->Align(), alClient);
  EXPECT_EQ(Form5->ListBox1->BoundsRect(), At(0, 0, 350, 327));
  EXPECT_EQ(Form5->ListBox1->ItemHeight(), 12);
}

TEST_F(DialogsTest, DialogsCentreOnTheMainWindow) {
  Form1->Show();
  Form2->Show();
  EXPECT_EQ(Form2->Left(), (Form1->Width() - 311) / 2);
  EXPECT_EQ(Form2->Top(), (Form1->Height() - 62) / 2);
}

// Types into a field as a person does: focus, text, then the button.
void TypeAndPress(TSpinEdit* field, const std::string& text, TButton* button) {
  field->SetFocus();
  field->SetText(text);
  button->Click();
}

TEST_F(DialogsTest, MagnificationIsBoundedAndClosesTheDialog) {
  Form1->Show();
  bool closed = false;
  Form1->Timer1->SetInterval(1);
  Form1->Timer1->SetEnabled(true);
  Form1->Timer1->OnTimer = [&](TObject*) {
    Form1->Timer1->SetEnabled(false);
    TypeAndPress(Form3->SpinEdit1, "150", Form3->Button1);
  };
  TModalResult result = Form3->ShowModal();
  closed = !Form3->Visible();
  EXPECT_EQ(result, mrOk);
  EXPECT_TRUE(closed);
  EXPECT_EQ(Form1->Magnification, 100);
}

TEST_F(DialogsTest, EmptiedMagnificationReadsAsTheLowerBound) {
  TypeAndPress(Form3->SpinEdit1, "", Form3->Button1);
  EXPECT_EQ(Form1->Magnification, 1);
}

TEST_F(DialogsTest, LensSizeTakesAnyValue) {
  TypeAndPress(Form2->SpinEdit1, "0", Form2->Button1);
  TypeAndPress(Form2->SpinEdit2, "-40", Form2->Button1);
  EXPECT_EQ(Form1->DxDraw2->Width(), 0);
  EXPECT_EQ(Form1->DxDraw2->Height(), -40);
}

TEST_F(DialogsTest, EmptiedIntervalStopsTicks) {
  Form1->N12->Click();
  TypeAndPress(Form4->SpinEdit1, "", Form4->Button1);
  EXPECT_EQ(Form1->Timer1->Interval(), 0);
  EXPECT_TRUE(Form1->Timer1->Enabled());
  EXPECT_FALSE(Form1->Timer1->Running());
}

TEST_F(DialogsTest, GridSizeIsBroughtIntoItsBounds) {
  TypeAndPress(Form6->SpinEdit1, "0", Form6->Button1);
  TypeAndPress(Form6->SpinEdit2, "11", Form6->Button1);
  EXPECT_EQ(Form1->GridColumns, 1);
  EXPECT_EQ(Form1->GridRows, 10);
}

TEST_F(DialogsTest, JumpListShowsTheListTakenWhenShown) {
  for (const char* name : {"/p/a.jpg", "/p/b.jpg"}) Form1->FileList->Add(name);
  Form5->Show();
  ASSERT_EQ(Form5->ListBox1->Items().Count(), 2);
  EXPECT_EQ(Form5->ListBox1->Items().Strings(1), "/p/b.jpg");
  Form1->FileList->Add("/p/c.jpg");
  EXPECT_EQ(Form5->ListBox1->Items().Count(), 2);
  Form5->Hide();
  Form5->Show();
  EXPECT_EQ(Form5->ListBox1->Items().Count(), 3);
}

TEST_F(DialogsTest, JumpListIgnoresLinesNoLongerInTheList) {
  for (int i = 0; i < 3; ++i) Form1->FileList->Add("/p/" + std::to_string(i) + ".jpg");
  Form5->Show();
  Form5->ListBox1->SetItemIndex(2);
  Form1->FileList->Clear();
  Form5->ListBox1->DblClick();
  EXPECT_EQ(Form1->PageIndex, 0);
  Form5->ListBox1->SetItemIndex(-1);
  Form5->ListBox1->DblClick();
  EXPECT_EQ(Form1->PageIndex, 0);
}

}  // namespace
