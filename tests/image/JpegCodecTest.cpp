// The libjpeg layer: guard, memory source, decoder set-up, row output, encoder.
#include <gtest/gtest.h>
#include <jerror.h>

#include <cstring>

#include "image/JpegDecoder.h"
#include "image/JpegEncoder.h"
#include "image/JpegProgress.h"
#include "tests/image/JpegSamples.h"

namespace {

struct TDecoded {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  int Pitch = 0;
  std::vector<uint8_t> Pixels;
};

TDecoded DecodeAll(const std::vector<uint8_t>& bytes, const TJPEGOptions& options = {}) {
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp(options);
  decoder.StartDecompress();
  TDecoded out;
  out.Width = static_cast<int>(decoder.Info().output_width);
  out.Height = static_cast<int>(decoder.Info().output_height);
  out.BitCount = decoder.OutputBitCount();
  out.Pitch = out.Width * out.BitCount / 8;
  out.Pixels.assign(static_cast<size_t>(out.Pitch) * out.Height, 0);
  decoder.ReadRows({out.Pixels.data(), out.Pitch, static_cast<size_t>(out.Pitch)});
  decoder.FinishDecompress();
  return out;
}

void ExpectSamplePicture(const TDecoded& decoded, int tolerance) {
  ASSERT_EQ(decoded.BitCount, 24);
  for (int y : {1, decoded.Height / 2 - 2, decoded.Height / 2 + 2, decoded.Height - 1}) {
    for (int x : {1, decoded.Width / 2, decoded.Width - 1}) {
      uint8_t r, g, b;
      SampleColour(x, y, decoded.Width, decoded.Height, r, g, b);
      const uint8_t* p = &decoded.Pixels[static_cast<size_t>(y) * decoded.Pitch + x * 3];
      EXPECT_NEAR(p[0], b, tolerance) << "blue at " << x << "," << y;
      EXPECT_NEAR(p[1], g, tolerance) << "green at " << x << "," << y;
      EXPECT_NEAR(p[2], r, tolerance) << "red at " << x << "," << y;
    }
  }
}

class ColourKinds : public testing::TestWithParam<TSampleKind> {};

TEST_P(ColourKinds, DecodeToBlueGreenRedWithTopRowFirst) {
  const TDecoded decoded = DecodeAll(MakeSampleJpeg({GetParam(), 64, 32}));
  EXPECT_EQ(decoded.Width, 64);
  EXPECT_EQ(decoded.Height, 32);
  ExpectSamplePicture(decoded, 40);
}

INSTANTIATE_TEST_SUITE_P(Files, ColourKinds,
                         testing::Values(TSampleKind::Colour, TSampleKind::Progressive,
                                         TSampleKind::Restart, TSampleKind::Cmyk,
                                         TSampleKind::CmykNoAdobe, TSampleKind::Ycck));

TEST(JpegDecoding, GreyFilesGiveEightBitsWithAGreyColourMap) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Grey, 32, 16});
  TJpegDecoder grey(bytes.data(), bytes.size());
  grey.ReadHeader();
  grey.SetUp({});
  EXPECT_EQ(grey.OutputBitCount(), 8);
  grey.StartDecompress();
  const jpeg_decompress_struct& info = grey.Info();
  EXPECT_EQ(info.out_color_components, 1);
  EXPECT_GT(info.actual_number_of_colors, 1);
  EXPECT_LE(info.actual_number_of_colors, 236);
  std::vector<uint8_t> pixels(32 * 16);
  grey.ReadRows({pixels.data(), 32, 32});
  // Top left red and bottom left blue have different grey levels.
  const int top = info.colormap[0][pixels[1 * 32 + 1]];
  const int bottom = info.colormap[0][pixels[15 * 32 + 1]];
  grey.FinishDecompress();
  EXPECT_NEAR(top, 76, 8);
  EXPECT_NEAR(bottom, 29, 8);
}

TEST(JpegDecoding, PalettizedColourUsesAtMost236Colours) {
  TJPEGOptions options;
  options.Palettized = true;
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 32, 16});
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp(options);
  EXPECT_EQ(decoder.OutputBitCount(), 8);
  decoder.StartDecompress();
  EXPECT_LE(decoder.Info().actual_number_of_colors, 236);
  std::vector<uint8_t> pixels(32 * 16);
  decoder.ReadRows({pixels.data(), 32, 32});
  const JSAMPARRAY map = decoder.Info().colormap;
  const uint8_t topLeft = pixels[32 + 1];
  EXPECT_GT(map[0][topLeft], 200);  // red row of the map
  EXPECT_LT(map[2][topLeft], 60);
}

TEST(JpegDecoding, FourComponentFilesIgnorePalettizedAndStayTwentyFourBits) {
  TJPEGOptions options;
  options.Palettized = true;
  options.GrayOutput = true;
  ExpectSamplePicture(DecodeAll(MakeSampleJpeg({TSampleKind::Cmyk, 32, 16}), options), 40);
}

struct TScaleCase {
  int Shift;
  int Width;
  int Height;
};
class Scaling : public testing::TestWithParam<TScaleCase> {};

