// The viewer's JPEG route and JPEG files loaded by extension.
#include <gtest/gtest.h>
#include <jerror.h>

#include "image/JpegImage.h"
#include "image/JpegRoute.h"
#include "platform/framework/FileFormats.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/TempTree.h"

namespace {

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
