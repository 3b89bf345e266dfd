// Feeds arbitrary bytes through JPEG header reading and decoding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    TJpegDecoder decoder(data, size);
    decoder.ReadHeader();
    // Keep each run small: the size bound itself is tested elsewhere.
    if (uint64_t{decoder.Info().image_width} * decoder.Info().image_height > 4'000'000) return 0;
    decoder.SetUp({});
    decoder.StartDecompress();
    const size_t pitch = (size_t{decoder.Info().output_width} * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> pixels(pitch * decoder.Info().output_height);
    decoder.ReadRows({pixels.data() + pitch * (decoder.Info().output_height - 1), -static_cast<ptrdiff_t>(pitch), pitch});
    decoder.FinishDecompress();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
