// The viewer's JPEG route and JPEG files loaded by extension.
#include <gtest/gtest.h>
#include <jerror.h>

#include "image/JpegImage.h"
#include "image/JpegRoute.h"
#include "platform/framework/FileFormats.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/CaseName.h"
#include "tests/support/ExifJpeg.h"
#include "tests/support/TempTree.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct TNameCase {
  const char* Name;
  bool Jpeg;
};
class JpegFileNames : public testing::TestWithParam<TNameCase> {};

TEST_P(JpegFileNames, UpperCasedExtensionDecides) {
  EXPECT_EQ(IsJpegFileName(GetParam().Name), GetParam().Jpeg);
}

INSTANTIATE_TEST_SUITE_P(Names, JpegFileNames,
                         testing::Values(TNameCase{"a.JpG", true}, TNameCase{"/p/b.jpeg", true},
                                         TNameCase{"c.JPG", true}, TNameCase{"d.jpe", false},
                                         TNameCase{"e.jpg.bmp", false}, TNameCase{"f.jpg/g", false},
                                         TNameCase{"jpg", false}, TNameCase{"h.", false}));

class JpegRoute : public testing::Test {
 protected:
  // The picture starts with a 3 x 2 bitmap that failures must leave in place.
  void SetUp() override {
    FPicture.PictureBitmap()->SetPixelFormat(pf24bit);
    FPicture.PictureBitmap()->SetSize(3, 2);
    FBefore = FPicture.Graphic();
  }
  std::string File(const std::string& name, const std::vector<uint8_t>& bytes) {
    return FTree.Write(name, bytes);
  }
  void ExpectPictureKept() {
    EXPECT_EQ(FPicture.Graphic(), FBefore);
    EXPECT_EQ(FPicture.Width(), 3);
    EXPECT_EQ(FPicture.Height(), 2);
  }

  TPicture FPicture;
  TGraphic* FBefore = nullptr;
  TTempTree FTree;
};

TEST_F(JpegRoute, DecodedPixelsBecomeThePicturesBitmap) {
  LoadJpegIntoPicture(FPicture, File("route.jpg", MakeSampleJpeg({TSampleKind::Colour, 40, 20})));
  TBitmap* bitmap = FPicture.PictureBitmap();
  EXPECT_EQ(bitmap->Width(), 40);
  EXPECT_EQ(bitmap->Height(), 20);
  EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
  const auto* top = static_cast<const uint8_t*>(bitmap->ScanLine(0));
  const auto* bottom = static_cast<const uint8_t*>(bitmap->ScanLine(19));
  EXPECT_GT(top[2], 200);     // red at the top
  EXPECT_GT(bottom[0], 200);  // blue at the bottom
}

TEST_F(JpegRoute, ACmykFileShowsInTwentyFourBits) {
  LoadJpegIntoPicture(FPicture, File("cmyk.jpg", MakeSampleJpeg({TSampleKind::Cmyk, 16, 8})));
  const auto* top = static_cast<const uint8_t*>(FPicture.PictureBitmap()->ScanLine(0));
  EXPECT_GT(top[2], 200);
  EXPECT_LT(top[0], 60);
}

TEST_F(JpegRoute, NotAJpegLeavesThePictureAlone) {
  EXPECT_THROW(LoadJpegIntoPicture(FPicture, File("text.jpg", {'h', 'e', 'l', 'l', 'o'})), EJPEG);
  ExpectPictureKept();
}

TEST_F(JpegRoute, EmptyFileFailsWhenDecodingAndLeavesThePictureAlone) {
  const std::string file = File("empty.jpg", {});
  EXPECT_EQ(MessageOf<EJPEG>([&] { LoadJpegIntoPicture(FPicture, file); }),
            JpegErrorText(JERR_INPUT_EMPTY));
  ExpectPictureKept();
}

TEST_F(JpegRoute, HugeHeaderIsRefusedAndLeavesThePictureAlone) {
  EXPECT_THROW(LoadJpegIntoPicture(FPicture, File("huge.jpg", MakeHugeHeaderJpeg(65500, 65500))),
               EJPEG);
  ExpectPictureKept();
}

