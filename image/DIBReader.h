// Staged reading of bare DIB data (information header, masks, colour entries,
// pixels) from a stream whose short reads raise the framework's read error. Each stage checks what
// it reads before the next one runs; the header is checked against the bytes left before any pixel
// storage is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/DIBPixelLayout.h"

class TStream;

// What the information block of a DIB says.
struct TDibHeader {
  int32_t Width = 0;
  int32_t Height = 0;  // absolute
  bool TopDown = false;
  uint32_t BitCount = 0;
  uint32_t Compression = 0;
  uint32_t SizeImage = 0;
  TPixelLayout Layout;
  TColorTable ColorTable{};

  bool RunLength() const;
  uint32_t RowBytes() const;
  // Bytes of pixel data that follow the colour entries.
  uint64_t PixelDataBytes() const;
};

// Reads the header, masks and colour entries. Returns false when the data is empty.
// Raises EInvalidGraphic "DIB is invalid" for a malformed header and
// EInvalidGraphicOperation "Bitcount in invalid (%d)" for an unknown depth.
bool ReadDibHeader(TStream& stream, TDibHeader& header);
// Raises the framework's read error when fewer bytes are left than the pixels need.
void CheckPixelDataAvailable(const TDibHeader& header, TStream& stream);
// Reads uncompressed rows into bottom-up storage (the bottom row at pixels).
void ReadDibRows(TStream& stream, const TDibHeader& header, uint8_t* pixels);
