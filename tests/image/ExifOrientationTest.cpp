#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "image/ExifOrientation.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/CaseName.h"
#include "tests/support/ExifJpeg.h"

namespace {

using Bytes = std::vector<uint8_t>;

int32_t OrientationOf(const Bytes& file) { return ReadExifOrientation(file.data(), file.size()); }

const Bytes& PlainJpeg() {
  static const Bytes jpeg = MakeSampleJpeg({TSampleKind::Colour, 16, 8});
  return jpeg;
}

class ExifOrientationValues : public testing::TestWithParam<std::tuple<uint16_t, ExifByteOrder>> {};

TEST_P(ExifOrientationValues, AreReadInEitherByteOrder) {
  const auto [value, order] = GetParam();
  EXPECT_EQ(OrientationOf(WithApp1(PlainJpeg(), ExifOrientationBlock(value, order))), value);
}

INSTANTIATE_TEST_SUITE_P(OneToEight, ExifOrientationValues,
                         testing::Combine(testing::Range<uint16_t>(1, 9),
                                          testing::Values(EXIF_BYTE_ORDER_INTEL,
                                                          EXIF_BYTE_ORDER_MOTOROLA)));

TEST(ExifOrientation, AFileWithoutExifIsAsStored) {
  EXPECT_EQ(OrientationOf(PlainJpeg()), 1);
  EXPECT_EQ(ReadExifOrientation(nullptr, 0), 1);
  EXPECT_EQ(ReadExifOrientation(PlainJpeg().data(), 0), 1);
}

TEST(ExifOrientation, TheBlockMayFollowOtherApplicationSegments) {
  // MakeSampleJpeg writes a JFIF segment first; the EXIF block goes after it.
  const Bytes block = ExifOrientationBlock(6);
  const Bytes& jpeg = PlainJpeg();
  const size_t jfifEnd = 4 + (size_t(jpeg[4]) << 8 | jpeg[5]);
  Bytes file(jpeg.begin(), jpeg.begin() + long(jfifEnd));
  const Bytes segment = WithApp1({0xFF, 0xD8}, block);
  file.insert(file.end(), segment.begin() + 2, segment.end());
  file.insert(file.end(), jpeg.begin() + long(jfifEnd), jpeg.end());
  EXPECT_EQ(OrientationOf(file), 6);
}

TEST(ExifOrientation, ReadsInSeveralThreadsAtOnce) {
  const Bytes file = WithApp1(PlainJpeg(), ExifOrientationBlock(8));
  std::vector<int32_t> results(4);
  std::vector<std::thread> threads;
  for (int32_t& result : results)
    threads.emplace_back([&file, &result] {
      for (int i = 0; i < 50; ++i) result = OrientationOf(file);
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(results, std::vector<int32_t>(4, 8));
}

// Damaged or unusable blocks: the picture stands as stored. The offsets are
// those of the block libexif writes: "Exif\0\0", the TIFF header (byte order,
// 42, the first directory's offset at 10) and the directory at 14 (entry count,
// then the orientation entry: tag, type at 18, count at 20, value).
struct TDamageCase {
  std::string name;
  std::function<Bytes()> File;
};

Bytes Damaged(const std::function<void(Bytes&)>& damage) {
  Bytes block = ExifOrientationBlock(6);
  damage(block);
  return WithApp1(PlainJpeg(), block);
}

const TDamageCase kDamage[] = {
    {"ValueZero", [] { return WithApp1(PlainJpeg(), ExifOrientationBlock(0)); }},
    {"ValueNine", [] { return WithApp1(PlainJpeg(), ExifOrientationBlock(9)); }},
    {"ValueAllOnes", [] { return WithApp1(PlainJpeg(), ExifOrientationBlock(0xFFFF)); }},
    {"OnlyTheThumbnailIsTurned",
     [] {
       return WithApp1(PlainJpeg(), ExifOrientationBlock(6, EXIF_BYTE_ORDER_INTEL, EXIF_IFD_1));
     }},
    {"GarbageAfterTheHeader",
     [] {
       return WithApp1(PlainJpeg(), Bytes{'E', 'x', 'i', 'f', 0, 0, 0x13, 0x37, 0xFF, 0x00});
     }},
    {"CutShort", [] { return Damaged([](Bytes& b) { b.resize(b.size() / 2); }); }},
    {"DirectoryBeyondTheEnd",
     [] { return Damaged([](Bytes& b) { b[10] = b[11] = b[12] = 0xF0; }); }},
    {"ValueCountBeyondTheBlock",
     [] { return Damaged([](Bytes& b) { b[20] = b[21] = b[22] = 0xFF, b[23] = 0x7F; }); }},
    {"OrientationAsText", [] { return Damaged([](Bytes& b) { b[18] = 2; }); }},
    {"UnknownByteOrder", [] { return Damaged([](Bytes& b) { b[6] = b[7] = 'X'; }); }},
    {"SegmentLongerThanTheFile",
     [] {
       Bytes file = WithApp1(PlainJpeg(), ExifOrientationBlock(6));
       file.resize(40);
       file[4] = file[5] = 0xFF;
       return file;
     }},
    {"NotExifButXmp",
     [] {
       const std::string xmp = "http://ns.adobe.com/xap/1.0/";
       Bytes block(xmp.begin(), xmp.end());
       block.push_back(0);
       block.insert(block.end(), {'<', 'x', '/', '>'});
       return WithApp1(PlainJpeg(), block);
     }},
};

class ExifOrientationDamage : public testing::TestWithParam<TDamageCase> {};

TEST_P(ExifOrientationDamage, LeavesThePictureAsStored) {
  EXPECT_EQ(OrientationOf(GetParam().File()), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExifOrientationDamage, testing::ValuesIn(kDamage), CaseName{});

}  // namespace
