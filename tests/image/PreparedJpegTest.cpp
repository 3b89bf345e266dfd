// Preparing a JPEG file on the worker: read once with its identity, decoded as the
// route decodes it, converted for the surfaces; anything unusual is left to the viewer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "image/JpegImage.h"
#include "image/PreparedJpeg.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/AgedFile.h"
#include "tests/support/TempTree.h"

namespace {

const gdi::TPixelFormat kRgb565{16, 0xF800, 0x07E0, 0x001F};

class PreparedJpeg : public testing::Test {
 protected:
  // A JPEG file an hour old, so its identity can be trusted.
  std::string OldFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string file = FTree.Write(name, bytes);
    AgeFile(file);
    return file;
  }
  static TJpegJob Job(const std::string& file, TSize cell = {},
                      const gdi::TPixelFormat& format = kRgb565) {
    return {file, cell, DefaultJpegOptions(), format};
  }
  TTempTree FTree;
};

TEST_F(PreparedJpeg, HoldsTheFilesIdentityThePictureAndItsSurfacePixels) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Photo, 64, 40});
  const std::string file = OldFile("prepared.jpg", bytes);
  const std::optional<TPreparedJpeg> prepared = PrepareJpeg(Job(file));
  ASSERT_TRUE(prepared);
  EXPECT_EQ(prepared->Identity, FileIdentityOf(file));
  TJpegPixels expected;
  ASSERT_TRUE(DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), {}, expected));
  ASSERT_EQ(prepared->Picture.Bits.Size(), expected.Bits.Size());
  EXPECT_EQ(std::memcmp(prepared->Picture.Bits.Data(), expected.Bits.Data(), expected.Bits.Size()),
            0);
  EXPECT_EQ(prepared->Surface.Width, 64);
  EXPECT_EQ(prepared->Surface.Format.BitCount, 16u);
}

TEST_F(PreparedJpeg, GridCellsAreDecodedSmall) {
  const std::string file = OldFile("cell.jpg", MakeSampleJpeg({TSampleKind::Photo, 160, 96}));
  const std::optional<TPreparedJpeg> prepared = PrepareJpeg(Job(file, {40, 24}));
  ASSERT_TRUE(prepared);
  EXPECT_EQ(prepared->Picture.Width, 40);
  EXPECT_EQ(prepared->Picture.Height, 24);
}

TEST_F(PreparedJpeg, NoSurfacePixelsWhenNoFormatIsGiven) {
  const std::string file = OldFile("plain.jpg", MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  const std::optional<TPreparedJpeg> prepared = PrepareJpeg(Job(file, {}, gdi::TPixelFormat{}));
  ASSERT_TRUE(prepared);
  EXPECT_TRUE(prepared->Surface.Empty());
}

TEST_F(PreparedJpeg, FilesThatCannotBePreparedAreLeftToTheViewer) {
  EXPECT_FALSE(PrepareJpeg(Job(OldFile("corrupt.jpg", {0xFF, 0xD8, 'x', 'y'}))));
  EXPECT_FALSE(PrepareJpeg(Job(OldFile("empty.jpg", {}))));
  EXPECT_FALSE(PrepareJpeg(Job(OldFile("grey.jpg", MakeSampleJpeg({TSampleKind::Grey, 8, 8})))));
  EXPECT_FALSE(PrepareJpeg(Job(OldFile("huge.jpg", MakeHugeHeaderJpeg(18000, 18000)))));
  // More rows than there is room for: nothing is decoded or even allocated.
  EXPECT_FALSE(
      PrepareJpeg(Job(OldFile("large.jpg", MakeHugeHeaderJpeg(8000, 6000))), nullptr, 80 << 20));
  EXPECT_FALSE(PrepareJpeg(Job("/nonexistent/missing.jpg")));
}

TEST_F(PreparedJpeg, AFileWrittenAMomentAgoIsReadAgainWhenShown) {
  EXPECT_FALSE(
      PrepareJpeg(Job(FTree.Write("fresh.jpg", MakeSampleJpeg({TSampleKind::Colour, 16, 8})))));
}

TEST_F(PreparedJpeg, APipeIsNotWaitedFor) {
  const std::string pipe = FTree.Path("pipe.jpg");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(PrepareJpeg(Job(pipe)));
}

TEST(JpegJobs, EqualWhenEverythingThatShapesTheResultIsEqual) {
  const TJpegJob job{"a.jpg", {10, 10}, DefaultJpegOptions(), kRgb565};
  TJpegJob other = job;
  EXPECT_EQ(job, other);
  other.Cell = {};
  EXPECT_FALSE(job == other);
  other = job;
  other.SurfaceFormat = gdi::TPixelFormat{};
  EXPECT_FALSE(job == other);
  other = job;
  other.Options.ScaleShift = 1;
  EXPECT_FALSE(job == other);
  other = job;
  other.FileName = "b.jpg";
  EXPECT_FALSE(job == other);
}

}  // namespace
