// Memory for pixels. A camera photo's pixels take tens of megabytes, and writing
// fresh memory costs a page fault per 4 KiB page: for a 24-megapixel picture a
// fifth of its decoding time. Large blocks therefore come straight from the system
// on huge pages where it offers them, which need one fault per 2 MiB.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gdi {

// Zero-filled memory of the given size; nullptr when there is none (or for 0 bytes).
uint8_t* AllocatePixels(size_t bytes);
// Gives back a block AllocatePixels made, with the size it was asked for.
void FreePixels(uint8_t* pixels, size_t bytes);

}  // namespace gdi
