#include "platform/framework/Persistent.h"

#include "platform/framework/Exception.h"

void TPersistent::Assign(TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::DefineProperties(TFiler&) {}

void TPersistent::AssignError(const TPersistent* source) const {
  throw EConvertError(FrameworkText::kAssignError, source ? source->ClassName() : "nil",
                      ClassName());
}
