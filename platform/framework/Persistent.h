// Persistent objects: assignable from one another and able to name the binary
// properties they keep in stored data.
#pragma once

#include "platform/framework/Object.h"

class TFiler;

class TPersistent : public TObject {
 public:
  LOUPIX_CLASS(TPersistent, TObject)

  // Copies source into this object. The default asks the source to copy itself
  // (AssignTo); a source that cannot raises EConvertError "Cannot assign a %s to a %s".
  virtual void Assign(TPersistent* source);

 protected:
  // Copies this object into dest; the default refuses with EConvertError.
  virtual void AssignTo(TPersistent* dest);
  // Names the object's stored binary properties; the default has none.
  virtual void DefineProperties(TFiler& filer);
  // The object that owns this one in stored data, if any.
  virtual TPersistent* GetOwner() { return nullptr; }
  // Raises the assignment error for source (nullptr is named "nil") into this object.
  [[noreturn]] void AssignError(const TPersistent* source) const;

  friend class TFiler;
};
