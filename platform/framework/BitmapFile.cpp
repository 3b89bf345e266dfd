#include "platform/framework/BitmapFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/framework/Exception.h"
#include "platform/gdi/Gdi.h"

namespace {

constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kMinHeaderSize = 16;
constexpr DWORD kMaxHeaderSize = 4096;

[[noreturn]] void Invalid() { throw EInvalidGraphic(FrameworkText::kInvalidGraphic); }

// One BMP being read: the stages below fill it in order.
struct TBmpReader {
  explicit TBmpReader(TStream& stream) : Stream(stream), Start(stream.Position()) {}
  TStream& Stream;
  int64_t Start = 0;        // where the data begins (file header, or info header)
  int64_t PixelOffset = 0;  // bfOffBits relative to Start, 0 when unknown
  BITMAPINFOHEADER Header;
  uint32_t Masks[3]{};
  bool Core = false;
  std::vector<RGBQUAD> Colors;

  void Need(int64_t bytes) {
    if (bytes < 0 || bytes > Stream.Remaining()) Invalid();
  }
  void Read(void* buffer, int64_t bytes) {
    Need(bytes);
    Stream.ReadBuffer(buffer, bytes);
  }
  void Skip(int64_t bytes) {
    Need(bytes);
    Stream.Seek(bytes, soCurrent);
  }
};

void ReadFileHeader(TBmpReader& r) {
  BITMAPFILEHEADER file;
  r.Read(&file, sizeof file);
  if (file.bfType != kBitmapFileType) Invalid();
  r.PixelOffset = file.bfOffBits;
}

void ReadInfoHeader(TBmpReader& r) {
  DWORD size = 0;
  r.Read(&size, sizeof size);
  if (size == kCoreHeaderSize) {
    BITMAPCOREHEADER core;
    r.Read(reinterpret_cast<uint8_t*>(&core) + 4, kCoreHeaderSize - 4);
    r.Core = true;
    r.Header.biWidth = core.bcWidth;
    r.Header.biHeight = core.bcHeight;
    r.Header.biPlanes = core.bcPlanes;
    r.Header.biBitCount = core.bcBitCount;
    return;
  }
  if (size < kMinHeaderSize || size > kMaxHeaderSize) Invalid();
  // Longer headers start with the 40-byte one; version 4 and 5 keep masks after it.
  uint8_t bytes[64]{};
  const DWORD kept = std::min<DWORD>(size, sizeof bytes);
  r.Read(bytes + 4, kept - 4);
  r.Skip(size - kept);
  std::memcpy(&r.Header, bytes, sizeof r.Header);
  r.Header.biSize = size;
  if (size >= kInfoHeaderSize + sizeof r.Masks)
    std::memcpy(r.Masks, bytes + kInfoHeaderSize, sizeof r.Masks);
}

void CheckHeader(const TBmpReader& r) {
  const BITMAPINFOHEADER& h = r.Header;
  const bool rle8 = h.biCompression == BI_RLE8, rle4 = h.biCompression == BI_RLE4;
  const bool bitfields = h.biCompression == BI_BITFIELDS;
  const WORD bits = h.biBitCount;
  if (h.biPlanes != 1) Invalid();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid();
  if (h.biCompression != BI_RGB && !(bitfields && (bits == 16 || bits == 32)) &&
      !(rle8 && bits == 8) && !(rle4 && bits == 4))
    Invalid();
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) Invalid();
  if ((rle8 || rle4) && h.biHeight < 0) Invalid();
  const int64_t height = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
  // Run-length pictures become bitmaps of the desktop's depth: count 32 bits.
  if (GraphicPixelBytes(h.biWidth, height, (rle8 || rle4) ? 32 : bits) == UINT64_MAX) Invalid();
}

void ReadMasks(TBmpReader& r) {
  const BITMAPINFOHEADER& h = r.Header;
  if (h.biCompression == BI_BITFIELDS) {
    if (h.biSize == kInfoHeaderSize) r.Read(r.Masks, sizeof r.Masks);
  } else if (h.biBitCount == 16) {
    const uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    std::memcpy(r.Masks, masks, sizeof masks);
  } else if (h.biBitCount == 32) {
    const uint32_t masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    std::memcpy(r.Masks, masks, sizeof masks);
  }
}

void ReadColorTable(TBmpReader& r) {
  const BITMAPINFOHEADER& h = r.Header;
  const int64_t count = r.Core || h.biClrUsed == 0
                            ? (h.biBitCount <= 8 ? int64_t{1} << h.biBitCount : 0)
                            : int64_t{h.biClrUsed};
  const int64_t entrySize = r.Core ? 3 : 4;
  r.Need(count * entrySize);
  const int64_t kept = std::min<int64_t>(count, 256);
  std::vector<uint8_t> raw(static_cast<size_t>(kept * entrySize));
  r.Read(raw.data(), static_cast<int64_t>(raw.size()));
  r.Skip((count - kept) * entrySize);
  r.Colors.resize(static_cast<size_t>(kept));
  for (int64_t i = 0; i < kept; ++i) {
    const uint8_t* e = raw.data() + i * entrySize;
    r.Colors[static_cast<size_t>(i)] = RGBQUAD{e[0], e[1], e[2], 0};
  }
}

