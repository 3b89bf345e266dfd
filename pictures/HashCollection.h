// Collections whose items carry a name, kept in a 256-bucket name index.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/framework/Collection.h"

class THashCollection;

class THashCollectionItem : public TCollectionItem {
 public:
  LOUPIX_CLASS(THashCollectionItem, TCollectionItem)

  // Adds itself to collection and to the front of its name's chain.
  explicit THashCollectionItem(TCollection* collection);
  ~THashCollectionItem() override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& value);
  int32_t HashIndex() const { return FHashIndex; }
  int32_t CachedIndex() const { return FCachedIndex; }
  THashCollectionItem* Previous() const { return FPrevious; }
  THashCollectionItem* Next() const { return FNext; }

  void SetIndex(int value) override;
  std::string DisplayName() const override;
  // Another named item gives its Name; anything else as the framework assigns.
  void Assign(TPersistent* source) override;

  // The bucket of a name: from its length and two of its lower-cased characters.
  static int32_t NameHash(const std::string& name);

 private:
  THashCollection* HashCollection() const;
  void AddToIndex();
  void RemoveFromIndex();

  int32_t FHashIndex = 0;
  int32_t FCachedIndex = 0;
  std::string FName;
  THashCollectionItem* FPrevious = nullptr;
  THashCollectionItem* FNext = nullptr;
};

class THashCollection : public TCollection {
 public:
  LOUPIX_CLASS(THashCollection, TCollection)
  static constexpr int kBucketCount = 256;

  explicit THashCollection(TCollectionItemClass itemClass);
  // Frees the items while the index they leave still exists.
  ~THashCollection() override;

  // The head of a bucket's chain, or none.
  THashCollectionItem* Buckets(int index) const { return FBuckets.at(static_cast<size_t>(index)); }

 private:
  friend class THashCollectionItem;
  std::array<THashCollectionItem*, kBucketCount> FBuckets{};
};