TEST_P(Scaling, OutputSizeFollowsScaleShift) {
  TJPEGOptions options;
  options.ScaleShift = GetParam().Shift;
  const TDecoded decoded = DecodeAll(MakeSampleJpeg({TSampleKind::Colour, 80, 41}), options);
  EXPECT_EQ(decoded.Width, GetParam().Width);
  EXPECT_EQ(decoded.Height, GetParam().Height);
}

INSTANTIATE_TEST_SUITE_P(Shifts, Scaling,
                         testing::Values(TScaleCase{0, 80, 41}, TScaleCase{1, 40, 21},
                                         TScaleCase{2, 20, 11}, TScaleCase{3, 10, 6}));

TEST(JpegDecoding, IncrementalDisplayRunsBufferedPassesToTheSamePicture) {
  TJPEGOptions options;
  options.IncrementalDisplay = true;
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Progressive, 48, 32});
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp(options);
  EXPECT_TRUE(decoder.Info().buffered_image);
  EXPECT_EQ(decoder.Info().dct_method, JDCT_IFAST);
  EXPECT_EQ(decoder.Final().DctMethod, JDCT_FLOAT);
  decoder.StartDecompress();
  TDecoded out{48, 32, 24, 48 * 3, std::vector<uint8_t>(48 * 3 * 32)};
  const TJpegRowTarget target{out.Pixels.data(), out.Pitch, size_t(out.Pitch)};
  while (decoder.ConsumeInput() != JPEG_REACHED_EOI) {
  }
  decoder.StartOutput(decoder.Info().input_scan_number);
  decoder.ReadRows(target);
  decoder.FinishOutput();
  decoder.FinishDecompress();
  ExpectSamplePicture(out, 40);
}

TEST(JpegErrors, EmptyInputFailsWithLibjpegsEmptyInputCode) {
  EXPECT_EQ(MessageOf<EJPEG>([] {
              TJpegDecoder decoder(nullptr, 0);
              decoder.ReadHeader();
            }),
            JpegErrorText(JERR_INPUT_EMPTY));
}

TEST(JpegErrors, TextThatIsNotAJpegFailsInTheHeader) {
  const std::vector<uint8_t> bytes = {'B', 'M', 'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'};
  ASSERT_EQ(bytes.size(), 10u);
  EXPECT_EQ(MessageOf<EJPEG>([&] {
              TJpegDecoder decoder(bytes.data(), bytes.size());
              decoder.ReadHeader();
            }),
            JpegErrorText(JERR_NO_SOI));
}

TEST(JpegErrors, ErrorsAreInvalidGraphicErrors) {
  TJpegDecoder decoder(nullptr, 0);
  EXPECT_THROW(decoder.ReadHeader(), EInvalidGraphic);
}

TEST(JpegErrors, HugeHeaderIsRefusedBeforeDecompressionStarts) {
  const std::vector<uint8_t> bytes = MakeHugeHeaderJpeg(65500, 65500);
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  EXPECT_EQ(decoder.Info().image_width, 65500u);
  EXPECT_EQ(MessageOf<EJPEG>([&] { decoder.SetUp({}); }), JpegErrorText(JERR_IMAGE_TOO_BIG));
}

TEST(JpegErrors, HugeHeaderScaledDownWithinTheBoundIsAccepted) {
  const std::vector<uint8_t> bytes = MakeHugeHeaderJpeg(30000, 30000);
  TJPEGOptions options;
  options.ScaleShift = 3;
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp(options);
  EXPECT_EQ(decoder.Info().output_width, 3750u);
}

// Cuts the file halfway through the entropy-coded data of its last scan.
void CutInsideLastScan(std::vector<uint8_t>& bytes) {
  size_t scan = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) scan = i;
  ASSERT_GT(scan, 0u);
  const size_t data = scan + 2 + (size_t{bytes[scan + 2]} << 8 | bytes[scan + 3]);
  bytes.resize(data + (bytes.size() - data) / 2);
}

TEST(JpegErrors, ProgressiveCoefficientMemoryIsBoundedToo) {
  // At 1/8 the output fits, but the whole-picture coefficient buffers (about 5 GB)
  // are more than libjpeg may use.
  const std::vector<uint8_t> bytes = MakeHugeHeaderJpeg(30000, 30000, true);
  TJPEGOptions options;
  options.ScaleShift = 3;
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp(options);
  EXPECT_EQ(MessageOf<EJPEG>([&] { decoder.StartDecompress(); }),
            JpegErrorText(JERR_NO_BACKING_STORE));
}

TEST(JpegErrors, CutShortFileDecodesWithoutError) {
  std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 64, 64});
  CutInsideLastScan(bytes);
  const TDecoded decoded = DecodeAll(bytes);
  EXPECT_EQ(decoded.Height, 64);
  // The top rows were in the file and decode as usual.
  EXPECT_NEAR(decoded.Pixels[2 * decoded.Pitch + 3 + 2], 255, 40);
}

TEST(JpegErrors, CutShortProgressiveFileDecodesWithoutError) {
  std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Progressive, 64, 64});
  CutInsideLastScan(bytes);
  EXPECT_NO_THROW(DecodeAll(bytes));
}

