#include "image/JpegPixels.h"

#include <cstring>

#include "image/ExifOrientation.h"
#include "image/JpegCellScale.h"
#include "image/JpegDecoder.h"
#include "image/PixelLimits.h"
#include "image/UprightPixels.h"
#include "platform/framework/Graphic.h"

namespace {

// The scale the picture is decoded at, from a header checked as reading the file does.
int ScaleShiftFor(const uint8_t* data, size_t size, const TJPEGOptions& options, TSize cell,
                  int32_t orientation) {
  TJpegDecoder header(data, size);
  header.ReadHeader();
  header.SetUp(options);
  if (cell.cx <= 0 || cell.cy <= 0) return options.ScaleShift;
  return CellScaleShift(header.Info().image_width, header.Info().image_height, cell, orientation);
}

// Whether the decoder will give 24-bit rows a bitmap of that size may hold.
bool PlainColourOutput(TJpegDecoder& decoder) {
  const jpeg_decompress_struct& info = decoder.Info();
  return decoder.OutputBitCount() == 24 && !info.quantize_colors && !info.buffered_image &&
         GraphicPixelBytes(info.output_width, info.output_height, 32) != UINT64_MAX;
}

// Row padding, and rows the decoder did not deliver, read as zero (as in a new
// bitmap), also in recycled memory.
void ClearUnwritten(TJpegPixels& pixels, int32_t rowsWritten) {
  const size_t written = size_t{3} * static_cast<size_t>(pixels.Width);
  for (int32_t y = 0; y < pixels.Height; ++y) {
    uint8_t* row = pixels.Bits.Data() + (pixels.Height - 1 - y) * pixels.RowBytes;
    const size_t from = y < rowsWritten ? written : 0;
    std::memset(row + from, 0, static_cast<size_t>(pixels.RowBytes) - from);
  }
}

// The picture in its upright form, in a second block of memory; false when memory
// is short.
bool TurnUpright(TJpegPixels& pixels, int32_t orientation, TPixelReclaimer* recycle) {
  const bool swaps = OrientationSwapsSides(orientation);
  TJpegPixels upright;
  upright.Width = swaps ? pixels.Height : pixels.Width;
  upright.Height = swaps ? pixels.Width : pixels.Height;
  upright.RowBytes = static_cast<int64_t>(PaddedRowBytes(static_cast<uint32_t>(upright.Width), 24));
  upright.Bits =
      TPixelBlock::Recycled(static_cast<size_t>(upright.RowBytes) * upright.Height, recycle);
  if (upright.Bits.Empty()) return false;
  UprightPixels(ViewOf(pixels), ViewOf(upright), orientation);
  ClearUnwritten(upright, upright.Height);
  pixels = std::move(upright);
  return true;
}

}  // namespace

gdi::TPixelView ViewOf(const TJpegPixels& pixels) {
  gdi::TPixelView view;
  view.Top = pixels.Bits.Data() + (pixels.Height - 1) * pixels.RowBytes;
  view.Pitch = -static_cast<ptrdiff_t>(pixels.RowBytes);
  view.Width = pixels.Width;
  view.Height = pixels.Height;
  view.Format.BitCount = 24;
  return view;
}

BITMAPINFO DescribeJpegPixels(const TJpegPixels& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = pixels.Width;
  info.bmiHeader.biHeight = pixels.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool DecodeJpegPixels(const uint8_t* data, size_t size, const TJPEGOptions& options, TSize cell,
                      TJpegPixels& picture, size_t maxBytes, TPixelReclaimer* recycle) {
  const int32_t orientation = ReadExifOrientation(data, size);
  TJPEGOptions used = options;
  used.ScaleShift = ScaleShiftFor(data, size, options, cell, orientation);
  TJpegDecoder decoder(data, size);
  decoder.ReadHeader();
  decoder.SetUp(used);
  if (!PlainColourOutput(decoder)) return false;
  const jpeg_decompress_struct& info = decoder.Info();
  TJpegPixels decoded;
  decoded.Width = static_cast<int32_t>(info.output_width);
  decoded.Height = static_cast<int32_t>(info.output_height);
  decoded.RowBytes = static_cast<int64_t>(PaddedRowBytes(info.output_width, 24));
  const size_t bytes = static_cast<size_t>(decoded.RowBytes) * decoded.Height;
  if (bytes > maxBytes) return false;
  decoded.Bits = TPixelBlock::Recycled(bytes, recycle);
  if (decoded.Bits.Empty()) return false;
  decoder.StartDecompress();
  TJpegRowTarget target;
  target.FirstRow = decoded.Bits.Data() + (decoded.Height - 1) * decoded.RowBytes;
  target.Pitch = -decoded.RowBytes;
  target.RowBytes = static_cast<size_t>(decoded.RowBytes);
  decoder.ReadRows(target);
  ClearUnwritten(decoded, static_cast<int32_t>(info.output_scanline));
  decoder.FinishDecompress();
  if (orientation != 1 && !TurnUpright(decoded, orientation, recycle)) return false;
  picture = std::move(decoded);
  return true;
}
