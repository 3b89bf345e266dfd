// The EXIF orientation of a JPEG file: how its stored picture has to be turned
// or mirrored to stand upright. Read with libexif; any thread may call it.
#pragma once

#include <cstddef>
#include <cstdint>

// 1 (upright as stored) to 8, from the Orientation tag of the main picture in
// the file's EXIF block; 1 when there is no such block or tag, or it is damaged.
int32_t ReadExifOrientation(const uint8_t* jpeg, size_t size);
