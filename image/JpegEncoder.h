// A libjpeg compressor turning 24-bit blue, green, red rows into a complete JPEG file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TJpegEncodeSettings {
  int Quality = 90;  // 1..100
  bool Grayscale = false;
  bool Progressive = false;
};

// Rows are read top picture row first: row k starts at firstRow + k * pitch.
// Errors arrive as EJPEG.
std::vector<uint8_t> EncodeJpeg(const uint8_t* firstRow, ptrdiff_t pitch, uint32_t width,
                                uint32_t height, const TJpegEncodeSettings& settings);
