// Staged reading of bare DIB data (information header, masks, colour entries,
// pixels) over a bounds-checked reader. Each stage checks what it reads before the
// next one runs; the header is checked against the bytes left before any pixel
// storage is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/DIBPixelLayout.h"

// A source of bytes that knows how many are left.
class TDibReader {
 public:
  virtual ~TDibReader() = default;
  // Reads up to count bytes and returns how many it read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual uint64_t Remaining() const = 0;
  // Reads exactly count bytes or raises the framework's read error.
  void ReadExact(void* buffer, size_t count);
};

class TDibMemoryReader : public TDibReader {
 public:
  TDibMemoryReader(const void* data, size_t size)
      : FData(static_cast<const uint8_t*>(data)), FSize(size) {}
  size_t Read(void* buffer, size_t count) override;
  uint64_t Remaining() const override { return FSize - FPos; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

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
bool ReadDibHeader(TDibReader& reader, TDibHeader& header);
// Raises the framework's read error when fewer bytes are left than the pixels need.
void CheckPixelDataAvailable(const TDibHeader& header, const TDibReader& reader);
// Reads uncompressed rows into bottom-up storage (the bottom row at pixels).
void ReadDibRows(TDibReader& reader, const TDibHeader& header, uint8_t* pixels);