// Some writers leave a gap between the colours and the pixels; bfOffBits says so.
void SkipToPixels(TBmpReader& r) {
  const int64_t gap = r.Start + r.PixelOffset - r.Stream.Position();
  if (r.PixelOffset > 0 && gap > 0 && gap <= r.Stream.Remaining()) r.Stream.Seek(gap, soCurrent);
}

std::unique_ptr<TBitmapImage> NewImage(const TBmpReader& r) {
  auto image = std::make_unique<TBitmapImage>();
  image->Width = r.Header.biWidth;
  image->Height = r.Header.biHeight < 0 ? -r.Header.biHeight : r.Header.biHeight;
  if (!r.Colors.empty())
    image->Palette = PaletteFromColors(r.Colors.data(), static_cast<int>(r.Colors.size()));
  return image;
}

std::unique_ptr<TBitmapImage> ReadUncompressed(TBmpReader& r) {
  auto image = NewImage(r);
  image->Layout.BitCount = r.Header.biBitCount;
  std::memcpy(image->Layout.Masks, r.Masks, sizeof r.Masks);
  try {
    image->HandleNeeded();
  } catch (const EOutOfResources&) {
    Invalid();  // masks the system cannot use
  }
  const int64_t rowBytes = image->RowBytes;
  const int64_t total = rowBytes * image->Height;
  const int64_t available = std::min(total, r.Stream.Remaining());
  if (r.Header.biHeight > 0) {
    r.Stream.ReadBuffer(image->Bits, available);
    std::memset(image->Bits + available, 0, static_cast<size_t>(total - available));
  } else {
    // Top-down file: file row y is picture row y, stored bottom-up here.
    std::memset(image->Bits, 0, static_cast<size_t>(total));
    for (int64_t y = 0; y < image->Height && (y + 1) * rowBytes <= available; ++y)
      r.Stream.ReadBuffer(image->Bits + (image->Height - 1 - y) * rowBytes, rowBytes);
  }
  return image;
}

std::unique_ptr<TBitmapImage> ReadRunLength(TBmpReader& r) {
  const BITMAPINFOHEADER& h = r.Header;
  const int64_t stated =
      h.biSizeImage ? int64_t{h.biSizeImage}
                    : static_cast<int64_t>(GraphicPixelBytes(h.biWidth, h.biHeight, h.biBitCount));
  const int64_t size = std::min(stated, r.Stream.Remaining());
  if (size <= 0) Invalid();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  r.Stream.ReadBuffer(data.data(), size);
  auto info = std::make_unique<BITMAPINFO>();
  info->bmiHeader = h;
  info->bmiHeader.biSize = kInfoHeaderSize;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(size);
  info->bmiHeader.biClrUsed = static_cast<DWORD>(r.Colors.size());
  std::copy(r.Colors.begin(), r.Colors.end(), info->bmiColors);
  auto image = NewImage(r);
  HDC screen = GetDC(nullptr);
  HPALETTE old = image->Palette ? SelectPalette(screen, image->Palette, FALSE_) : nullptr;
  if (image->Palette) RealizePalette(screen);
  image->Handle =
      CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, data.data(), info.get(), DIB_RGB_COLORS);
  if (old) SelectPalette(screen, old, FALSE_);
  ReleaseDC(nullptr, screen);
  if (!image->Handle) Invalid();
  image->Layout.DDB = true;
  return image;
}

}  // namespace

std::unique_ptr<TBitmapImage> ReadBitmapImage(TStream& stream, bool withFileHeader) {
  if (stream.Remaining() == 0) return nullptr;
  TBmpReader r(stream);
  if (withFileHeader) ReadFileHeader(r);
  ReadInfoHeader(r);
  CheckHeader(r);
  ReadMasks(r);
  ReadColorTable(r);
  if (withFileHeader) SkipToPixels(r);
  const DWORD compression = r.Header.biCompression;
  return compression == BI_RLE8 || compression == BI_RLE4 ? ReadRunLength(r) : ReadUncompressed(r);
}

void WriteBitmapImage(TBitmapImage& image, TStream& stream, bool withFileHeader) {
  if (image.Empty()) return;
  std::unique_ptr<TBitmapImage> section;
  TBitmapImage* source = &image;
  if (image.Layout.DDB) {
    TBitmapLayout layout;  // the desktop's depth, as a section
    section.reset(image.Reshaped(image.Width, image.Height, layout));
    source = section.get();
  }
  source->HandleNeeded();
  GdiFlush();
  auto info = std::make_unique<BITMAPINFO>();
  source->Describe(*info);
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const DWORD extra = h.biCompression == BI_BITFIELDS ? 12 : h.biClrUsed * 4;
  const DWORD infoSize = kInfoHeaderSize + extra;
  if (withFileHeader) {
    BITMAPFILEHEADER file;
    file.bfType = kBitmapFileType;
    file.bfOffBits = sizeof file + infoSize;
    file.bfSize = file.bfOffBits + h.biSizeImage;
    stream.WriteBuffer(&file, sizeof file);
  }
  stream.WriteBuffer(info.get(), infoSize);
  stream.WriteBuffer(source->Bits, h.biSizeImage);
}
