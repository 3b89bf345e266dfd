// TJPEGImage: reading, decoding into bitmaps, palettes, copying, saving.
#include <gtest/gtest.h>
#include <jerror.h>
#include <unistd.h>

#include <algorithm>

#include "image/JpegImage.h"
#include "platform/framework/Filer.h"
#include "platform/gdi/Gdi.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/CaseName.h"
#include "tests/support/TempTree.h"

namespace {

std::unique_ptr<TJPEGImage> ReadImage(const std::vector<uint8_t>& bytes,
                                      const TJPEGOptions* options = nullptr) {
  auto image = std::make_unique<TJPEGImage>();
  if (options) image->Options() = *options;
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  image->ReadFromStream(stream);
  return image;
}

const uint8_t* Pixel(TBitmap& bitmap, int x, int y, int bytesPerPixel) {
  return static_cast<const uint8_t*>(bitmap.ScanLine(y)) + x * bytesPerPixel;
}

void ExpectSample24(TBitmap& bitmap) {
  ASSERT_EQ(bitmap.PixelFormat(), pf24bit);
  const int w = bitmap.Width(), h = bitmap.Height();
  for (int y : {1, h / 2 - 2, h / 2 + 2, h - 1})
    for (int x : {1, w / 2, w - 1}) {
      uint8_t r, g, b;
      SampleColour(x, y, w, h, r, g, b);
      const uint8_t* p = Pixel(bitmap, x, y, 3);
      EXPECT_NEAR(p[0], b, 40) << x << "," << y;
      EXPECT_NEAR(p[1], g, 40) << x << "," << y;
      EXPECT_NEAR(p[2], r, 40) << x << "," << y;
    }
}

class DecodedKinds : public testing::TestWithParam<TSampleKind> {};

TEST_P(DecodedKinds, ColourFilesBecomeTwentyFourBitBitmapsTopRowFirst) {
  auto image = ReadImage(MakeSampleJpeg({GetParam(), 48, 24}));
  EXPECT_EQ(image->Width(), 48);
  EXPECT_EQ(image->Height(), 24);
  TBitmap* bitmap = image->DecodedBitmap();
  EXPECT_EQ(bitmap->Width(), 48);
  EXPECT_EQ(bitmap->Height(), 24);
  ExpectSample24(*bitmap);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodedKinds,
                         testing::Values(TSampleKind::Colour, TSampleKind::Progressive,
                                         TSampleKind::Restart, TSampleKind::Cmyk,
                                         TSampleKind::CmykNoAdobe, TSampleKind::Ycck));

TEST(JpegImageDecoding, IncrementalDisplayOfAProgressiveFileEndsWithTheFullPicture) {
  TJPEGOptions options;
  options.IncrementalDisplay = true;
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Progressive, 48, 24}), &options);
  ExpectSample24(*image->DecodedBitmap());
}

TEST(JpegImageDecoding, GreyFilesDecodeToEightBitsWithGreyLevels) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Grey, 32, 16}));
  EXPECT_TRUE(image->JpegData().Grayscale());
  TBitmap* bitmap = image->DecodedBitmap();
  EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
  PALETTEENTRY entries[256];
  const UINT count = GetPaletteEntries(bitmap->Palette(), 0, 256, entries);
  EXPECT_GT(count, 1u);
  EXPECT_LE(count, 236u);
  for (UINT i = 0; i < count; ++i) {
    EXPECT_EQ(entries[i].peRed, entries[i].peGreen);
    EXPECT_EQ(entries[i].peRed, entries[i].peBlue);
  }
  const PALETTEENTRY top = entries[*Pixel(*bitmap, 1, 1, 1)];
  const PALETTEENTRY bottom = entries[*Pixel(*bitmap, 1, 15, 1)];
  EXPECT_NEAR(top.peRed, 76, 8);
  EXPECT_NEAR(bottom.peRed, 29, 8);
  EXPECT_TRUE(image->PaletteModified());
}

struct TPalettizedCase {
  TSampleKind Kind;
  bool Incremental;
};
class PalettizedColour : public testing::TestWithParam<TPalettizedCase> {};

