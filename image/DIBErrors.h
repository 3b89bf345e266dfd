// Message texts of the DIB unit, and the depth check both the reader and the
// image allocation make.
#pragma once

#include <cstdint>

#include "platform/framework/Exception.h"

namespace DIBText {
inline constexpr const char* kBitCountInvalid = "Bitcount in invalid (%d)";
inline constexpr const char* kPixelFormatInvalid = "PixelFormat in invalid";
inline constexpr const char* kDIBInvalid = "DIB is invalid";
inline constexpr const char* kCannotMake = "%s cannot be made";
inline constexpr const char* kDIBName = "DIB";
}  // namespace DIBText

// Raises EInvalidGraphicOperation "Bitcount in invalid (%d)" for a depth no DIB has.
inline void CheckDIBBitCount(int64_t bitCount) {
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    throw EInvalidGraphicOperation(DIBText::kBitCountInvalid, bitCount);
}
