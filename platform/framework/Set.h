// A small set of enumeration values, as the object model's "set of" types.
#pragma once

#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  constexpr bool Contains(E v) const { return (FBits >> static_cast<unsigned>(v)) & 1u; }
  constexpr void Include(E v) { FBits |= uint64_t{1} << static_cast<unsigned>(v); }
  constexpr void Exclude(E v) { FBits &= ~(uint64_t{1} << static_cast<unsigned>(v)); }
  constexpr bool IsEmpty() const { return FBits == 0; }
  constexpr uint64_t Bits() const { return FBits; }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;

 private:
  uint64_t FBits = 0;
};