TEST_P(PalettizedColour, DecodesToEightBitsWithAtMost236Colours) {
  TJPEGOptions options;
  options.Palettized = true;
  options.IncrementalDisplay = GetParam().Incremental;
  auto image = ReadImage(MakeSampleJpeg({GetParam().Kind, 48, 24}), &options);
  TBitmap* bitmap = image->DecodedBitmap();
  EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
  PALETTEENTRY entries[256];
  const UINT count = GetPaletteEntries(bitmap->Palette(), 0, 256, entries);
  EXPECT_GT(count, 1u);
  EXPECT_LE(count, 236u);
  const PALETTEENTRY topLeft = entries[*Pixel(*bitmap, 1, 1, 1)];
  const PALETTEENTRY bottomLeft = entries[*Pixel(*bitmap, 1, 22, 1)];
  EXPECT_GT(topLeft.peRed, 200);
  EXPECT_LT(topLeft.peBlue, 60);
  EXPECT_GT(bottomLeft.peBlue, 200);
  EXPECT_LT(bottomLeft.peRed, 60);
}

INSTANTIATE_TEST_SUITE_P(Files, PalettizedColour,
                         testing::Values(TPalettizedCase{TSampleKind::Colour, false},
                                         TPalettizedCase{TSampleKind::Progressive, false},
                                         TPalettizedCase{TSampleKind::Progressive, true}));

// Options under which a two-component file is decoded; Palettized once built a
// palette from a colour map of two rows as if it had three.
struct TTwoComponentCase {
  const char* name;
  bool palettized, grey, incremental, fast;
};
void PrintTo(const TTwoComponentCase& c, std::ostream* os) { *os << c.name; }

class TwoComponentFile : public testing::TestWithParam<TTwoComponentCase> {};

TEST_P(TwoComponentFile, IsRefusedWithEJPEGWhenReadOrDecoded) {
  const TTwoComponentCase& c = GetParam();
  TJPEGOptions options;
  options.Palettized = c.palettized;
  options.GrayOutput = c.grey;
  options.IncrementalDisplay = c.incremental;
  options.FastDecode = c.fast;
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::TwoComponent, 8, 8});
  EXPECT_THROW(ReadImage(bytes, &options)->DecodedBitmap(), EJPEG);
}

INSTANTIATE_TEST_SUITE_P(
    Options, TwoComponentFile,
    testing::Values(TTwoComponentCase{"Plain", false, false, false, false},
                    TTwoComponentCase{"Palettized", true, false, false, false},
                    TTwoComponentCase{"PalettizedFast", true, false, false, true},
                    TTwoComponentCase{"Grey", false, true, false, false},
                    TTwoComponentCase{"PalettizedGrey", true, true, true, false}),
    CaseName());

TEST(JpegImageDecoding, ScaleShiftScalesTheReportedAndDecodedSize) {
  TJPEGOptions options;
  options.ScaleShift = 2;
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 80, 41}), &options);
  EXPECT_EQ(image->JpegData().Width(), 80);
  EXPECT_EQ(image->Width(), 20);
  EXPECT_EQ(image->Height(), 11);
  EXPECT_EQ(image->DecodedBitmap()->Width(), 20);
}

TEST(JpegImageDecoding, CutShortFileDecodes) {
  std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 64, 64});
  bytes.resize(bytes.size() - bytes.size() / 4);
  auto image = ReadImage(bytes);
  EXPECT_EQ(image->DecodedBitmap()->Height(), 64);
}

TEST(JpegImageDecoding, FilesWithThousandsOfScansAreRefused) {
  std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Progressive, 64, 64});
  size_t lastScan = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) lastScan = i;
  const std::vector<uint8_t> scan(bytes.begin() + static_cast<ptrdiff_t>(lastScan),
                                  bytes.end() - 2);
  bytes.resize(bytes.size() - 2);
  for (int i = 0; i < 600; ++i) bytes.insert(bytes.end(), scan.begin(), scan.end());
  bytes.insert(bytes.end(), {0xFF, 0xD9});
  auto image = ReadImage(bytes);
  EXPECT_EQ(MessageOf<EJPEG>([&] { image->DecodedBitmap(); }), JpegErrorText(JERR_BAD_SCAN_SCRIPT));
}

