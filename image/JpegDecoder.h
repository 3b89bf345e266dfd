// A libjpeg decompressor over JPEG bytes held in memory, with the decoder set-up of
// a JPEG picture and row output into any row layout. Every libjpeg call runs under
// the guard, so errors arrive as EJPEG.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/JpegGuard.h"
#include "image/JpegOptions.h"

// Where decoded rows go: picture row k starts at FirstRow + k * Pitch.
struct TJpegRowTarget {
  uint8_t* FirstRow = nullptr;
  ptrdiff_t Pitch = 0;
  size_t RowBytes = 0;  // bytes each row may receive
};

// The quality settings chosen for the final output pass.
struct TJpegFinalSettings {
  J_DCT_METHOD DctMethod = JDCT_ISLOW;
  boolean TwoPassQuantize = FALSE;
  J_DITHER_MODE DitherMode = JDITHER_NONE;
};

class TJpegDecoder {
 public:
  // Creates the decompressor and attaches the data source; data must outlive it.
  TJpegDecoder(const uint8_t* data, size_t size);
  ~TJpegDecoder();
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;

  jpeg_decompress_struct& Info() { return FInfo; }
  const jpeg_decompress_struct& Info() const { return FInfo; }
  TJpegGuard& Guard() { return FGuard; }

  // jpeg_read_header requiring an image.
  void ReadHeader();
  bool HasMultipleScans();
  // Applies the options, computes the output size and refuses outputs that are too
  // large or have a layout no bitmap row can take.
  void SetUp(const TJPEGOptions& options);
  const TJpegFinalSettings& Final() const { return FFinal; }
  // 8 (palette indexes or grey) or 24 (blue, green, red); valid after SetUp.
  int OutputBitCount() const;

  void StartDecompress();
  // Reads the rows from output_scanline to the end of the output pass.
  void ReadRows(const TJpegRowTarget& target);
  // Returns what jpeg_consume_input returned.
  int ConsumeInput();
  void StartOutput(int scanNumber);
  void FinishOutput();
  void FinishDecompress();

 private:
  void ApplyQuality(const TJPEGOptions& options);
  void CheckOutput();

  TJpegGuard FGuard;
  jpeg_decompress_struct FInfo{};
  bool FCreated = false;
  TJpegFinalSettings FFinal;
};

// Refuses a picture of width x height at bitCount bits beyond the pixel storage bound.
void CheckJpegPictureSize(int64_t width, int64_t height, int bitCount);
