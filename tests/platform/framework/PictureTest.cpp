#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/FileFormats.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Icon.h"
#include "platform/framework/Metafile.h"
#include "platform/framework/Picture.h"
#include "platform/framework/Stream.h"
#include "tests/support/DibBuilder.h"
#include "tests/support/TempTree.h"

namespace {

std::vector<uint8_t> SmallBmp(int32_t width, int32_t height) {
  BmpRecipe recipe;
  recipe.Width = width;
  recipe.Height = height;
  recipe.Pixels.assign(static_cast<size_t>(RowBytes(width, 24) * height), 0x40);
  return MakeBmp(recipe);
}

// A bitmap class registered by tests; derived classes go with it on removal.
class TTestBitmap : public TBitmap {
 public:
  LOUPIX_CLASS(TTestBitmap, TBitmap)
  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TTestBitmap>(); }
};
class TDerivedTestBitmap : public TTestBitmap {
 public:
  LOUPIX_CLASS(TDerivedTestBitmap, TTestBitmap)
};

// Reports progress while reading and accepts any clipboard data.
class TProgressGraphic : public TBitmap {
 public:
  LOUPIX_CLASS(TProgressGraphic, TBitmap)
  std::unique_ptr<TGraphic> CreateNew() const override {
    return std::make_unique<TProgressGraphic>();
  }
  void ReadFromStream(TStream&) override { Progress(this, psEnding, 100, true, TRect{}, "done"); }
  void LoadClipboardData(UINT, HANDLE, HPALETTE) override { SetSize(2, 3); }
};

TEST(PictureLoad, ProgressAndClipboardGoThroughTheRegisteredClass) {
  TTempTree dir;
  TPicture::RegisterFileFormat("tpg", "Progress", TGraphicClass::Of<TProgressGraphic>());
  TPicture::RegisterClipboardFormat(0x7778, TGraphicClass::Of<TProgressGraphic>());
  TPicture picture;
  std::vector<std::string> seen;
  picture.OnProgress = [&](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw,
                           const TRect&, const std::string& message) {
    EXPECT_NE(dynamic_cast<TProgressGraphic*>(sender), nullptr);
    seen.push_back(message + std::to_string(stage) + std::to_string(percent) +
                   std::to_string(redraw));
  };
  picture.LoadPictureFile(dir.Write("x.TPG", {1}));
  EXPECT_EQ(seen, std::vector<std::string>{"done21001"});
  EXPECT_THROW(picture.LoadClipboardData(0x7779, nullptr, nullptr), EInvalidGraphic);
  picture.LoadClipboardData(0x7778, nullptr, nullptr);
  EXPECT_EQ(picture.Height(), 3);
  TPicture::UnregisterGraphicClass(TProgressGraphic::StaticClass());
  EXPECT_FALSE(TPicture::SupportsClipboardFormat(0x7778));
}

TEST(FileFormats, StartWithTheFourFrameworkFormatsInOrder) {
  const TFileFormatsList& list = TFileFormatsList::Instance();
  ASSERT_GE(list.Count(), 4);
  const char* expected[][3] = {{"wmf", "Metafiles", "TMetafile"},
                               {"emf", "Enhanced Metafiles", "TMetafile"},
                               {"ico", "Icons", "TIcon"},
                               {"bmp", "Bitmaps", "TBitmap"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list.Formats(i).Extension, expected[i][0]);
    EXPECT_EQ(list.Formats(i).Description, expected[i][1]);
    EXPECT_STREQ(list.Formats(i).GraphicClass.Class->ClassName(), expected[i][2]);
    EXPECT_EQ(list.Formats(i).DescriptionResource, 0);
  }
}

TEST(FileFormats, LaterRegistrationWinsAndRemovalTakesDerivedClasses) {
  TFileFormatsList& list = TFileFormatsList::Instance();
  const int before = list.Count();
  TPicture::RegisterFileFormat("BMP", "Test bitmaps", TGraphicClass::Of<TTestBitmap>());
  TPicture::RegisterFileFormat("tbd", "Derived", TGraphicClass::Of<TDerivedTestBitmap>());
  TPicture::RegisterClipboardFormat(0x7777, TGraphicClass::Of<TDerivedTestBitmap>());
  EXPECT_EQ(list.FindExt("bMp")->GraphicClass.Class, &TTestBitmap::StaticClass());
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(0x7777));
  TPicture::UnregisterGraphicClass(TTestBitmap::StaticClass());
  EXPECT_EQ(list.Count(), before);
  EXPECT_EQ(list.FindExt("bmp")->GraphicClass.Class, &TBitmap::StaticClass());
  EXPECT_EQ(list.FindExt("tbd"), nullptr);
  EXPECT_FALSE(TPicture::SupportsClipboardFormat(0x7777));
}