TEST(JpegErrors, RowTargetNarrowerThanTheOutputIsRefusedUntouched) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Cmyk, 16, 4});
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp({});
  decoder.StartDecompress();
  std::vector<uint8_t> pixels(16 * 3 * 4 + 16, 0xAB);
  EXPECT_THROW(decoder.ReadRows({pixels.data(), 16 * 3, 16 * 3 - 1}), EJPEG);
  for (uint8_t b : pixels) ASSERT_EQ(b, 0xAB);
}

TEST(JpegErrors, CmykRowsFillExactlyThreeBytesPerPixel) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Ycck, 16, 4});
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  decoder.SetUp({});
  decoder.StartDecompress();
  const int pitch = 16 * 3 + 4;  // a canary gap after each row
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * 4, 0xAB);
  decoder.ReadRows({pixels.data(), pitch, 16 * 3});
  for (int y = 0; y < 4; ++y)
    for (int i = 16 * 3; i < pitch; ++i)
      ASSERT_EQ(pixels[static_cast<size_t>(y) * pitch + i], 0xAB);
}

struct TPercentCase {
  long Counter, Limit;
  int Completed, Total, Expected;
};
class ProgressPercent : public testing::TestWithParam<TPercentCase> {};

TEST_P(ProgressPercent, IsTruncated) {
  const TPercentCase& c = GetParam();
  EXPECT_EQ(JpegProgressPercent(c.Counter, c.Limit, c.Completed, c.Total), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgressPercent,
                         testing::Values(TPercentCase{0, 10, 0, 1, 0},
                                         TPercentCase{5, 10, 0, 1, 50},
                                         TPercentCase{1, 3, 0, 1, 33}, TPercentCase{2, 3, 1, 2, 83},
                                         TPercentCase{0, 0, 1, 2, 50},
                                         TPercentCase{7, 7, 2, 3, 100}));

// Decodes a file with a clock that advances by stepMs on every progress call.
std::vector<int> ProgressReports(int64_t stepMs, bool abortAtFirst = false) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 64, 256});
  TJpegDecoder decoder(bytes.data(), bytes.size());
  TJpegProgressMonitor monitor;
  int64_t clock = 0;
  monitor.Now = [&] { return clock += stepMs; };
  std::vector<int> percents;
  monitor.OnProgress = [&](int percent, const TRect&) {
    percents.push_back(percent);
    if (abortAtFirst) throw EAbort("stop");
  };
  monitor.Attach(decoder.Info());
  decoder.ReadHeader();
  decoder.SetUp({});
  decoder.StartDecompress();
  std::vector<uint8_t> pixels(64 * 3 * 256);
  decoder.ReadRows({pixels.data(), 64 * 3, 64 * 3});
  return percents;
}

TEST(JpegProgress, ReportsAreSpacedAndChanging) {
  EXPECT_TRUE(ProgressReports(1).empty());
  const std::vector<int> reports = ProgressReports(500);
  ASSERT_GT(reports.size(), 3u);
  for (size_t i = 1; i < reports.size(); ++i) EXPECT_GT(reports[i], reports[i - 1]);
}

TEST(JpegProgress, AnAbortFromTheListenerLeavesLibjpegAsItself) {
  EXPECT_THROW(ProgressReports(500, true), EAbort);
}

struct TEncodeCase {
  bool Grey;
  bool Progressive;
};
class Encoding : public testing::TestWithParam<TEncodeCase> {};

TEST_P(Encoding, RoundTripsThroughTheDecoder) {
  const int width = 40, height = 24, pitch = width * 3 + 4;
  std::vector<uint8_t> rows(static_cast<size_t>(pitch) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &rows[static_cast<size_t>(y) * pitch + x * 3];
      SampleColour(x, y, width, height, p[2], p[1], p[0]);
    }
  TJpegEncodeSettings settings;
  settings.Quality = 100;
  settings.Grayscale = GetParam().Grey;
  settings.Progressive = GetParam().Progressive;
  const std::vector<uint8_t> bytes = EncodeJpeg(rows.data(), pitch, width, height, settings);
  TJpegDecoder decoder(bytes.data(), bytes.size());
  decoder.ReadHeader();
  EXPECT_EQ(decoder.Info().image_width, unsigned(width));
  EXPECT_EQ(decoder.Info().jpeg_color_space == JCS_GRAYSCALE, GetParam().Grey);
  EXPECT_EQ(decoder.HasMultipleScans(), GetParam().Progressive);
  if (!GetParam().Grey) ExpectSamplePicture(DecodeAll(bytes), 60);
}

INSTANTIATE_TEST_SUITE_P(Settings, Encoding,
                         testing::Values(TEncodeCase{false, false}, TEncodeCase{true, false},
                                         TEncodeCase{false, true}, TEncodeCase{true, true}));

TEST(Encoding, ZeroSizeIsALibjpegError) { EXPECT_THROW(EncodeJpeg(nullptr, 0, 0, 0, {}), EJPEG); }

}  // namespace
