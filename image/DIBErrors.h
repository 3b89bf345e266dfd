// Message texts of the DIB unit.
#pragma once

namespace DIBText {
inline constexpr const char* kBitCountInvalid = "Bitcount in invalid (%d)";
inline constexpr const char* kPixelFormatInvalid = "PixelFormat in invalid";
inline constexpr const char* kDIBInvalid = "DIB is invalid";
inline constexpr const char* kCannotMake = "%s cannot be made";
inline constexpr const char* kDIBName = "DIB";
}  // namespace DIBText
