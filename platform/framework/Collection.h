// Collections: an ordered list of items of one class that the collection owns.
// Items know their collection and their index; changing an item can notify the
// collection (Update), batched by BeginUpdate/EndUpdate.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  LOUPIX_CLASS(TCollectionItem, TPersistent)

  // With a collection, the item adds itself at the end and the collection owns it.
  // Items that belong to a collection are made with new.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection. With none the caller takes ownership;
  // giving an unowned item a collection hands it over.
  void SetCollection(TCollection* collection);
  int ID() const { return FID; }
  // Position in the collection, -1 without one.
  int Index() const;
  // Moves the item to position value (clamped to the collection).
  virtual void SetIndex(int value);
  // Defaults to the class name.
  virtual std::string DisplayName() const;

 protected:
  // Tells the collection that this item (or, with allItems, everything) changed.
  void Changed(bool allItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

// The item class of a collection: its class reference and how to make one.
struct TCollectionItemClass {
  const TClass* Class = nullptr;
  TCollectionItem* (*Create)(TCollection* collection) = nullptr;

  template <typename T>
  static TCollectionItemClass Of() {
    return {&T::StaticClass(), [](TCollection* c) -> TCollectionItem* { return new T(c); }};
  }
};

class TCollection : public TPersistent {
 public:
  LOUPIX_CLASS(TCollection, TPersistent)

  explicit TCollection(TCollectionItemClass itemClass);
  // Frees the items, last first.
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  const TCollectionItemClass& ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)".
  TCollectionItem* Items(int index) const;
  // A new item of the item class at the end / at index.
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Another collection: its items are copied into new items through their Assign.
  void Assign(TPersistent* source) override;

 protected:
  // A change of item (nullptr: of the whole collection), outside BeginUpdate.
  virtual void Update(TCollectionItem* item);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  std::unique_ptr<TCollectionItem> RemoveItem(TCollectionItem* item);
  void MoveItem(int from, int to);

  TCollectionItemClass FItemClass;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};
