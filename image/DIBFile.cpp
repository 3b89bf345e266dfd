// Reading and writing a DIB as BMP data: the file form with its 14-byte header,
// the bare form, the clipboard exchange and the stored property.
#include <cstring>

#include "image/DIB.h"
#include "image/DIBErrors.h"
#include "image/DIBGlobalMemoryStream.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Filer.h"
#include "platform/gdi/Gdi.h"

namespace {

constexpr uint32_t kFileHeaderSize = sizeof(BITMAPFILEHEADER);

}  // namespace

void TDIB::ReadFromStream(TStream& stream) {
  uint8_t bytes[kFileHeaderSize];
  const int64_t got = stream.Read(bytes, kFileHeaderSize);
  if (got == 0) return;
  if (got < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
    throw EInvalidGraphic(DIBText::kDIBInvalid);
  // bfSize and bfOffBits are not used: the parts must follow each other directly.
  ReadInfoAndBits(stream);
}

void TDIB::ReadInfoAndBits(TStream& stream) {
  const auto image = ShareRef(new TDIBSharedImage);
  image->ReadImage(stream, FImage->PlainMemory());
  AttachImage(image.Get());
}

void TDIB::WriteToStream(TStream& stream) {
  if (Empty()) return;
  BITMAPFILEHEADER header;
  header.bfType = kBitmapFileType;
  const uint32_t imageBytes = FImage->BitmapInfo()->bmiHeader.biSizeImage;
  header.bfSize = kFileHeaderSize + InfoSize() + imageBytes;
  header.bfOffBits = kFileHeaderSize + InfoSize();
  stream.WriteBuffer(&header, sizeof header);
  WriteInfoAndBits(stream);
}

void TDIB::WriteInfoAndBits(TStream& stream) {
  if (!FImage->BitmapInfo()) return;  // no picture, nothing to store
  if (!FImage->PlainMemory()) GdiFlush();
  stream.WriteBuffer(FImage->BitmapInfo(), InfoSize());
  stream.WriteBuffer(FImage->PixelData(), FImage->BitmapInfo()->bmiHeader.biSizeImage);
}

void TDIB::ReadData(TStream& stream) { ReadInfoAndBits(stream); }
void TDIB::WriteData(TStream& stream) { WriteInfoAndBits(stream); }

void TDIB::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "DIB", [this](TStream& stream) { ReadInfoAndBits(stream); },
      [this](TStream& stream) { WriteInfoAndBits(stream); }, !Empty());
}

void TDIB::LoadClipboardData(UINT /*format*/, HANDLE data, HPALETTE /*palette*/) {
  TGlobalMemoryStream stream(static_cast<HGLOBAL>(data));
  ReadInfoAndBits(stream);
}

void TDIB::SaveClipboardData(UINT& format, HANDLE& data, HPALETTE& palette) {
  format = CF_DIB;
  palette = nullptr;
  const size_t bytes =
      FImage->BitmapInfo() ? InfoSize() + size_t{FImage->BitmapInfo()->bmiHeader.biSizeImage} : 0;
  HGLOBAL block = GlobalAlloc(GHND, bytes);
  if (!block) throw EOutOfMemory(FrameworkText::kOutOfMemory);
  try {
    TGlobalMemoryStream stream(block);
    WriteInfoAndBits(stream);
  } catch (...) {
    GlobalFree(block);
    throw;
  }
  data = block;
}