TEST(JpegImageReading, ReadingRecordsHeaderAndProgressiveSave) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Progressive, 20, 10}));
  EXPECT_TRUE(image->Options().ProgressiveSave);
  EXPECT_EQ(image->JpegData().Height(), 10);
  EXPECT_FALSE(image->Empty());
  EXPECT_FALSE(ReadImage(MakeSampleJpeg({TSampleKind::Colour, 20, 10}))->Options().ProgressiveSave);
}

TEST(JpegImageReading, ZeroBytesReadAsAnEmptyImageThatFailsToDecode) {
  auto image = ReadImage({});
  EXPECT_TRUE(image->Empty());
  EXPECT_EQ(image->Width(), 0);
  EXPECT_EQ(image->Height(), 0);
  EXPECT_EQ(MessageOf<EJPEG>([&] { image->DecodedBitmap(); }), JpegErrorText(JERR_INPUT_EMPTY));
}

TEST(JpegImageReading, NotAJpegFailsWhileReading) {
  const std::vector<uint8_t> bytes = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  ASSERT_EQ(bytes.size(), 8u);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { ReadImage(bytes); }), JpegErrorText(JERR_NO_SOI));
}

TEST(JpegImageReading, HugeHeaderIsRefusedWhileReading) {
  EXPECT_EQ(MessageOf<EJPEG>([] { ReadImage(MakeHugeHeaderJpeg(65500, 65500)); }),
            JpegErrorText(JERR_IMAGE_TOO_BIG));
}

TEST(JpegImageReading, StreamShorterThanItsSizeIsAReadError) {
  // A stream that claims more bytes than it delivers.
  class TShortStream : public TMemoryStream {
   public:
    int64_t Read(void* buffer, int64_t count) override {
      return TMemoryStream::Read(buffer, count / 2);
    }
  } stream;
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 8, 8});
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  TJPEGImage image;
  EXPECT_THROW(image.ReadFromStream(stream), EReadError);
}

TEST(JpegImageReading, FileLargerThanAnyPictureIsRefusedBeforeItIsRead) {
  // A sparse file: a JPEG's start, then a gigabyte of nothing.
  TTempTree tree;
  const std::string file = tree.Write("huge.jpg", MakeSampleJpeg({TSampleKind::Colour, 8, 8}));
  ASSERT_EQ(truncate(file.c_str(), (int64_t{1} << 30) + 1), 0);
  TJPEGImage image;
  EXPECT_EQ(MessageOf<EOutOfMemory>([&] { image.ReadFromFile(file); }),
            FrameworkText::kOutOfMemory);
  EXPECT_TRUE(image.Empty());
}

TEST(JpegImageSize, SettingWidthOrHeightIsRefused) {
  TJPEGImage image;
  EXPECT_EQ(MessageOf<EInvalidGraphicOperation>([&] { image.SetWidth(5); }),
            "Cannot change the size of a JPEG image");
  EXPECT_EQ(MessageOf<EInvalidGraphicOperation>([&] { image.SetHeight(5); }),
            "Cannot change the size of a JPEG image");
}

TEST(JpegImageCopying, BitmapSharesTheDecodedImage) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 32, 16}));
  TBitmap bitmap;
  bitmap.SetSize(5, 7);
  bitmap.AssignFrom(image.get());
  EXPECT_EQ(bitmap.Width(), 32);
  EXPECT_EQ(bitmap.Height(), 16);
  EXPECT_EQ(bitmap.Handle(), image->DecodedBitmap()->Handle());
}

TEST(JpegImageCopying, CopyingIntoAnotherClassIsRefused) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 8, 8}));
  class TOther : public TPersistent{public : LOUPIX_CLASS(TOther, TPersistent)} target;
  EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(image.get()); }),
            "Cannot assign a TJPEGImage to a TOther");
}

TEST(JpegImageCopying, AssignFromAnImageSharesItsDataAndBitmap) {
  auto source = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  source->DecodedBitmap();
  TJPEGImage copy;
  copy.AssignFrom(source.get());
  EXPECT_EQ(&copy.JpegData(), &source->JpegData());
  EXPECT_EQ(source->JpegData().RefCount(), 2);
  EXPECT_EQ(copy.DecodedBitmap()->Handle(), source->DecodedBitmap()->Handle());
  source.reset();
  EXPECT_EQ(copy.JpegData().RefCount(), 1);
  EXPECT_EQ(copy.Width(), 16);
}

