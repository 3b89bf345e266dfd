#include "image/JpegRoute.h"

#include <cctype>
#include <memory>

#include "image/ExifOrientation.h"
#include "image/JpegImage.h"
#include "image/UprightPixels.h"
#include "platform/framework/BitmapImage.h"

namespace {

int32_t OrientationOf(const TJPEGData& data) {
  if (!data.HasData()) return 1;
  return ReadExifOrientation(static_cast<const uint8_t*>(data.Data()->Memory()),
                             static_cast<size_t>(data.Data()->Size()));
}

// Replaces the bitmap's picture by its upright form, same format and colours.
void TurnUpright(TBitmap& bitmap, int32_t orientation) {
  if (bitmap.Empty()) return;
  const bool swaps = OrientationSwapsSides(orientation);
  TBitmap upright;
  upright.SetPixelFormat(bitmap.PixelFormat());
  if (HPALETTE palette = bitmap.Palette()) upright.SetPalette(CopyPalette(palette));
  upright.SetSize(swaps ? bitmap.Height() : bitmap.Width(),
                  swaps ? bitmap.Width() : bitmap.Height());
  UprightPixels(bitmap.PixelView(), upright.PixelView(), orientation);
  bitmap.AssignFrom(&upright);
}

}  // namespace

bool IsJpegFileName(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string extension = fileName.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".JPEG" || extension == ".JPG";
}

void LoadJpegIntoPicture(TPicture& picture, const std::string& fileName) {
  auto image = std::make_unique<TJPEGImage>();
  auto bitmap = std::make_unique<TBitmap>();
  image->ReadFromFile(fileName);
  const int32_t orientation = OrientationOf(image->JpegData());
  bitmap->SetWidth(image->Width());
  bitmap->SetHeight(image->Height());
  bitmap->AssignFrom(image.get());
  if (orientation != 1) {
    // Alone with its pixels, the bitmap reads them without a copy.
    image.reset();
    TurnUpright(*bitmap, orientation);
  }
  picture.PictureBitmap()->AssignFrom(bitmap.get());
}
