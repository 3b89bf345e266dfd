#include "platform/ui/Spin.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <algorithm>
#include <charconv>
#include <cstdint>

#include "platform/ui/QtBridge.h"

namespace {

// A spin box that leaves its text and its steps to the control.
class TSpinBox final : public QAbstractSpinBox {
 public:
  TSpinBox(TSpinEdit& control, QWidget* parent) : QAbstractSpinBox(parent), FControl(control) {
    QObject::connect(lineEdit(), &QLineEdit::textEdited,
                     [this](const QString& text) { FControl.SetText(text.toStdString()); });
  }
  void stepBy(int steps) override {
    RunGuarded([&] { FControl.Step(steps); });
  }
  void SetShownText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    if (lineEdit()->text() != shown) lineEdit()->setText(shown);
  }

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
  QValidator::State validate(QString& input, int&) const override {
    // Digits with an optional leading minus, as the field accepts while typing.
    for (int i = 0; i < input.size(); ++i)
      if (!input[i].isDigit() && !(i == 0 && input[i] == u'-')) return QValidator::Invalid;
    return QValidator::Acceptable;
  }

 private:
  TSpinEdit& FControl;
};

}  // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {}

int32_t TSpinEdit::Value() const {
  int32_t value = 0;
  const char* end = FText.data() + FText.size();
  auto [stop, error] = std::from_chars(FText.data(), end, value);
  return error == std::errc() && stop == end && !FText.empty() ? value : FMinValue;
}

int32_t TSpinEdit::CheckValue(int32_t value) const {
  if (!Bounded()) return value;
  return value < FMinValue ? FMinValue : (value > FMaxValue ? FMaxValue : value);
}

void TSpinEdit::SetValue(int32_t value) { SetText(std::to_string(CheckValue(value))); }

void TSpinEdit::SetText(const std::string& text) {
  FText = text;
  UpdateWidget();
}

void TSpinEdit::Step(int32_t steps) {
  int64_t next = int64_t{Value()} + steps;
  next = std::clamp<int64_t>(next, INT32_MIN, INT32_MAX);
  SetValue(static_cast<int32_t>(next));
}

void TSpinEdit::WndProc(TMessage& message) {
  if (message.Msg == WM_KILLFOCUS && CheckValue(Value()) != Value()) SetValue(Value());
  if (message.Msg == WM_KEYDOWN && (message.WParam == VK_UP || message.WParam == VK_DOWN)) {
    TWinControl::WndProc(message);
    // The field steps itself; the key is used up here.
    if (message.WParam == VK_UP)
      Step(1);
    else if (message.WParam == VK_DOWN)
      Step(-1);
    message.WParam = 0;
    return;
  }
  TWinControl::WndProc(message);
}

void TSpinEdit::CreateWidget() {
  auto* box = new TSpinBox(*this, TControlNative::ParentWidgetOf(*this));
  box->setKeyboardTracking(true);
  Native().Attach(box);
}

void TSpinEdit::UpdateWidget() {
  TWinControl::UpdateWidget();
  if (auto* box = dynamic_cast<TSpinBox*>(Native().Widget.data())) box->SetShownText(FText);
}
