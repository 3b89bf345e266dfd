#include <gtest/gtest.h>

#include "platform/framework/Exception.h"
#include "platform/framework/Persistent.h"

namespace {

class TSource : public TPersistent {
 public:
  LOUPIX_CLASS(TSource, TPersistent)
  int Value = 7;
};

class TTarget : public TPersistent {
 public:
  LOUPIX_CLASS(TTarget, TPersistent)
  int Value = 0;
};

// Knows how to copy itself into a TTarget, so the target needs no Assign of its own.
class TFriendlySource : public TSource {
 public:
  LOUPIX_CLASS(TFriendlySource, TSource)

 protected:
  void AssignTo(TPersistent* dest) override {
    if (auto* target = dynamic_cast<TTarget*>(dest)) {
      target->Value = Value;
      return;
    }
    TSource::AssignTo(dest);
  }
};

std::string AssignMessage(TPersistent& dest, TPersistent* source) {
  try {
    dest.Assign(source);
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(PersistentAssign, RefusalNamesSourceAndDestinationClasses) {
  TTarget target;
  TSource source;
  EXPECT_EQ(AssignMessage(target, &source), "Cannot assign a TSource to a TTarget");
  EXPECT_EQ(AssignMessage(target, nullptr), "Cannot assign a nil to a TTarget");
}

TEST(PersistentAssign, SourceThatKnowsTheDestinationCopiesItself) {
  TTarget target;
  TFriendlySource source;
  source.Value = 42;
  target.Assign(&source);
  EXPECT_EQ(target.Value, 42);
  TSource other;
  EXPECT_EQ(AssignMessage(other, &source), "Cannot assign a TFriendlySource to a TSource");
}

TEST(PersistentAssign, ErrorIsAConvertError) {
  TTarget target;
  try {
    target.Assign(nullptr);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EConvertError");
  }
}

}  // namespace