TEST_F(JpegRoute, MissingFileIsAnOpenError) {
  EXPECT_EQ(MessageOf<EFOpenError>([&] { LoadJpegIntoPicture(FPicture, "/nonexistent/x.jpg"); }),
            "Cannot open file /nonexistent/x.jpg");
  ExpectPictureKept();
}

TEST_F(JpegRoute, LoadPictureFileFindsJpegImagesWhateverTheCase) {
  FPicture.LoadPictureFile(File("mixed.JpG", MakeSampleJpeg({TSampleKind::Colour, 12, 6})));
  ASSERT_NE(dynamic_cast<TJPEGImage*>(FPicture.Graphic()), nullptr);
  EXPECT_EQ(FPicture.Width(), 12);
}

// Photos the right way up: each stored picture, tagged with its orientation,
// shows the same upright picture (kUprightQuadrants, 96 x 64).
struct TUprightCase {
  std::string name;
  uint16_t Orientation;
  bool Sideways;
  TQuadrants Stored;
};

const TUprightCase kUprightCases[] = {
    {"AsStored", 1, false, {kRed, kGreen, kBlue, kYellow}},
    {"MirroredLeftToRight", 2, false, {kGreen, kRed, kYellow, kBlue}},
    {"HalfTurn", 3, false, {kYellow, kBlue, kGreen, kRed}},
    {"MirroredTopToBottom", 4, false, {kBlue, kYellow, kRed, kGreen}},
    {"MainDiagonal", 5, true, {kRed, kBlue, kGreen, kYellow}},
    {"TurnedClockwiseToStand", 6, true, {kGreen, kYellow, kRed, kBlue}},
    {"OtherDiagonal", 7, true, {kYellow, kGreen, kBlue, kRed}},
    {"TurnedAnticlockwiseToStand", 8, true, {kBlue, kRed, kYellow, kGreen}},
};

Rgb ColourAt(TBitmap& bitmap, int32_t x, int32_t y) {
  const TColor colour = bitmap.Canvas().Pixels(x, y);
  return {uint8_t(colour & 0xFF), uint8_t(colour >> 8 & 0xFF), uint8_t(colour >> 16 & 0xFF)};
}

// The colours at the middle of the four quadrants of a picture of the given size.
void ExpectQuadrants(TBitmap& bitmap, int32_t width, int32_t height, const TQuadrants& colours) {
  ASSERT_EQ(bitmap.Width(), width);
  ASSERT_EQ(bitmap.Height(), height);
  for (int q = 0; q < 4; ++q) {
    const int32_t x = (q % 2) * width / 2 + width / 4, y = (q / 2) * height / 2 + height / 4;
    const Rgb got = ColourAt(bitmap, x, y);
    EXPECT_TRUE(Near(got, colours[size_t(q)]))
        << "quadrant " << q << " at (" << x << ", " << y << ") is " << int(got.R) << ","
        << int(got.G) << "," << int(got.B);
  }
}

class JpegRouteOrientation : public JpegRoute, public testing::WithParamInterface<TUprightCase> {};

TEST_P(JpegRouteOrientation, ShowsTheUprightPicture) {
  const TUprightCase& c = GetParam();
  const Bytes jpeg = JpegOf(*QuadrantBitmap(c.Stored, c.Sideways));
  LoadJpegIntoPicture(FPicture,
                      File("turned.jpg", WithApp1(jpeg, ExifOrientationBlock(c.Orientation))));
  ExpectQuadrants(*FPicture.PictureBitmap(), 2 * kQuadrantWidth, 2 * kQuadrantHeight,
                  kUprightQuadrants);
}

INSTANTIATE_TEST_SUITE_P(OneToEight, JpegRouteOrientation, testing::ValuesIn(kUprightCases),
                         CaseName{});

