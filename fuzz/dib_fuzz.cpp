// DIB files through TDIB::ReadFromStream, then a forced expansion of the pixels
// (run-length data is decoded there) and a write back.
#include <cstddef>
#include <cstdint>

#include "image/DIB.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"

namespace {

// Decoded storage a fuzz input may ask for; larger claims are sound but slow.
constexpr uint64_t kMaxExpandedBytes = uint64_t{4} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCustomMemoryStream stream(const_cast<uint8_t*>(data), static_cast<int64_t>(size));
  TDIB dib;
  try {
    dib.ReadFromStream(stream);
  } catch (const Exception&) {
    return 0;
  }
  if (static_cast<uint64_t>(dib.RowBytes()) * static_cast<uint64_t>(dib.Height()) >
      kMaxExpandedBytes)
    return 0;
  uint8_t* bits = dib.PixelBits();
  if (bits && dib.ImageSize() > 0) {
    volatile uint8_t sink = bits[0] ^ bits[dib.ImageSize() - 1];
    (void)sink;
  }
  TMemoryStream out;
  dib.WriteToStream(out);
  return 0;
}
