#include "image/JpegImage.h"

#include <algorithm>

#include "image/JpegDecoder.h"
#include "image/JpegEncoder.h"
#include "image/JpegPalette.h"
#include "image/JpegProgress.h"
#include "image/PixelLimits.h"
#include "platform/framework/BitmapImage.h"
#include "platform/framework/Canvas.h"
#include "platform/framework/Picture.h"
#include "platform/gdi/Gdi.h"

TJPEGOptions& DefaultJpegOptions() {
  static TJPEGOptions options;
  return options;
}

int ScreenColorDepth() {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

namespace {

const uint8_t* BytesOf(const TJPEGData& data) {
  return data.Data() ? static_cast<const uint8_t*>(data.Data()->Memory()) : nullptr;
}

size_t SizeOf(const TJPEGData& data) {
  return data.Data() ? static_cast<size_t>(data.Data()->Size()) : 0;
}

}  // namespace

TJPEGImage::TJPEGImage() : FOptions(DefaultJpegOptions()) { AttachData(new TJPEGData); }

TJPEGImage::~TJPEGImage() {
  if (FTempPal) DeleteObject(FTempPal);
}

void TJPEGImage::AttachData(TJPEGData* data) { FImage.Share(data); }

void TJPEGImage::AssignFrom(TPersistent* source) {
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(source)) {
    if (jpeg == this) return;
    AttachData(jpeg->FImage.Get());
    FBitmap.reset();
    if (jpeg->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->AssignFrom(jpeg->FBitmap.get());
    }
    Changed(this);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    AttachData(new TJPEGData);
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->AssignFrom(bitmap);
    Changed(this);
  } else {
    TGraphic::AssignFrom(source);
  }
}

void TJPEGImage::AssignTo(TPersistent* dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    bitmap->AssignFrom(DecodedBitmap());
    return;
  }
  TGraphic::AssignTo(dest);
}

bool TJPEGImage::Empty() const { return !FImage->HasData() && (!FBitmap || FBitmap->Empty()); }

int32_t TJPEGImage::Width() const {
  if (FBitmap) return FBitmap->Width();
  return FOptions.ScaleShift == 0 ? FImage->Width() : ScaledSize(true);
}

int32_t TJPEGImage::Height() const {
  if (FBitmap) return FBitmap->Height();
  return FOptions.ScaleShift == 0 ? FImage->Height() : ScaledSize(false);
}

int32_t TJPEGImage::ScaledSize(bool width) const {
  if (!FImage->HasData()) return 0;
  TJpegDecoder decoder(BytesOf(*FImage), SizeOf(*FImage));
  decoder.ReadHeader();
  decoder.SetUp(FOptions);
  return static_cast<int32_t>(width ? decoder.Info().output_width : decoder.Info().output_height);
}

void TJPEGImage::SetWidth(int32_t) { throw EInvalidGraphicOperation(kJpegSizeChangeText); }
void TJPEGImage::SetHeight(int32_t) { throw EInvalidGraphicOperation(kJpegSizeChangeText); }

HPALETTE TJPEGImage::Palette() {
  if (FBitmap) return FBitmap->Palette();
  if (!FTempPal && !FOptions.Palettized && ScreenColorDepth() <= 8) {
    HDC screen = GetDC(nullptr);
    FTempPal = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
  }
  return FTempPal;
}

void TJPEGImage::SetPalette(HPALETTE value) {
  if (value == FTempPal) return;
  const bool bitmapFreed = FBitmap && FBitmap->Palette() != value;
  if (bitmapFreed) FBitmap.reset();
  if (FTempPal) DeleteObject(FTempPal);
  FTempPal = value;
  if (bitmapFreed) {
    SetPaletteModified(true);
    Changed(this);
  }
}

void TJPEGImage::ReadFromStream(TStream& stream) { ReadJpegBytes(stream, stream.Remaining()); }

