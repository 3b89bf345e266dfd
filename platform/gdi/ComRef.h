// Intrusive reference counting, kept in one place: TRefCount is the count inside
// a shared object, TComRef holds one counted reference and gives it back when
// reset or destroyed. Display-service interfaces count with AddRef and Release,
// shared images with Reference and Release; TComRef holds either kind.
#pragma once

#include <atomic>

#include "platform/gdi/WinTypes.h"

// The count of a shared object. Atomic, so references may be taken and dropped
// from any thread; the object itself frees itself when Drop reaches 0.
class TRefCount {
 public:
  explicit TRefCount(int initial) : FCount(initial) {}
  TRefCount(const TRefCount&) = delete;
  TRefCount& operator=(const TRefCount&) = delete;

  int Add() { return FCount.fetch_add(1, std::memory_order_relaxed) + 1; }
  // The references left.
  int Drop() { return FCount.fetch_sub(1, std::memory_order_acq_rel) - 1; }
  int Count() const { return FCount.load(std::memory_order_acquire); }

 private:
  std::atomic<int> FCount;
};

template <typename T>
class TComRef {
 public:
  TComRef() = default;
  // Takes over a reference the caller already holds.
  explicit TComRef(T* object) : FObject(object) {}
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  TComRef(TComRef&& other) noexcept : FObject(other.FObject) { other.FObject = nullptr; }
  TComRef& operator=(TComRef&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  ~TComRef() { Reset(); }

  T* Get() const { return FObject; }
  T* operator->() const { return FObject; }
  T& operator*() const { return *FObject; }
  explicit operator bool() const { return FObject != nullptr; }

  // Releases the held reference and takes over `object` (already counted).
  void Reset(T* object = nullptr) {
    T* old = FObject;
    FObject = object;
    if (old) old->Release();
  }
  // Adds a reference of its own to `object` and holds it.
  void Share(T* object) {
    if (object) {
      if constexpr (requires { object->AddRef(); }) {
        object->AddRef();
      } else {
        object->Reference();
      }
    }
    Reset(object);
  }
  // Hands the held reference to the caller, who must release it.
  T* Detach() {
    T* object = FObject;
    FObject = nullptr;
    return object;
  }
  // For out-parameters: releases what is held and hands out the slot.
  T** Out() {
    Reset();
    return &FObject;
  }

 private:
  T* FObject = nullptr;
};

// A reference of its own to `object`, for objects that start uncounted.
template <typename T>
TComRef<T> ShareRef(T* object) {
  TComRef<T> held;
  held.Share(object);
  return held;
}

// Asks `source` for another of its interfaces; an empty reference when refused.
template <typename T>
HRESULT QueryInto(IUnknown* source, REFIID iid, TComRef<T>& target) {
  target.Reset();
  if (!source) return E_POINTER;
  void* object = nullptr;
  const HRESULT result = source->QueryInterface(iid, &object);
  if (result == S_OK && object) target.Reset(static_cast<T*>(object));
  return result;
}
