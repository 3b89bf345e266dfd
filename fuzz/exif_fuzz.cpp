// EXIF orientation: any bytes, as a JPEG file or a bare EXIF block, through
// libexif's reading of the orientation tag.
#include <cstddef>
#include <cstdint>

#include "image/ExifOrientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t orientation = ReadExifOrientation(data, size);
  if (orientation < 1 || orientation > 8) __builtin_trap();
  return 0;
}
