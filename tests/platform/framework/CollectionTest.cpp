#include <gtest/gtest.h>

#include "platform/framework/Collection.h"
#include "platform/framework/Exception.h"

namespace {

class TNumberItem : public TCollectionItem {
 public:
  LOUPIX_CLASS(TNumberItem, TCollectionItem)
  using TCollectionItem::TCollectionItem;
  int Number = 0;
  void SetNumber(int n) {
    Number = n;
    Changed(false);
  }
  void Assign(TPersistent* source) override {
    if (auto* other = dynamic_cast<TNumberItem*>(source)) {
      Number = other->Number;
      return;
    }
    TCollectionItem::Assign(source);
  }
};

class TCountingCollection : public TCollection {
 public:
  LOUPIX_CLASS(TCountingCollection, TCollection)
  TCountingCollection() : TCollection(TCollectionItemClass::Of<TNumberItem>()) {}
  TNumberItem* Item(int i) const { return static_cast<TNumberItem*>(Items(i)); }
  int WholeUpdates = 0;
  int ItemUpdates = 0;

 protected:
  void Update(TCollectionItem* item) override { ++(item ? ItemUpdates : WholeUpdates); }
};

std::vector<int> Numbers(const TCountingCollection& c) {
  std::vector<int> numbers;
  for (int i = 0; i < c.Count(); ++i) numbers.push_back(c.Item(i)->Number);
  return numbers;
}

TCountingCollection& FillTo(TCountingCollection& c, int count) {
  for (int i = 0; i < count; ++i) static_cast<TNumberItem*>(c.Add())->Number = i;
  return c;
}

TEST(Collection, AddInsertDeleteKeepIndexes) {
  TCountingCollection c;
  FillTo(c, 3);
  auto* inserted = static_cast<TNumberItem*>(c.Insert(1));
  inserted->Number = 9;
  EXPECT_EQ(Numbers(c), (std::vector<int>{0, 9, 1, 2}));
  EXPECT_EQ(inserted->Index(), 1);
  EXPECT_EQ(inserted->Collection(), &c);
  c.Delete(0);
  EXPECT_EQ(Numbers(c), (std::vector<int>{9, 1, 2}));
  EXPECT_EQ(inserted->Index(), 0);
}

struct IndexCase {
  int from, to;
  std::vector<int> expected;
};

class CollectionSetIndex : public testing::TestWithParam<IndexCase> {};

TEST_P(CollectionSetIndex, MovesTheItem) {
  TCountingCollection c;
  FillTo(c, 4);
  c.Item(GetParam().from)->SetIndex(GetParam().to);
  EXPECT_EQ(Numbers(c), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CollectionSetIndex,
                         testing::Values(IndexCase{0, 3, {1, 2, 3, 0}},
                                         IndexCase{3, 0, {3, 0, 1, 2}},
                                         IndexCase{1, 1, {0, 1, 2, 3}},
                                         IndexCase{1, 99, {0, 2, 3, 1}},
                                         IndexCase{2, -5, {2, 0, 1, 3}}));

TEST(Collection, BadIndexRaisesListError) {
  TCountingCollection c;
  FillTo(c, 2);
  for (int bad : {-1, 2}) {
    try {
      c.Items(bad);
      FAIL();
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
    }
  }
  EXPECT_THROW(c.Delete(2), EListError);
  EXPECT_THROW(c.Insert(3), EListError);
  EXPECT_EQ(c.Count(), 2);
}

TEST(Collection, DisplayNameOwnerAndIds) {
  TCountingCollection c;
  FillTo(c, 2);
  EXPECT_EQ(c.Item(0)->DisplayName(), "TNumberItem");
  EXPECT_EQ(c.FindItemID(c.Item(1)->ID()), c.Item(1));
  const int oldId = c.Item(1)->ID();
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.FindItemID(oldId), nullptr);
  EXPECT_GT(c.Add()->ID(), oldId);  // ids are never reused
}

TEST(Collection, UpdatesAreBatchedByBeginUpdate) {
  TCountingCollection c;
  FillTo(c, 2);
  c.WholeUpdates = c.ItemUpdates = 0;
  c.Item(0)->SetNumber(5);
  EXPECT_EQ(c.ItemUpdates, 1);
  c.BeginUpdate();
  c.Item(0)->SetNumber(6);
  c.Add();
  c.Delete(0);
  EXPECT_EQ(c.ItemUpdates + c.WholeUpdates, 1);
  c.EndUpdate();
  EXPECT_EQ(c.WholeUpdates, 1);
}

TEST(Collection, AssignCopiesItemsThroughTheirAssign) {
  TCountingCollection source, dest;
  FillTo(source, 3);
  FillTo(dest, 5);
  dest.Assign(&source);
  EXPECT_EQ(Numbers(dest), Numbers(source));
  EXPECT_NE(dest.Item(0), source.Item(0));
  TNumberItem loose(nullptr);
  EXPECT_THROW(dest.Assign(&loose), EConvertError);
}

TEST(Collection, ItemsMoveBetweenCollections) {
  TCountingCollection a, b;
  FillTo(a, 2);
  TNumberItem* item = a.Item(0);
  item->SetCollection(&b);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(item->Collection(), &b);
  delete item;
  EXPECT_EQ(b.Count(), 0);
}

}  // namespace
