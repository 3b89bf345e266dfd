#include "platform/framework/Collection.h"

#include <algorithm>

#include "platform/framework/Exception.h"

// --- TCollectionItem ---------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

// The collection lets go of the item without deleting it: it is going already, or
// it moves to another collection.
TCollectionItem::~TCollectionItem() {
  if (FCollection) static_cast<void>(FCollection->RemoveItem(this).release());
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == FCollection) return;
  if (FCollection) static_cast<void>(FCollection->RemoveItem(this).release());
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TCollectionItem::SetIndex(int value) {
  const int current = Index();
  if (current < 0 || value == current) return;
  value = std::clamp(value, 0, FCollection->Count() - 1);
  FCollection->MoveItem(current, value);
  Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

// --- TCollection -------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass itemClass) : FItemClass(itemClass) {}

TCollection::~TCollection() {
  ++FUpdateCount;
  while (!FItems.empty()) delete FItems.back().get();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(FrameworkText::kListIndexError, index);
  return FItems[static_cast<size_t>(index)].get();
}

TCollectionItem* TCollection::Add() { return FItemClass.Create(this); }

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError(FrameworkText::kListIndexError, index);
  TCollectionItem* item = Add();
  ++FUpdateCount;
  item->SetIndex(index);
  --FUpdateCount;
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back().get();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (const auto& item : FItems)
    if (item->FID == id) return item.get();
  return nullptr;
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(other->Items(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
  FItems.emplace_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
  Changed();
}

std::unique_ptr<TCollectionItem> TCollection::RemoveItem(TCollectionItem* item) {
  const auto it =
      std::find_if(FItems.begin(), FItems.end(), [item](const auto& p) { return p.get() == item; });
  if (it == FItems.end()) return nullptr;
  std::unique_ptr<TCollectionItem> removed = std::move(*it);
  FItems.erase(it);
  item->FCollection = nullptr;
  Changed();
  return removed;
}

void TCollection::MoveItem(int from, int to) {
  std::unique_ptr<TCollectionItem> item = std::move(FItems[static_cast<size_t>(from)]);
  FItems.erase(FItems.begin() + from);
  FItems.insert(FItems.begin() + to, std::move(item));
}