// The decoded rows exactly as the JPEG picture itself delivers them.
Bytes DecodedRows(TBitmap& bitmap) {
  Bytes rows;
  const size_t rowBytes = size_t(bitmap.Width()) * 3;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
    rows.insert(rows.end(), row, row + rowBytes);
  }
  return rows;
}

TEST_F(JpegRoute, NoOrientationOrOneKeepsTheDecodedPixelsAsTheyAre) {
  const Bytes jpeg = JpegOf(*QuadrantBitmap(kUprightQuadrants, false));
  TJPEGImage reference;
  reference.ReadFromFile(File("reference.jpg", jpeg));
  const Bytes expected = DecodedRows(*reference.DecodedBitmap());
  for (const Bytes& file : {jpeg, WithApp1(jpeg, ExifOrientationBlock(1))}) {
    TPicture picture;
    LoadJpegIntoPicture(picture, File("plain.jpg", file));
    EXPECT_EQ(DecodedRows(*picture.PictureBitmap()), expected);
  }
}

TEST_F(JpegRoute, ADamagedExifBlockShowsThePictureAsStored) {
  const TQuadrants stored{kGreen, kYellow, kRed, kBlue};
  // The main directory's offset points far beyond the block.
  Bytes block = ExifOrientationBlock(6);
  block[10] = block[11] = block[12] = 0xF0;
  LoadJpegIntoPicture(FPicture,
                      File("damaged.jpg", WithApp1(JpegOf(*QuadrantBitmap(stored, true)), block)));
  ExpectQuadrants(*FPicture.PictureBitmap(), 2 * kQuadrantHeight, 2 * kQuadrantWidth, stored);
}

TEST_F(JpegRoute, AGreyPhotoStandsUpWithItsColours) {
  // Stored 32 x 16: bright left of the top half, dark left of the bottom half, the
  // right quarter green; turned clockwise it stands 16 x 32 with the green below.
  const Bytes grey = MakeSampleJpeg({TSampleKind::Grey, 32, 16});
  LoadJpegIntoPicture(FPicture, File("grey.jpg", WithApp1(grey, ExifOrientationBlock(6))));
  TBitmap& bitmap = *FPicture.PictureBitmap();
  ASSERT_EQ(bitmap.Width(), 16);
  ASSERT_EQ(bitmap.Height(), 32);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_NE(bitmap.Palette(), nullptr);
  const Rgb darkLeft = ColourAt(bitmap, 3, 8), brightRight = ColourAt(bitmap, 12, 8),
            greenBelow = ColourAt(bitmap, 8, 29);
  EXPECT_TRUE(Near(darkLeft, {29, 29, 29}, 20));
  EXPECT_TRUE(Near(brightRight, {77, 77, 77}, 20));
  EXPECT_TRUE(Near(greenBelow, {150, 150, 150}, 20));
}

TEST(JpegFormats, RegisteredAtStartUpAndRemovable) {
  TFileFormatsList& formats = TFileFormatsList::Instance();
  const TFileFormat* jpeg = formats.FindExt("JPEG");
  const TFileFormat* jpg = formats.FindExt("jpg");
  ASSERT_NE(jpeg, nullptr);
  ASSERT_NE(jpg, nullptr);
  EXPECT_EQ(jpeg->GraphicClass.Class, &TJPEGImage::StaticClass());
  EXPECT_EQ(jpg->Description, "JPEG Image File");
  EXPECT_LT(jpeg, jpg);  // jpeg registered first
  TPicture::UnregisterGraphicClass(TJPEGImage::StaticClass());
  EXPECT_EQ(formats.FindExt("jpg"), nullptr);
  TPicture::RegisterFileFormat("jpeg", kJpegDescription, TGraphicClass::Of<TJPEGImage>());
  TPicture::RegisterFileFormat("jpg", kJpegDescription, TGraphicClass::Of<TJPEGImage>());
}

TEST(JpegFormats, PalettizedFollowsTheDesktopAtStartUp) {
  EXPECT_EQ(DefaultJpegOptions().Palettized, ScreenColorDepth() <= 8);
}

}  // namespace
