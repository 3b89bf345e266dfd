#include "platform/framework/List.h"

#include <algorithm>

#include "platform/framework/Exception.h"

void TList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EListError(FrameworkText::kListIndexError, index);
}

void* TList::Items(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item) {
  FItems.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  CheckIndex(index, Count() + 1);
  FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index) {
  CheckIndex(index, Count());
  FItems.erase(FItems.begin() + index);
}

int TList::Remove(void* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

int TList::IndexOf(const void* item) const {
  const auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(newIndex, Count());
  void* item = Items(curIndex);
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, item);
}
