#include "display/ControlSubClass.h"

TControlSubClass::TControlSubClass(TControl& control, TCallback callback, TObject* callbackData)
    : FControl(control),
      FPreviousWindowProc(control.WindowProc()),
      FCallback(callback),
      FCallbackData(callbackData) {
  FControl.SetWindowProc(
      [this](TMessage& message) { FCallback(FCallbackData, message, FPreviousWindowProc); });
}

TControlSubClass::~TControlSubClass() { FControl.SetWindowProc(FPreviousWindowProc); }
