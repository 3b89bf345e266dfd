#include "platform/gdi/PixelMemory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace gdi {
namespace {

// Below a few huge pages the C allocator does as well. Builds under
// AddressSanitizer keep every block with the allocator, whose bounds it checks.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kSystemBlockBytes = SIZE_MAX;
#else
constexpr size_t kSystemBlockBytes = size_t{4} << 20;
#endif

}  // namespace

uint8_t* AllocatePixels(size_t bytes) {
  if (bytes == 0) return nullptr;
  if (bytes < kSystemBlockBytes) return static_cast<uint8_t*>(std::calloc(bytes, 1));
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return nullptr;
  // Only a hint: without huge pages the block works the same, just faults more.
  static_cast<void>(madvise(block, bytes, MADV_HUGEPAGE));
  return static_cast<uint8_t*>(block);
}

void FreePixels(uint8_t* pixels, size_t bytes) {
  if (!pixels) return;
  if (bytes < kSystemBlockBytes)
    std::free(pixels);
  else
    munmap(pixels, bytes);
}

}  // namespace gdi
