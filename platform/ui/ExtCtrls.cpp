#include "platform/ui/ExtCtrls.h"

#include <QTimer>

#include "platform/ui/QtBridge.h"

struct TTimerNative {
  QTimer Timer;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  EnsureQtApplication();
  FNative = std::make_unique<TTimerNative>();
  QObject::connect(&FNative->Timer, &QTimer::timeout, [this] { RunGuarded([this] { Timer(); }); });
  UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(int32_t value) {
  FInterval = value;
  UpdateTimer();
}

bool TTimer::Running() const { return FNative->Timer.isActive(); }

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::UpdateTimer() {
  FNative->Timer.stop();
  if (FEnabled && FInterval > 0) FNative->Timer.start(FInterval);
}
