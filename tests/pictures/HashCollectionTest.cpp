// The name index of named collection items: hashing, chains and cached positions.
#include <gtest/gtest.h>

#include "pictures/HashCollection.h"
#include "platform/framework/Exception.h"
#include "tests/support/CaseName.h"

namespace {

struct HashCase {
  const char* name;
  std::string text;
  int32_t bucket;
};
void PrintTo(const HashCase& c, std::ostream* os) { *os << c.name; }

class NameHashTest : public ::testing::TestWithParam<HashCase> {};

TEST_P(NameHashTest, UsesLengthAndTwoLowerCasedCharacters) {
  EXPECT_EQ(THashCollectionItem::NameHash(GetParam().text), GetParam().bucket);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameHashTest,
                         ::testing::Values(HashCase{"empty", "", 0}, HashCase{"one", "a", 16},
                                           HashCase{"two", "ab", (32 + 'a' + 'a') & 255},
                                           HashCase{"upper", "AB", (32 + 'a' + 'a') & 255},
                                           HashCase{"three", "abc", (48 + 'a' + 'b') & 255},
                                           HashCase{"word", "Picture", (112 + 'p' + 'r') & 255},
                                           HashCase{"long", std::string(300, 'x'),
                                                    (300 * 16 + 2 * 'x') & 255}),
                         CaseName());

class HashChainTest : public ::testing::Test {
 protected:
  THashCollectionItem* Add() { return static_cast<THashCollectionItem*>(FItems.Add()); }
  // The chain of a bucket from its head, checking the back links on the way.
  std::vector<THashCollectionItem*> Chain(int bucket) {
    std::vector<THashCollectionItem*> chain;
    THashCollectionItem* previous = nullptr;
    for (THashCollectionItem* item = FItems.Buckets(bucket); item; item = item->Next()) {
      EXPECT_EQ(item->Previous(), previous);
      EXPECT_EQ(item->HashIndex(), bucket);
      chain.push_back(item);
      previous = item;
    }
    return chain;
  }

  THashCollection FItems{TCollectionItemClass::Of<THashCollectionItem>()};
};

TEST_F(HashChainTest, NewItemsGoToTheFrontOfBucketZero) {
  auto* a = Add();
  auto* b = Add();
  auto* c = Add();
  EXPECT_EQ(Chain(0), (std::vector{c, b, a}));
  EXPECT_EQ(a->CachedIndex(), 0);
  EXPECT_EQ(c->CachedIndex(), 2);
}

TEST_F(HashChainTest, RenamingRelinksHeadMiddleAndTail) {
  auto* a = Add();
  auto* b = Add();
  auto* c = Add();
  const int bucket = THashCollectionItem::NameHash("Picture");
  b->SetName("Picture");  // middle
  EXPECT_EQ(Chain(0), (std::vector{c, a}));
  EXPECT_EQ(Chain(bucket), (std::vector{b}));
  c->SetName("picture");  // head; same bucket, whatever the case
  EXPECT_EQ(Chain(0), (std::vector{a}));
  EXPECT_EQ(Chain(bucket), (std::vector{c, b}));
  b->SetName("");  // tail
  EXPECT_EQ(Chain(bucket), (std::vector{c}));
  EXPECT_EQ(Chain(0), (std::vector{b, a}));
  b->SetName("");  // unchanged: stays where it is
  EXPECT_EQ(Chain(0), (std::vector{b, a}));
}

TEST_F(HashChainTest, DestructionUnlinksAndShiftsCachedIndexes) {
  auto* a = Add();
  auto* b = Add();
  auto* c = Add();
  auto* d = Add();
  delete b;
  EXPECT_EQ(Chain(0), (std::vector{d, c, a}));
  EXPECT_EQ(a->CachedIndex(), 0);
  EXPECT_EQ(c->CachedIndex(), 1);
  EXPECT_EQ(d->CachedIndex(), 2);
  delete d;
  EXPECT_EQ(Chain(0), (std::vector{c, a}));
  FItems.Clear();
  EXPECT_EQ(FItems.Buckets(0), nullptr);
}

TEST_F(HashChainTest, MovingRecordsEveryPosition) {
  auto* a = Add();
  auto* b = Add();
  auto* c = Add();
  c->SetIndex(0);
  EXPECT_EQ(FItems.Items(0), c);
  EXPECT_EQ(c->CachedIndex(), 0);
  EXPECT_EQ(a->CachedIndex(), 1);
  EXPECT_EQ(b->CachedIndex(), 2);
  a->SetIndex(1);  // already there
  EXPECT_EQ(FItems.Items(1), a);
}

TEST_F(HashChainTest, DisplayNameAndAssignment) {
  auto* a = Add();
  auto* b = Add();
  EXPECT_EQ(a->DisplayName(), "THashCollectionItem");
  a->SetName("first");
  EXPECT_EQ(a->DisplayName(), "first");
  b->Assign(a);
  EXPECT_EQ(b->Name(), "first");
  EXPECT_EQ(b->HashIndex(), THashCollectionItem::NameHash("first"));
  EXPECT_THROW(b->Assign(&FItems), EConvertError);
  EXPECT_THROW(b->Assign(nullptr), EConvertError);
}

}  // namespace
