// JPEG files with an EXIF block, the orientation tag written with libexif, and
// the four-colour picture the orientation tests turn upright.
#pragma once

#include <libexif/exif-data.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "image/JpegImage.h"
#include "platform/framework/Stream.h"
#include "tests/support/TestPictures.h"

// An EXIF block ("Exif\0\0" and the TIFF data) whose directory ifd holds an
// Orientation tag of the given value, in the given byte order.
inline std::vector<uint8_t> ExifOrientationBlock(uint16_t value,
                                                 ExifByteOrder order = EXIF_BYTE_ORDER_INTEL,
                                                 ExifIfd ifd = EXIF_IFD_0) {
  ExifData* data = exif_data_new();
  exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_set_byte_order(data, order);
  ExifEntry* entry = exif_entry_new();
  exif_content_add_entry(data->ifd[ifd], entry);
  exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
  exif_set_short(entry->data, order, value);
  exif_entry_unref(entry);
  unsigned char* bytes = nullptr;
  unsigned int size = 0;
  exif_data_save_data(data, &bytes, &size);
  std::vector<uint8_t> block(bytes, bytes + size);
  std::free(bytes);
  exif_data_unref(data);
  return block;
}

// The JPEG file with an APP1 segment holding block right after its start marker.
inline std::vector<uint8_t> WithApp1(const std::vector<uint8_t>& jpeg,
                                     const std::vector<uint8_t>& block) {
  const size_t length = block.size() + 2;
  std::vector<uint8_t> file(jpeg.begin(), jpeg.begin() + 2);
  file.insert(file.end(), {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length & 0xFF)});
  file.insert(file.end(), block.begin(), block.end());
  file.insert(file.end(), jpeg.begin() + 2, jpeg.end());
  return file;
}

// Four quadrants of 48 x 32 pixels, read left to right, top to bottom.
using TQuadrants = std::array<Rgb, 4>;
inline constexpr Rgb kYellow{255, 255, 0};
// The upright picture: 96 x 64, red and green above, blue and yellow below.
inline constexpr TQuadrants kUprightQuadrants{kRed, kGreen, kBlue, kYellow};
inline constexpr int32_t kQuadrantWidth = 48, kQuadrantHeight = 32;

// A picture of four quadrants; standing on its side (width and height swapped)
// when sideways.
inline std::unique_ptr<TBitmap> QuadrantBitmap(const TQuadrants& colours, bool sideways) {
  const size_t width = sideways ? kQuadrantHeight : kQuadrantWidth;
  const size_t height = sideways ? kQuadrantWidth : kQuadrantHeight;
  std::vector<std::vector<Rgb>> rows(2 * height, std::vector<Rgb>(2 * width));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) rows[y][x] = colours[(y / height) * 2 + x / width];
  return MakeBitmap(rows);
}

// The picture encoded as a JPEG file through the project's encoder.
inline std::vector<uint8_t> JpegOf(TBitmap& bitmap) {
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  TMemoryStream stream;
  jpeg.WriteToStream(stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(bytes, bytes + stream.Size());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Channels differ by at most tolerance: JPEG keeps flat colours close, not exact.
inline bool Near(Rgb a, Rgb b, int tolerance = 40) {
  return std::abs(a.R - b.R) <= tolerance && std::abs(a.G - b.G) <= tolerance &&
         std::abs(a.B - b.B) <= tolerance;
}
