// Panel and timer.
#pragma once

#include <memory>

#include "platform/ui/Controls.h"

class TPanel : public TWinControl {
 public:
  LOUPIX_CLASS(TPanel, TWinControl)
  explicit TPanel(TComponent* owner) : TWinControl(owner) {}
};

struct TTimerNative;

// Ticks every Interval milliseconds while Enabled; an interval of 0 or less
// gives no ticks. Setting the interval restarts the count, also while running.
class TTimer : public TComponent {
 public:
  LOUPIX_CLASS(TTimer, TComponent)
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  int32_t Interval() const { return FInterval; }
  void SetInterval(int32_t value);
  // Whether ticks are coming: enabled with a positive interval.
  bool Running() const;

  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();

  std::unique_ptr<TTimerNative> FNative;
  bool FEnabled = true;
  int32_t FInterval = 1000;
};
