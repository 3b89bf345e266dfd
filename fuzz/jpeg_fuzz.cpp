// Feeds arbitrary bytes through the JPEG picture: reading the file and its header,
// then decoding into a bitmap. The last byte picks the decoding options (libjpeg
// ignores bytes after the end of the picture).
#include <cstddef>
#include <cstdint>

#include "image/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    TJPEGImage image;
    const uint8_t choice = size ? data[size - 1] : 0;
    image.Options().Palettized = choice & 1;
    image.Options().GrayOutput = choice & 2;
    image.Options().IncrementalDisplay = choice & 4;
    image.Options().FastDecode = choice & 8;
    image.Options().BlockSmoothing = choice & 16;
    image.Options().ScaleShift = (choice >> 5) & 3;
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    image.ReadFromStream(stream);
    // Keep each run quick; the size bound itself is covered by the tests.
    if (int64_t{image.JpegData().Width()} * image.JpegData().Height() > 1'000'000) return 0;
    image.DecodedBitmap();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
