#include "image/JpegRoute.h"

#include <cctype>
#include <memory>

#include "image/ExifOrientation.h"
#include "image/JpegCellScale.h"
#include "image/JpegImage.h"
#include "image/UprightPixels.h"
#include "platform/framework/BitmapImage.h"
#include "platform/gdi/Gdi.h"

namespace {

using TClock = std::chrono::steady_clock;

// The section holds the block; deleting the section lets the block go.
void ReleaseBlock(void* block) { delete static_cast<TPixelBlock*>(block); }

// A section over the decoded rows; none, with the rows still the picture's, when it
// cannot be made.
HBITMAP SectionOf(TJpegPixels& pixels) {
  const BITMAPINFO info = DescribeJpegPixels(pixels);
  auto block = std::make_unique<TPixelBlock>(std::move(pixels.Bits));
  HBITMAP section =
      CreateDIBSectionOver(&info, block->Data(), block->Size(), &ReleaseBlock, block.get());
  if (!section) {
    pixels.Bits = std::move(*block);
    return nullptr;
  }
  static_cast<void>(block.release());  // the section owns it now
  return section;
}

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

void LoadJpegIntoPicture(TPicture& picture, const std::string& fileName, TSize cell,
                         TLoadTimes* times) {
  auto image = std::make_unique<TJPEGImage>();
  auto bitmap = std::make_unique<TBitmap>();
  TClock::time_point start = TClock::now();
  image->ReadFromFile(fileName);
  const int32_t orientation = OrientationOf(image->JpegData());
  if (cell.cx > 0 && cell.cy > 0)
    image->Options().ScaleShift =
        CellScaleShift(image->JpegData().Width(), image->JpegData().Height(), cell, orientation);
  if (times) times->ReadMs += MillisecondsSince(start);
  start = TClock::now();
  bitmap->SetWidth(image->Width());
  bitmap->SetHeight(image->Height());
  bitmap->AssignFrom(image.get());
  if (orientation != 1) {
    // Alone with its pixels, the bitmap reads them without a copy.
    image.reset();
    TurnUpright(*bitmap, orientation);
  }
  if (times) times->DecodeMs += MillisecondsSince(start);
  picture.PictureBitmap()->AssignFrom(bitmap.get());
}

HBITMAP LoadJpegPixelsIntoPicture(TPicture& picture, TJpegPixels pixels) {
  HBITMAP section = SectionOf(pixels);
  if (!section) return nullptr;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetHandle(section);
  picture.PictureBitmap()->AssignFrom(bitmap.get());
  return section;
}
