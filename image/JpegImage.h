// JPEG pictures: the encoded file bytes (shared between images) and a graphic
// that decodes them through libjpeg into a bitmap when first needed.
#pragma once

#include <cstdint>
#include <memory>

#include "image/JpegGuard.h"
#include "image/JpegOptions.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/SharedImage.h"
#include "platform/framework/Stream.h"

inline constexpr const char* kJpegSizeChangeText = "Cannot change the size of a JPEG image";
inline constexpr const char* kJpegDescription = "JPEG Image File";

// The one process-wide record new images take their options from.
TJPEGOptions& DefaultJpegOptions();

// The encoded bytes of one JPEG file and its frame header values. Shared by the
// images read from it or assigned from one another.
class TJPEGData : public TSharedImage {
 public:
  // The complete file, or none.
  TMemoryStream* Data() const { return FData.get(); }
  bool HasData() const { return FData && FData->Size() > 0; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  bool Grayscale() const { return FGrayscale; }

 private:
  friend class TJPEGImage;
  std::unique_ptr<TMemoryStream> FData;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FGrayscale = false;
};

class TJpegDecoder;

class TJPEGImage : public TGraphic {
 public:
  LOUPIX_CLASS(TJPEGImage, TGraphic)
  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;

  // A TJPEGImage source shares its data and decoded bitmap; a TBitmap source
  // becomes the picture, encoded when saved.
  void AssignFrom(TPersistent* source) override;
  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TJPEGImage>(); }

  bool Empty() const override;
  // The decoded bitmap's size, else the header size scaled by ScaleShift.
  int32_t Width() const override;
  int32_t Height() const override;
  // Always refused with EInvalidGraphicOperation.
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  HPALETTE Palette() override;
  void SetPalette(HPALETTE value) override;

  // Reads a whole JPEG file from the stream's position and its header; a file
  // that is not a JPEG (or too large a picture) fails here with EJPEG.
  void ReadFromStream(TStream& stream) override;
  // Writes the encoded bytes, encoding the bitmap first when there are none.
  void WriteToStream(TStream& stream) override;

  // The decoded picture (24 bits blue, green, red, or 8 bits with a palette),
  // decoding on first use. libjpeg errors arrive as EJPEG.
  TBitmap* DecodedBitmap();
  // Encodes the bitmap when there is no encoded data yet.
  void Compress();

  TJPEGData& JpegData() const { return *FImage; }
  // Fixed at creation from DefaultJpegOptions; reading a file sets ProgressiveSave.
  TJPEGOptions& Options() { return FOptions; }
  const TJPEGOptions& Options() const { return FOptions; }

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // Stored form: a 32-bit byte count, then the JPEG file bytes.
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;
  // Copying into a TBitmap shares the decoded bitmap's image.
  void AssignTo(TPersistent* dest) override;

 private:
  void AttachData(TJPEGData* data);
  void ReadJpegBytes(TStream& stream, int64_t count);
  void ReadHeaderValues();
  int32_t ScaledSize(bool width) const;
  void Decode(TJpegDecoder& decoder);
  void EndDecoding(bool success);
  void DecodeBufferedPasses(TJpegDecoder& decoder, bool generatePalette);
  void ReadAllRows(TJpegDecoder& decoder);
  void TakePaletteOf(const TJpegDecoder& decoder);

  TComRef<TJPEGData> FImage;
  std::unique_ptr<TBitmap> FBitmap;
  HPALETTE FTempPal = nullptr;
  TJPEGOptions FOptions;
};

// Bits per pixel times planes of the screen.
int ScreenColorDepth();
