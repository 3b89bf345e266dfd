#include <gtest/gtest.h>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Metafile.h"
#include "platform/framework/Stream.h"
#include "tests/support/DibBuilder.h"
#include "tests/support/MetafileBuilder.h"

namespace {

// A red rectangle without outline covering (10,10)-(50,40) in logical units.
std::vector<uint8_t> RedRectangleRecords() {
  std::vector<uint8_t> r;
  WmfRecord(r, 0x02FC, {0, 0x00FF, 0x0000, 0});  // solid brush, red
  WmfRecord(r, 0x012D, {0});
  WmfRecord(r, 0x02FA, {5, 0, 0, 0, 0});  // null pen
  WmfRecord(r, 0x012D, {1});
  WmfRecord(r, 0x041B, {40, 50, 10, 10});  // bottom, right, top, left
  return r;
}

void Load(TMetafile& metafile, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  metafile.ReadFromStream(stream);
}

TColor DrawnPixel(TMetafile& metafile, const TRect& rect, int x, int y) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(rect.Right, rect.Bottom);
  bitmap.Canvas().FillRect(Rect(0, 0, rect.Right, rect.Bottom));
  bitmap.Canvas().StretchDraw(rect, &metafile);
  return bitmap.Canvas().Pixels(x, y);
}

TEST(MetafileWmf, PlaceableHeaderGivesSizeAndFrame) {
  TMetafile metafile;
  Load(metafile, Wmf(true, RedRectangleRecords()));
  EXPECT_FALSE(metafile.Enhanced());
  EXPECT_EQ(metafile.Width(), 100);
  EXPECT_EQ(metafile.Height(), 50);
  ASSERT_EQ(metafile.Shapes().size(), 1u);
  // Drawn twice as large: logical (10,10)-(50,40) lands on (20,20)-(100,80).
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 200, 100), 60, 50), RGB(255, 0, 0));
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 200, 100), 19, 50), clWhite);
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 200, 100), 101, 50), clWhite);
}

TEST(MetafileWmf, WindowExtentMapsWithoutPlaceableHeader) {
  std::vector<uint8_t> records;
  WmfRecord(records, 0x020B, {0, 0});
  WmfRecord(records, 0x020C, {100, 200});  // extent y, x
  const std::vector<uint8_t> rect = RedRectangleRecords();
  Put(records, rect.data(), rect.size());
  TMetafile metafile;
  Load(metafile, Wmf(false, records));
  EXPECT_EQ(metafile.Width(), 200);
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 20, 10), 3, 3), RGB(255, 0, 0));
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 20, 10), 8, 3), clWhite);
}

TEST(MetafileEmf, DrawsPolygonsWithTheSelectedBrush) {
  std::vector<uint8_t> records;
  EmfRecord(records, 39, {1, 0, RGB(0, 200, 0), 0});  // brush 1: solid green
  EmfRecord(records, 37, {1});
  EmfRecord(records, 37, {0x80000008});  // stock null pen
  // Polygon16 over the right half: bounds, count, points.
  std::vector<uint32_t> polygon = {50, 0, 99, 49, 4};
  for (auto [x, y] : {std::pair{50, 0}, {100, 0}, {100, 50}, {50, 50}})
    polygon.push_back(static_cast<uint32_t>(x | y << 16));
  EmfRecord(records, 86, polygon);
  TMetafile metafile;
  Load(metafile, Emf(records));
  EXPECT_TRUE(metafile.Enhanced());
  EXPECT_EQ(metafile.Width(), 100);
  EXPECT_EQ(metafile.Height(), 50);
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 100, 50), 75, 25), RGB(0, 200, 0));
  EXPECT_EQ(DrawnPixel(metafile, Rect(0, 0, 100, 50), 25, 25), clWhite);
}

struct BadMetafile {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> CutRecord() {
  std::vector<uint8_t> bytes = Wmf(false, RedRectangleRecords());
  bytes[18] = 0xFF;  // first record claims far more words than there are
  return bytes;
}

std::vector<uint8_t> OddEmfRecord() {
  std::vector<uint8_t> records;
  EmfRecord(records, 37, {1});
  records[4] = 13;
  return Emf(records);
}

class MetafileBadFiles : public testing::TestWithParam<BadMetafile> {};

TEST_P(MetafileBadFiles, AreRefused) {
  TMetafile metafile;
  Load(metafile, Wmf(true, RedRectangleRecords()));
  try {
    Load(metafile, GetParam().bytes);
    FAIL() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Metafile is not valid");
  }
  EXPECT_EQ(metafile.Width(), 100);
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileBadFiles,
                         testing::Values(BadMetafile{"Garbage", {1, 2, 3}},
                                         BadMetafile{"CutPlaceable",
                                                     {0xD7, 0xCD, 0xC6, 0x9A, 0, 0}},
                                         BadMetafile{"HeaderWords", Wmf(false, {}, 7)},
                                         BadMetafile{"RecordBeyondData", CutRecord()},
                                         BadMetafile{"EmfSignature", Emf({}, 0x12345678)},
                                         BadMetafile{"EmfRecordSize", OddEmfRecord()}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
