// A list of untyped pointers; index errors raise EListError.
#pragma once

#include <vector>

#include "platform/framework/Object.h"

class TList : public TObject {
 public:
  LOUPIX_CLASS(TList, TObject)

  int Count() const { return static_cast<int>(FItems.size()); }
  void* Items(int index) const;
  void SetItems(int index, void* item);
  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  // Removes the first occurrence; returns its former index or -1.
  int Remove(void* item);
  int IndexOf(const void* item) const;
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  void Clear() { FItems.clear(); }

 private:
  void CheckIndex(int index, int limit) const;
  std::vector<void*> FItems;
};
