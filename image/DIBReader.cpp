#include "image/DIBReader.h"

#include <algorithm>
#include <cstring>

#include "image/DIBErrors.h"
#include "image/PixelLimits.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"

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

void ReadCoreHeader(TStream& stream, TDibHeader& header, TRawFields& raw) {
  uint8_t b[kCoreHeaderSize - 4];
  stream.ReadBuffer(b, sizeof b);
  raw.Core = true;
  header.Width = Word(b);
  raw.Height = Word(b + 2);
  header.BitCount = Word(b + 6);
  header.Compression = BI_RGB;
}

void ReadInfoHeader(TStream& stream, TDibHeader& header, TRawFields& raw) {
  uint8_t b[kInfoHeaderSize - 4];
  stream.ReadBuffer(b, sizeof b);
  header.Width = static_cast<int32_t>(DWord(b));
  raw.Height = static_cast<int32_t>(DWord(b + 4));
  header.BitCount = Word(b + 10);
  header.Compression = DWord(b + 12);
  header.SizeImage = DWord(b + 16);
  raw.ColorsUsed = DWord(b + 28);
}

// Depth, compression and dimensions, before any size is derived from them.
void CheckFormat(TDibHeader& header, const TRawFields& raw) {
  CheckDIBBitCount(header.BitCount);
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

void ReadLayout(TStream& stream, TDibHeader& header) {
  if (header.Compression == BI_BITFIELDS) {
    uint8_t b[12];
    stream.ReadBuffer(b, sizeof b);
    header.Layout = LayoutFromMasks(DWord(b), DWord(b + 4), DWord(b + 8));
  } else {
    header.Layout = header.BitCount == 16 ? Layout555() : Layout888();
  }
}

void ReadColorEntries(TStream& stream, TDibHeader& header, const TRawFields& raw) {
  uint32_t count = raw.ColorsUsed;
  if (count == 0 && header.BitCount <= 8) count = 1u << header.BitCount;
  count = std::min<uint32_t>(count, 256);
  std::fill(std::begin(header.ColorTable), std::end(header.ColorTable), RGBQUAD{});
  if (raw.Core) {
    RGBTRIPLE triples[256];
    stream.ReadBuffer(triples, count * sizeof(RGBTRIPLE));
    for (uint32_t i = 0; i < count; ++i)
      header.ColorTable[i] =
          MakeQuad(triples[i].rgbtRed, triples[i].rgbtGreen, triples[i].rgbtBlue);
  } else {
    stream.ReadBuffer(header.ColorTable, count * sizeof(RGBQUAD));
  }
}

}  // namespace

bool TDibHeader::RunLength() const { return Compression == BI_RLE8 || Compression == BI_RLE4; }

uint32_t TDibHeader::RowBytes() const {
  return static_cast<uint32_t>(PaddedRowBytes(static_cast<uint64_t>(Width), BitCount));
}

uint64_t TDibHeader::PixelDataBytes() const {
  if (RunLength()) return SizeImage;
  return PaddedRowBytes(static_cast<uint64_t>(Width), BitCount) * static_cast<uint64_t>(Height);
}

bool ReadDibHeader(TStream& stream, TDibHeader& header) {
  uint8_t sizeField[4];
  const int64_t got = stream.Read(sizeField, sizeof sizeField);
  if (got == 0) return false;
  if (got < static_cast<int64_t>(sizeof sizeField)) throw EInvalidGraphic(DIBText::kDIBInvalid);
  TRawFields raw;
  header = TDibHeader{};
  const uint32_t headerSize = DWord(sizeField);
  if (headerSize == kCoreHeaderSize)
    ReadCoreHeader(stream, header, raw);
  else if (headerSize == kInfoHeaderSize)
    ReadInfoHeader(stream, header, raw);
  else
    throw EInvalidGraphic(DIBText::kDIBInvalid);
  CheckFormat(header, raw);
  ReadLayout(stream, header);
  ReadColorEntries(stream, header, raw);
  return true;
}

void CheckPixelDataAvailable(const TDibHeader& header, TStream& stream) {
  if (header.PixelDataBytes() > static_cast<uint64_t>(stream.Remaining()))
    throw EReadError(FrameworkText::kReadError);
}

void ReadDibRows(TStream& stream, const TDibHeader& header, uint8_t* pixels) {
  const size_t rowBytes = header.RowBytes();
  const size_t height = static_cast<size_t>(header.Height);
  if (!header.TopDown) {
    stream.ReadBuffer(pixels, rowBytes * height);
    return;
  }
  // File row i is picture row i, stored bottom-up.
  for (size_t i = 0; i < height; ++i)
    stream.ReadBuffer(pixels + (height - 1 - i) * rowBytes, rowBytes);
}
