// Hooks a control's window procedure: every message goes to a callback, which
// decides whether and when to hand it to the procedure that was there before.
#pragma once

#include "platform/ui/Controls.h"

class TControlSubClass {
 public:
  using TCallback = void (*)(TObject* data, TMessage& message, const TWndMethod& previous);

  TControlSubClass(TControl& control, TCallback callback, TObject* callbackData);
  // Puts the saved window procedure back.
  ~TControlSubClass();
  TControlSubClass(const TControlSubClass&) = delete;
  TControlSubClass& operator=(const TControlSubClass&) = delete;

  TControl& Control() const { return FControl; }
  const TWndMethod& PreviousWindowProc() const { return FPreviousWindowProc; }

 private:
  TControl& FControl;
  TWndMethod FPreviousWindowProc;
  TCallback FCallback;
  TObject* FCallbackData;
};