void TJPEGImage::ReadJpegBytes(TStream& stream, int64_t count) {
  AttachData(new TJPEGData);
  FBitmap.reset();
  // A stored count is checked against what is there before anything is reserved for it.
  if (count > stream.Remaining()) throw EReadError(FrameworkText::kReadError);
  // No JPEG file of a picture a bitmap may hold comes near this size: a larger one is
  // refused before its bytes are reserved and read.
  if (static_cast<uint64_t>(count) > kMaxPixelStorageBytes)
    throw EOutOfMemory(FrameworkText::kOutOfMemory);
  auto data = std::make_unique<TMemoryStream>();
  data->SetSize(count);
  if (count > 0) stream.ReadBuffer(data->Memory(), count);
  FImage->FData = std::move(data);
  if (count > 0) ReadHeaderValues();
  SetPaletteModified(true);
  Changed(this);
}

void TJPEGImage::ReadHeaderValues() {
  TJpegDecoder decoder(BytesOf(*FImage), SizeOf(*FImage));
  decoder.ReadHeader();
  const jpeg_decompress_struct& info = decoder.Info();
  FImage->FWidth = static_cast<int32_t>(info.image_width);
  FImage->FHeight = static_cast<int32_t>(info.image_height);
  FImage->FGrayscale = info.jpeg_color_space == JCS_GRAYSCALE;
  FOptions.ProgressiveSave = decoder.HasMultipleScans();
  // A header claiming more pixels than any bitmap may hold is refused now, before
  // anyone sizes a bitmap from it.
  decoder.SetUp(FOptions);
}

void TJPEGImage::ReadData(TStream& stream) {
  int32_t count = 0;
  stream.ReadBuffer(&count, sizeof count);
  if (count < 0) throw EReadError(FrameworkText::kReadError);
  ReadJpegBytes(stream, count);
}

void TJPEGImage::WriteData(TStream& stream) {
  Compress();
  const int32_t count = FImage->HasData() ? static_cast<int32_t>(FImage->Data()->Size()) : 0;
  stream.WriteBuffer(&count, sizeof count);
  if (count > 0) stream.WriteBuffer(FImage->Data()->Memory(), count);
}

void TJPEGImage::WriteToStream(TStream& stream) {
  Compress();
  if (FImage->HasData()) stream.WriteBuffer(FImage->Data()->Memory(), FImage->Data()->Size());
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) {
  canvas.StretchDraw(rect, DecodedBitmap());
}

TBitmap* TJPEGImage::DecodedBitmap() {
  if (FBitmap) return FBitmap.get();
  FBitmap = std::make_unique<TBitmap>();
  bool success = false;
  try {
    TJpegProgressMonitor monitor;
    monitor.OnProgress = [this](int percent, const TRect& band) {
      Progress(this, psRunning, static_cast<uint8_t>(std::clamp(percent, 0, 100)), !band.IsEmpty(),
               band, "");
    };
    TJpegDecoder decoder(BytesOf(*FImage), SizeOf(*FImage));
    monitor.Attach(decoder.Info());
    Decode(decoder);
    success = true;
  } catch (const EAbort&) {
    // A listener stopped decoding: the bitmap keeps the rows decoded so far.
  } catch (...) {
    EndDecoding(false);
    throw;
  }
  EndDecoding(success);
  return FBitmap.get();
}

void TJPEGImage::EndDecoding(bool success) {
  Progress(this, psEnding, success ? 100 : 0, PaletteModified(), TRect{}, "");
  if (PaletteModified()) Changed(this);
}

void TJPEGImage::Decode(TJpegDecoder& decoder) {
  bool generatePalette = true;
  decoder.ReadHeader();
  decoder.SetUp(FOptions);
  jpeg_decompress_struct& info = decoder.Info();
  FBitmap->SetPixelFormat(decoder.OutputBitCount() == 8 ? pf8bit : pf24bit);
  Progress(this, psStarting, 0, false, TRect{}, "");
  if (FTempPal) {
    if (FOptions.Palettized && info.quantize_colors) {
      UseColormapOfPalette(decoder, FTempPal);
      FBitmap->SetPalette(CopyPalette(FTempPal));
      generatePalette = false;
    } else {
      DeleteObject(FTempPal);
      FTempPal = nullptr;
    }
  }
  decoder.StartDecompress();
  FBitmap->SetSize(static_cast<int32_t>(info.output_width),
                   static_cast<int32_t>(info.output_height));
  if (info.buffered_image) DecodeBufferedPasses(decoder, generatePalette);
  if ((!info.buffered_image || decoder.Final().TwoPassQuantize) && info.colormap && generatePalette)
    TakePaletteOf(decoder);
  ReadAllRows(decoder);
  if (info.buffered_image) decoder.FinishOutput();
  decoder.FinishDecompress();
}