struct TSaveCase {
  bool Grey;
  bool Progressive;
};
class Saving : public testing::TestWithParam<TSaveCase> {};

TEST_P(Saving, ABitmapIsEncodedOnDemandAndReadsBack) {
  auto decoded = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 40, 20}));
  TJPEGImage image;
  image.AssignFrom(decoded->DecodedBitmap());
  EXPECT_FALSE(image.JpegData().HasData());
  image.Options().CompressQuality = 100;
  image.Options().GrayOutput = GetParam().Grey;
  image.Options().ProgressiveSave = GetParam().Progressive;
  TMemoryStream saved;
  image.WriteToStream(saved);
  EXPECT_EQ(image.JpegData().Width(), 40);
  EXPECT_EQ(image.JpegData().Grayscale(), GetParam().Grey);
  saved.SetPosition(0);
  TJPEGImage reread;
  reread.ReadFromStream(saved);
  EXPECT_EQ(reread.Width(), 40);
  EXPECT_EQ(reread.JpegData().Grayscale(), GetParam().Grey);
  EXPECT_EQ(reread.Options().ProgressiveSave, GetParam().Progressive);
  if (!GetParam().Grey) ExpectSample24(*reread.DecodedBitmap());
}

INSTANTIATE_TEST_SUITE_P(Settings, Saving,
                         testing::Values(TSaveCase{false, false}, TSaveCase{true, false},
                                         TSaveCase{false, true}));

TEST(JpegImageSaving, AnAbortWhileEncodingLeavesNoEncodedData) {
  auto decoded = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  TJPEGImage image;
  image.AssignFrom(decoded->DecodedBitmap());
  image.OnProgress = [](TObject*, TProgressStage stage, uint8_t, bool, const TRect&,
                        const std::string&) {
    if (stage == psStarting) throw EAbort("stop");
  };
  TMemoryStream saved;
  image.WriteToStream(saved);
  EXPECT_FALSE(image.JpegData().HasData());
  EXPECT_EQ(saved.Size(), 0);
}

TEST(JpegImageStoredForm, CountAndBytesRoundTrip) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 16, 8});
  auto image = ReadImage(bytes);
  TMemoryStream stored;
  TWriter writer(stored);
  writer.WriteProperties(*image);
  // "Data": name length, name, property size, then our own count and the bytes.
  ASSERT_EQ(stored.Size(), int64_t(1 + 4 + 4 + 4 + bytes.size() + 1));
  int32_t count = 0;
  stored.SetPosition(1 + 4 + 4);
  stored.ReadBuffer(&count, 4);
  EXPECT_EQ(count, int32_t(bytes.size()));
  stored.SetPosition(0);
  TJPEGImage reread;
  TReader reader(stored);
  reader.ReadProperties(reread);
  EXPECT_EQ(reread.Width(), 16);
  EXPECT_TRUE(reread.Equals(image.get()));
}

TEST(JpegImageStoredForm, CountBeyondTheStoredBytesIsRefusedBeforeReading) {
  // Records the largest read asked of it.
  class TWatchedStream : public TMemoryStream {
   public:
    int64_t Largest = 0;
    int64_t Read(void* buffer, int64_t count) override {
      Largest = std::max(Largest, count);
      return TMemoryStream::Read(buffer, count);
    }
  } stored;
  class TExposedJpeg : public TJPEGImage {
   public:
    using TJPEGImage::ReadData;
  } image;
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 8, 8});
  const int32_t count = INT32_MAX;
  stored.WriteBuffer(&count, sizeof count);
  stored.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stored.SetPosition(0);
  EXPECT_THROW(image.ReadData(stored), EReadError);
  EXPECT_LE(stored.Largest, stored.Size());
  EXPECT_FALSE(image.JpegData().HasData());
}

