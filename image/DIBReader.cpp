#include "image/DIBReader.h"

#include <algorithm>
#include <cstring>

#include "image/DIBErrors.h"
#include "image/PixelLimits.h"
#include "platform/framework/Exception.h"

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t DWord(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Fields of the header that later stages need besides the result record.
struct TRawFields {
  bool Core = false;
  int64_t Height = 0;
  uint32_t ColorsUsed = 0;
};

void ReadCoreHeader(TDibReader& reader, TDibHeader& header, TRawFields& raw) {
  uint8_t b[kCoreHeaderSize - 4];
  reader.ReadExact(b, sizeof b);
  raw.Core = true;
  header.Width = Word(b);
  raw.Height = Word(b + 2);
  header.BitCount = Word(b + 6);
  header.Compression = BI_RGB;
}

void ReadInfoHeader(TDibReader& reader, TDibHeader& header, TRawFields& raw) {
  uint8_t b[kInfoHeaderSize - 4];
  reader.ReadExact(b, sizeof b);
  header.Width = static_cast<int32_t>(DWord(b));
  raw.Height = static_cast<int32_t>(DWord(b + 4));
  header.BitCount = Word(b + 10);
  header.Compression = DWord(b + 12);
  header.SizeImage = DWord(b + 16);
  raw.ColorsUsed = DWord(b + 28);
}

// Depth, compression and dimensions, before any size is derived from them.
void CheckFormat(TDibHeader& header, const TRawFields& raw) {
  switch (header.BitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: throw EInvalidGraphicOperation(DIBText::kBitCountInvalid, header.BitCount);
  }
  const uint32_t c = header.Compression;
  const bool compressionFits = c == BI_RGB || c == BI_BITFIELDS ||
                               (c == BI_RLE8 && header.BitCount == 8) ||
                               (c == BI_RLE4 && header.BitCount == 4);
  // A height of INT32_MIN has no absolute value in 32 bits.
  if (!compressionFits || header.Width <= 0 || raw.Height == 0 || raw.Height == INT32_MIN)
    throw EInvalidGraphic(DIBText::kDIBInvalid);
  header.TopDown = raw.Height < 0;
  header.Height = static_cast<int32_t>(raw.Height < 0 ? -raw.Height : raw.Height);
}

void ReadLayout(TDibReader& reader, TDibHeader& header) {
  if (header.Compression == BI_BITFIELDS) {
    uint8_t b[12];
    reader.ReadExact(b, sizeof b);
    header.Layout = LayoutFromMasks(DWord(b), DWord(b + 4), DWord(b + 8));
  } else {
    header.Layout = header.BitCount == 16 ? Layout555() : Layout888();
  }
}

void ReadColorEntries(TDibReader& reader, TDibHeader& header, const TRawFields& raw) {
  uint32_t count = raw.ColorsUsed;
  if (count == 0 && header.BitCount <= 8) count = 1u << header.BitCount;
  count = std::min<uint32_t>(count, 256);
  std::fill(std::begin(header.ColorTable), std::end(header.ColorTable), RGBQUAD{});
  if (raw.Core) {
    RGBTRIPLE triples[256];
    reader.ReadExact(triples, count * sizeof(RGBTRIPLE));
    for (uint32_t i = 0; i < count; ++i)
      header.ColorTable[i] = MakeQuad(triples[i].rgbtRed, triples[i].rgbtGreen, triples[i].rgbtBlue);
  } else {
    reader.ReadExact(header.ColorTable, count * sizeof(RGBQUAD));
  }
}

}  // namespace

void TDibReader::ReadExact(void* buffer, size_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError(FrameworkText::kReadError);
}

size_t TDibMemoryReader::Read(void* buffer, size_t count) {
  const size_t n = std::min(count, FSize - FPos);
  if (n > 0) std::memcpy(buffer, FData + FPos, n);
  FPos += n;
  return n;
}

bool TDibHeader::RunLength() const { return Compression == BI_RLE8 || Compression == BI_RLE4; }

uint32_t TDibHeader::RowBytes() const {
  return static_cast<uint32_t>(PaddedRowBytes(static_cast<uint64_t>(Width), BitCount));
}

uint64_t TDibHeader::PixelDataBytes() const {
  if (RunLength()) return SizeImage;
  return PaddedRowBytes(static_cast<uint64_t>(Width), BitCount) * static_cast<uint64_t>(Height);
}

bool ReadDibHeader(TDibReader& reader, TDibHeader& header) {
  uint8_t sizeField[4];
  const size_t got = reader.Read(sizeField, sizeof sizeField);
  if (got == 0) return false;
  if (got < sizeof sizeField) throw EInvalidGraphic(DIBText::kDIBInvalid);
  TRawFields raw;
  header = TDibHeader{};
  const uint32_t headerSize = DWord(sizeField);
  if (headerSize == kCoreHeaderSize)
    ReadCoreHeader(reader, header, raw);
  else if (headerSize == kInfoHeaderSize)
    ReadInfoHeader(reader, header, raw);
  else
    throw EInvalidGraphic(DIBText::kDIBInvalid);
  CheckFormat(header, raw);
  ReadLayout(reader, header);
  ReadColorEntries(reader, header, raw);
  return true;
}

void CheckPixelDataAvailable(const TDibHeader& header, const TDibReader& reader) {
  if (header.PixelDataBytes() > reader.Remaining()) throw EReadError(FrameworkText::kReadError);
}

void ReadDibRows(TDibReader& reader, const TDibHeader& header, uint8_t* pixels) {
  const size_t rowBytes = header.RowBytes();
  const size_t height = static_cast<size_t>(header.Height);
  if (!header.TopDown) {
    reader.ReadExact(pixels, rowBytes * height);
    return;
  }
  // File row i is picture row i, stored bottom-up.
  for (size_t i = 0; i < height; ++i) reader.ReadExact(pixels + (height - 1 - i) * rowBytes, rowBytes);
}
