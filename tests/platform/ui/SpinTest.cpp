#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <ostream>

#include "platform/ui/Application.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

namespace {

struct TReadCase {
  int32_t min, max;
  const char* text;
  int32_t value;
};

std::ostream& operator<<(std::ostream& out, const TReadCase& c) {
  return out << c.min << ".." << c.max << " \"" << c.text << "\"";
}

class SpinReadTest : public testing::TestWithParam<TReadCase> {};

TEST_P(SpinReadTest, TextReadsAsValue) {
  TSpinEdit field(nullptr);
  field.SetMinValue(GetParam().min);
  field.SetMaxValue(GetParam().max);
  field.SetText(GetParam().text);
  EXPECT_EQ(field.Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpinReadTest,
                         testing::Values(TReadCase{1, 100, "42", 42}, TReadCase{1, 100, "150", 150},
                                         TReadCase{1, 100, "", 1}, TReadCase{1, 100, "abc", 1},
                                         TReadCase{1, 100, "-", 1}, TReadCase{1, 10, "3x", 1},
                                         TReadCase{0, 0, "", 0}, TReadCase{0, 0, "-40", -40},
                                         TReadCase{0, 0, "99999999999", 0},
                                         TReadCase{5, 9, " 7", 5}));

struct TStepCase {
  int32_t min, max;
  const char* text;
  int32_t steps;
  int32_t value;
};

std::ostream& operator<<(std::ostream& out, const TStepCase& c) {
  return out << c.min << ".." << c.max << " \"" << c.text << "\" " << c.steps;
}

class SpinStepTest : public testing::TestWithParam<TStepCase> {};

TEST_P(SpinStepTest, StepsByOneWithinTheBounds) {
  TSpinEdit field(nullptr);
  field.SetMinValue(GetParam().min);
  field.SetMaxValue(GetParam().max);
  field.SetText(GetParam().text);
  field.Step(GetParam().steps);
  EXPECT_EQ(field.Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpinStepTest,
                         testing::Values(TStepCase{1, 10, "3", 1, 4}, TStepCase{1, 10, "10", 1, 10},
                                         TStepCase{1, 10, "1", -1, 1},
                                         TStepCase{1, 10, "50", -1, 10}, TStepCase{1, 10, "", 1, 2},
                                         TStepCase{0, 0, "0", -1, -1},
                                         TStepCase{0, 0, "2147483647", 1, 2147483647}));

TEST(SpinEditTest, SetValueIsBroughtIntoTheBounds) {
  TSpinEdit field(nullptr);
  field.SetMinValue(1);
  field.SetMaxValue(10);
  field.SetValue(0);
  EXPECT_EQ(field.Text(), "1");
  field.SetValue(11);
  EXPECT_EQ(field.Text(), "10");
}

TEST(SpinEditTest, LosingTheFocusSettlesTheValueOnlyWhenBounded) {
  TSpinEdit bounded(nullptr), free(nullptr);
  bounded.SetMinValue(1);
  bounded.SetMaxValue(100);
  bounded.SetText("150");
  free.SetText("150000");
  bounded.Perform(WM_KILLFOCUS);
  free.Perform(WM_KILLFOCUS);
  EXPECT_EQ(bounded.Text(), "100");
  EXPECT_EQ(free.Text(), "150000");
}

TEST(SpinEditTest, EmptiedFieldStaysEmptyAndReadsAsTheLowerBound) {
  TSpinEdit field(nullptr);
  field.SetMinValue(1);
  field.SetMaxValue(100);
  field.SetText("");
  field.Perform(WM_KILLFOCUS);
  EXPECT_EQ(field.Text(), "");
  EXPECT_EQ(field.Value(), 1);
}

TEST(SpinEditTest, UpAndDownKeysStep) {
  TSpinEdit field(nullptr);
  field.SetMinValue(1);
  field.SetMaxValue(10);
  field.SetValue(5);
  field.Perform(WM_KEYDOWN, VK_UP);
  field.Perform(WM_KEYDOWN, VK_UP);
  field.Perform(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(field.Value(), 6);
}

TEST(SpinEditTest, QtUpKeyStepsOnceAndTypingReachesTheText) {
  TForm form(nullptr);
  auto* field = new TSpinEdit(&form);
  field->SetParent(&form);
  field->SetValue(5);
  form.Show();
  auto* widget = reinterpret_cast<QWidget*>(field->Handle());
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(widget, &up);
  EXPECT_EQ(field->Value(), 6);
  auto* edit = widget->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "6");
  edit->selectAll();
  for (auto [key, text] : {std::pair{Qt::Key_4, "4"}, std::pair{Qt::Key_2, "2"}}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
    QApplication::sendEvent(edit, &press);
  }
  EXPECT_EQ(field->Text(), "42");
}

TEST(SpinEditTest, KeyTakenByTheHandlerDoesNotStep) {
  TSpinEdit field(nullptr);
  field.SetValue(5);
  field.OnKeyDown = [](TObject*, WORD& key, TShiftState) { key = 0; };
  field.Perform(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(field.Value(), 5);
}

TEST(SpinEditTest, PressingAButtonSettlesTheFieldFirst) {
  TForm form(nullptr);
  auto* field = new TSpinEdit(&form);
  field->SetParent(&form);
  field->SetMinValue(1);
  field->SetMaxValue(10);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  int32_t seen = 0;
  button->OnClick = [&](TObject*) { seen = field->Value(); };
  form.Show();
  field->SetFocus();
  field->SetText("0");
  button->Click();
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(form.ActiveControl(), button);
}

}  // namespace