// Shows each scan of a progressive file with the fast settings, then sets the
// final quality settings up for the last pass.
void TJPEGImage::DecodeBufferedPasses(TJpegDecoder& decoder, bool generatePalette) {
  jpeg_decompress_struct& info = decoder.Info();
  while (decoder.ConsumeInput() != JPEG_REACHED_EOI) {
    decoder.StartOutput(info.input_scan_number);
    const bool firstPass = !info.progress || info.progress->completed_passes == 0;
    if (firstPass && info.colormap && decoder.OutputBitCount() == 8 && generatePalette)
      TakePaletteOf(decoder);
    ReadAllRows(decoder);
    decoder.FinishOutput();
  }
  const TJpegFinalSettings& final = decoder.Final();
  info.dct_method = final.DctMethod;
  info.dither_mode = final.DitherMode;
  if (final.TwoPassQuantize) {
    info.two_pass_quantize = TRUE;
    info.colormap = nullptr;
  }
  decoder.StartOutput(info.input_scan_number);
}

void TJPEGImage::ReadAllRows(TJpegDecoder& decoder) {
  const jpeg_decompress_struct& info = decoder.Info();
  TJpegRowTarget target;
  target.FirstRow = static_cast<uint8_t*>(FBitmap->ScanLine(0));
  if (info.output_height > 1)
    target.Pitch = static_cast<uint8_t*>(FBitmap->ScanLine(1)) - target.FirstRow;
  target.RowBytes =
      PaddedRowBytes(info.output_width, static_cast<uint64_t>(decoder.OutputBitCount()));
  decoder.ReadRows(target);
}

void TJPEGImage::TakePaletteOf(const TJpegDecoder& decoder) {
  FBitmap->SetPalette(PaletteFromColormap(decoder.Info()));
  SetPaletteModified(true);
}

void TJPEGImage::Compress() {
  if (FImage->HasData() || !FBitmap || FBitmap->Width() == 0 || FBitmap->Height() == 0) return;
  TBitmap copy;
  copy.AssignFrom(FBitmap.get());
  copy.SetPixelFormat(pf24bit);
  const int32_t width = copy.Width(), height = copy.Height();
  const auto* firstRow = static_cast<const uint8_t*>(copy.ScanLine(0));
  const ptrdiff_t pitch = height > 1 ? static_cast<const uint8_t*>(copy.ScanLine(1)) - firstRow : 0;
  try {
    Progress(this, psStarting, 0, false, TRect{}, "");
    const std::vector<uint8_t> bytes =
        EncodeJpeg(firstRow, pitch, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                   {FOptions.CompressQuality, FOptions.GrayOutput, FOptions.ProgressiveSave});
    auto data = std::make_unique<TMemoryStream>();
    data->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data->SetPosition(0);
    FImage->FData = std::move(data);
    FImage->FWidth = width;
    FImage->FHeight = height;
    FImage->FGrayscale = FOptions.GrayOutput;
    Progress(this, psEnding, 100, false, TRect{}, "");
  } catch (const EAbort&) {
    FImage->FData.reset();
    Progress(this, psEnding, 0, false, TRect{}, "");
  }
}

namespace {

// Start-up and shutdown of the JPEG unit: the picture file formats, and whether
// pictures are palettized, judged from the desktop before any display mode change.
struct TJpegUnit {
  TJpegUnit() {
    DefaultJpegOptions().Palettized = ScreenColorDepth() <= 8;
    TPicture::RegisterFileFormat("jpeg", kJpegDescription, TGraphicClass::Of<TJPEGImage>());
    TPicture::RegisterFileFormat("jpg", kJpegDescription, TGraphicClass::Of<TJPEGImage>());
  }
  ~TJpegUnit() { TPicture::UnregisterGraphicClass(TJPEGImage::StaticClass()); }
  TJpegUnit(const TJpegUnit&) = delete;
  TJpegUnit& operator=(const TJpegUnit&) = delete;
};

const TJpegUnit jpegUnit;

}  // namespace