struct TProgressLog {
  std::vector<std::pair<TProgressStage, int>> Calls;
  void Attach(TGraphic& graphic, bool abortAtStart = false) {
    graphic.OnProgress = [this, abortAtStart](TObject*, TProgressStage stage, uint8_t percent, bool,
                                              const TRect&, const std::string&) {
      Calls.emplace_back(stage, percent);
      if (abortAtStart && stage == psStarting) throw EAbort("stop");
    };
  }
};

TEST(JpegImageProgress, DecodingStartsAndEndsWithNotifications) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  TProgressLog log;
  log.Attach(*image);
  image->DecodedBitmap();
  ASSERT_EQ(log.Calls.size(), 2u);
  EXPECT_EQ(log.Calls[0], std::make_pair(psStarting, 0));
  EXPECT_EQ(log.Calls[1], std::make_pair(psEnding, 100));
}

TEST(JpegImageProgress, AnAbortKeepsThePartlyDecodedBitmap) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  TProgressLog log;
  log.Attach(*image, true);
  TBitmap* bitmap = image->DecodedBitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(log.Calls.back(), std::make_pair(psEnding, 0));
  EXPECT_EQ(image->DecodedBitmap(), bitmap);
}

TEST(JpegImageProgress, AnErrorEndsWithZeroPercentAndPropagates) {
  auto image = ReadImage({});
  TProgressLog log;
  log.Attach(*image);
  EXPECT_THROW(image->DecodedBitmap(), EJPEG);
  ASSERT_FALSE(log.Calls.empty());
  EXPECT_EQ(log.Calls.back(), std::make_pair(psEnding, 0));
}

TEST(JpegImagePalette, NoPaletteOnATrueColourDesktop) {
  SetDesktopBitsPerPixel(32);
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  EXPECT_EQ(image->Palette(), nullptr);
  EXPECT_FALSE(DefaultJpegOptions().Palettized);
}

TEST(JpegImagePalette, AnEightBitDesktopGetsAHalftonePaletteUntilDecoded) {
  SetDesktopBitsPerPixel(8);
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}));
  HPALETTE halftone = image->Palette();
  SetDesktopBitsPerPixel(32);
  ASSERT_NE(halftone, nullptr);
  EXPECT_EQ(image->Palette(), halftone);
  // Not palettized: decoding drops the temporary palette and gives 24 bits.
  EXPECT_EQ(image->DecodedBitmap()->PixelFormat(), pf24bit);
  EXPECT_EQ(image->Palette(), image->DecodedBitmap()->Palette());
}

TEST(JpegImagePalette, SettingADifferentPaletteFreesTheDecodedBitmap) {
  TJPEGOptions options;
  options.Palettized = true;
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 16, 8}), &options);
  image->DecodedBitmap();
  image->SetPaletteModified(false);
  int changes = 0;
  image->OnChange = [&](TObject*) { ++changes; };
  LOGPALETTE grey;
  grey.palNumEntries = 2;
  grey.palPalEntry[1] = {255, 255, 255, 0};
  HPALETTE palette = CreatePalette(&grey);
  image->SetPalette(palette);
  EXPECT_EQ(image->Palette(), palette);
  EXPECT_TRUE(image->PaletteModified());
  EXPECT_EQ(changes, 1);
  image->SetPalette(palette);
  EXPECT_EQ(changes, 1);
  // Decoding again maps the picture onto the given palette.
  TBitmap* bitmap = image->DecodedBitmap();
  PALETTEENTRY entries[256];
  EXPECT_EQ(GetPaletteEntries(bitmap->Palette(), 0, 256, entries), 2u);
  EXPECT_LE(*Pixel(*bitmap, 1, 1, 1), 1);
}

TEST(JpegImageDrawing, DrawStretchesTheDecodedPictureOntoACanvas) {
  auto image = ReadImage(MakeSampleJpeg({TSampleKind::Colour, 32, 16}));
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(64, 32);
  target.Canvas().StretchDraw(TRect{0, 0, 64, 32}, image.get());
  const uint8_t* top = Pixel(target, 4, 4, 3);
  const uint8_t* bottom = Pixel(target, 4, 28, 3);
  EXPECT_GT(top[2], 200);
  EXPECT_GT(bottom[0], 200);
}

}  // namespace
