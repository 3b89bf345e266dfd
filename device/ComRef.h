// Holds one counted reference to a display-service interface and gives it back
// when reset or destroyed.
#pragma once

#include "platform/gdi/WinTypes.h"

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
    if (this != &other) {
      Reset();
      FObject = other.FObject;
      other.FObject = nullptr;
    }
    return *this;
  }
  ~TComRef() { Reset(); }

  T* Get() const { return FObject; }
  T* operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }

  // Releases the held reference and takes over `object` (already counted).
  void Reset(T* object = nullptr) {
    T* old = FObject;
    FObject = object;
    if (old) old->Release();
  }
  // Adds a reference of its own to `object` and holds it.
  void Share(T* object) {
    if (object) object->AddRef();
    Reset(object);
  }
  // For out-parameters: releases what is held and hands out the slot.
  T** Out() {
    Reset();
    return &FObject;
  }

 private:
  T* FObject = nullptr;
};

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