struct ExtensionCase {
  const char* fileName;
  const char* message;
};

class PictureUnknownExtension : public testing::TestWithParam<ExtensionCase> {};

TEST_P(PictureUnknownExtension, NamesTheExtensionAsWritten) {
  TPicture picture;
  try {
    picture.LoadPictureFile(GetParam().fileName);
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureUnknownExtension,
    testing::Values(ExtensionCase{"/tmp/a/photo.GIF", "Unknown picture file extension (.GIF)"},
                    ExtensionCase{"/tmp/a.b/README", "Unknown picture file extension (.)"},
                    ExtensionCase{"x.tar.Gz", "Unknown picture file extension (.Gz)"}));

TEST(PictureLoad, LoadsByExtensionAndKeepsThePictureOnFailure) {
  TTempTree dir;
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadPictureFile(dir.Write("one.BMP", SmallBmp(3, 2)));
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(changes, 1);
  TGraphic* before = picture.Graphic();
  EXPECT_THROW(picture.LoadPictureFile(dir.Write("bad.bmp", {'B', 'M', 1})), EInvalidGraphic);
  EXPECT_THROW(picture.LoadPictureFile(dir.Write("bad.ico", {1, 2, 3, 4, 5, 6, 7})),
               EInvalidGraphic);
  EXPECT_THROW(picture.LoadPictureFile("/nonexistent/x.bmp"), EFOpenError);
  EXPECT_EQ(picture.Graphic(), before);
  EXPECT_EQ(changes, 1);
  // Changes of the graphic are the picture's changes.
  picture.PictureBitmap()->SetWidth(9);
  EXPECT_EQ(changes, 2);
}

TEST(GraphicFile, ReadingDeniesWritersAndAlwaysCloses) {
  TTempTree dir;
  const std::string bad = dir.Write("bad.bmp", {'B', 'M', 1});
  TBitmap bitmap;
  EXPECT_THROW(bitmap.ReadFromFile(bad), EInvalidGraphic);
  TFileStream writer(bad, fmOpenWrite);                 // the failed read left no lock behind
  EXPECT_THROW(bitmap.ReadFromFile(bad), EFOpenError);  // a writer has it open
}

TEST(PictureBitmap, ReplacesOtherGraphicsByAnEmptyBitmap) {
  TPicture picture;
  TIcon icon;
  picture.SetGraphic(&icon);
  ASSERT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  TBitmap* bitmap = picture.PictureBitmap();
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.PictureBitmap(), bitmap);
  EXPECT_EQ(changes, 1);
}

TEST(PictureAssign, SharesBitmapsAndCopiesOtherPictures) {
  TTempTree dir;
  TBitmap loaded;
  loaded.ReadFromFile(dir.Write("a.bmp", SmallBmp(4, 4)));
  TPicture first, second;
  first.PictureBitmap()->Assign(&loaded);
  EXPECT_EQ(first.PictureBitmap()->Handle(), loaded.Handle());
  second.Assign(&first);
  EXPECT_NE(second.Graphic(), first.Graphic());
  EXPECT_EQ(second.PictureBitmap()->Handle(), loaded.Handle());
  second.Assign(nullptr);
  EXPECT_EQ(second.Graphic(), nullptr);
  TBitmap target;
  target.Assign(&first);
  EXPECT_EQ(target.Width(), 4);
}

TEST(PictureStored, DataRoundTripsThroughTheFiler) {
  TTempTree dir;
  TPicture source, copy;
  source.LoadPictureFile(dir.Write("a.bmp", SmallBmp(5, 3)));
  TMemoryStream stream;
  TWriter(stream).WriteProperties(source);
  stream.SetPosition(0);
  TReader(stream).ReadProperties(copy);
  ASSERT_NE(dynamic_cast<TBitmap*>(copy.Graphic()), nullptr);
  EXPECT_EQ(copy.Width(), 5);
  EXPECT_TRUE(copy.Graphic()->Equals(source.Graphic()));
  TPicture empty;
  TMemoryStream none;
  TWriter(none).WriteProperties(empty);
  EXPECT_EQ(none.Size(), 1);  // just the end mark
}

TEST(GraphicAssign, OtherGraphicsDrawThemselvesIntoABitmap) {
  TMetafile metafile;
  TBitmap bitmap;
  bitmap.Assign(&metafile);  // empty: an empty bitmap
  EXPECT_TRUE(bitmap.Empty());
  TIcon icon;
  EXPECT_THROW(icon.Assign(&bitmap), EConvertError);
}

}  // namespace
