// Class references and the root object. A class reference knows its name and its
// parent, so "is this class or derived from it" can be asked without an instance
// (the picture format registry needs that), and errors can name classes.
#pragma once

#include <functional>

class TClass {
 public:
  constexpr TClass(const char* name, const TClass* parent) : FName(name), FParent(parent) {}
  const char* ClassName() const { return FName; }
  const TClass* ClassParent() const { return FParent; }
  bool InheritsFrom(const TClass& other) const {
    for (const TClass* c = this; c; c = c->FParent)
      if (c == &other) return true;
    return false;
  }

 private:
  const char* FName;
  const TClass* FParent;
};

// Every class with a class reference declares it with LOUPIX_CLASS(Name, Parent)
// in its public section (TObject has none as parent).
#define LOUPIX_CLASS(Name, Parent)                           \
  static const TClass& StaticClass() {                       \
    static const TClass info(#Name, &Parent::StaticClass()); \
    return info;                                             \
  }                                                          \
  const TClass& ClassType() const override { return StaticClass(); }

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClass& StaticClass() {
    static const TClass info("TObject", nullptr);
    return info;
  }
  virtual const TClass& ClassType() const { return StaticClass(); }
  const char* ClassName() const { return ClassType().ClassName(); }
  bool InheritsFrom(const TClass& other) const { return ClassType().InheritsFrom(other); }
};

// The plain event: a handler that receives the object it came from.
using TNotifyEvent = std::function<void(TObject* sender)>;
