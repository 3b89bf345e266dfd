// The integer spin field: an integer as text with steps of 1.
#pragma once

#include "platform/ui/Controls.h"

class TSpinEdit : public TWinControl {
 public:
  LOUPIX_CLASS(TSpinEdit, TWinControl)
  explicit TSpinEdit(TComponent* owner);

  // Both bounds 0: no bounds.
  int32_t MinValue() const { return FMinValue; }
  void SetMinValue(int32_t value) { FMinValue = value; }
  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t value) { FMaxValue = value; }
  bool Bounded() const { return FMinValue != 0 || FMaxValue != 0; }

  // The text read as an integer; text that is not one reads as MinValue.
  int32_t Value() const;
  // Writes the value, brought into the bounds.
  void SetValue(int32_t value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  // One step up (+1) or down (-1), as the arrows and the Up/Down keys do.
  void Step(int32_t steps);

  void WndProc(TMessage& message) override;

 protected:
  void CreateWidget() override;
  void UpdateWidget() override;

 private:
  int32_t CheckValue(int32_t value) const;

  int32_t FMinValue = 0;
  int32_t FMaxValue = 0;
  std::string FText = "0";
};
