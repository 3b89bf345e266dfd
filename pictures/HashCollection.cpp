#include "pictures/HashCollection.h"

#include <cctype>

THashCollectionItem::THashCollectionItem(TCollection* collection) : TCollectionItem(collection) {
  FCachedIndex = Index();
  AddToIndex();
}

THashCollectionItem::~THashCollectionItem() {
  if (TCollection* owner = Collection()) {
    for (int i = FCachedIndex + 1; i < owner->Count(); ++i)
      if (auto* item = dynamic_cast<THashCollectionItem*>(owner->Items(i))) --item->FCachedIndex;
  }
  RemoveFromIndex();
}

THashCollection* THashCollectionItem::HashCollection() const {
  return dynamic_cast<THashCollection*>(Collection());
}

int32_t THashCollectionItem::NameHash(const std::string& name) {
  uint64_t h = uint64_t{name.size()} * 16;
  if (name.size() >= 2) {
    auto lower = [](char c) {
      return static_cast<uint64_t>(std::tolower(static_cast<unsigned char>(c)));
    };
    h += lower(name[0]) + lower(name[name.size() - 2]);
  }
  return static_cast<int32_t>(h & 255);
}

void THashCollectionItem::AddToIndex() {
  FHashIndex = NameHash(FName);
  THashCollection* owner = HashCollection();
  if (!owner) return;
  THashCollectionItem*& head = owner->FBuckets[static_cast<size_t>(FHashIndex)];
  if (head) head->FPrevious = this;
  FNext = head;
  head = this;
}

void THashCollectionItem::RemoveFromIndex() {
  if (FPrevious) {
    FPrevious->FNext = FNext;
    if (FNext) FNext->FPrevious = FPrevious;
  } else if (THashCollection* owner = HashCollection();
             owner && owner->FBuckets[static_cast<size_t>(FHashIndex)] == this) {
    owner->FBuckets[static_cast<size_t>(FHashIndex)] = FNext;
    if (FNext) FNext->FPrevious = nullptr;
  }
  FPrevious = nullptr;
  FNext = nullptr;
}

void THashCollectionItem::SetName(const std::string& value) {
  if (value == FName) return;
  FName = value;
  RemoveFromIndex();
  AddToIndex();
}

void THashCollectionItem::SetIndex(int value) {
  if (value == FCachedIndex) return;
  TCollectionItem::SetIndex(value);
  // A move shifts the items between the two places: record every position anew.
  if (TCollection* owner = Collection())
    for (int i = 0; i < owner->Count(); ++i)
      if (auto* item = dynamic_cast<THashCollectionItem*>(owner->Items(i))) item->FCachedIndex = i;
}

std::string THashCollectionItem::DisplayName() const {
  return FName.empty() ? TCollectionItem::DisplayName() : FName;
}

void THashCollectionItem::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<THashCollectionItem*>(source)) {
    SetName(other->Name());
    return;
  }
  TCollectionItem::Assign(source);
}

THashCollection::THashCollection(TCollectionItemClass itemClass) : TCollection(itemClass) {}

THashCollection::~THashCollection() { Clear(); }
