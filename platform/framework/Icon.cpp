#include "platform/framework/Icon.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/framework/Canvas.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelView.h"

namespace {

constexpr int64_t kMaxIconSide = 4096;
constexpr size_t kDirectoryBytes = 6;
constexpr size_t kEntryBytes = 16;

[[noreturn]] void Invalid() { throw EInvalidGraphic(FrameworkText::kInvalidIcon); }

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }

struct TIconEntry {
  int64_t Area = 0;
  uint16_t BitCount = 0;
  uint32_t Size = 0;
  uint32_t Offset = 0;
};

// The largest entry of the directory (ties: the deeper one), checked to lie
// inside the data.
TIconEntry ChooseEntry(const std::vector<uint8_t>& data) {
  if (data.size() < kDirectoryBytes || Word(&data[0]) != 0 || Word(&data[2]) != 1) Invalid();
  const size_t count = Word(&data[4]);
  if (count == 0 || data.size() < kDirectoryBytes + count * kEntryBytes) Invalid();
  TIconEntry best;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &data[kDirectoryBytes + i * kEntryBytes];
    TIconEntry entry{int64_t{e[0] ? e[0] : 256} * (e[1] ? e[1] : 256), Word(e + 6), Dword(e + 8),
                     Dword(e + 12)};
    if (entry.Area > best.Area || (entry.Area == best.Area && entry.BitCount > best.BitCount))
      best = entry;
  }
  if (uint64_t{best.Offset} + best.Size > data.size()) Invalid();
  return best;
}

// The colours, pixels and AND mask of one uncompressed image, as straight BGRA.
class TIconImage {
 public:
  TIconImage(const uint8_t* data, uint32_t size) : FData(data), FSize(size) {}

  void Decode(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) {
    ReadHeader();
    ReadColors();
    const uint64_t xorRow = GraphicPixelBytes(FWidth, 1, FBitCount);
    const uint64_t andRow = GraphicPixelBytes(FWidth, 1, 1);
    const uint64_t xorStart = FPos, andStart = xorStart + xorRow * FHeight;
    if (andStart > FSize) Invalid();
    const bool hasMask = andStart + andRow * FHeight <= FSize;
    pixels.assign(static_cast<size_t>(FWidth * FHeight), 0);
    bool anyAlpha = false;
    gdi::WithDepth(FBitCount, [&](auto depth) {
      constexpr uint32_t kBits = decltype(depth)::kBits;
      for (int64_t y = 0; y < FHeight; ++y) {
        const uint8_t* row = FData + xorStart + (FHeight - 1 - y) * xorRow;
        for (int32_t x = 0; x < FWidth; ++x) {
          const uint32_t raw = gdi::LoadPixel<kBits>(row, x);
          const uint32_t p = kBits <= 8 ? FColors[raw] : raw;
          anyAlpha |= (p >> 24) != 0;
          pixels[static_cast<size_t>(y * FWidth + x)] = p;
        }
      }
    });
    // Without an alpha channel of its own, the AND mask says what is transparent.
    for (int64_t y = 0; y < FHeight && !anyAlpha; ++y) {
      const uint8_t* mask = FData + andStart + (FHeight - 1 - y) * andRow;
      for (int64_t x = 0; x < FWidth; ++x) {
        const bool clear = hasMask && gdi::LoadPixel<1>(mask, static_cast<int32_t>(x)) != 0;
        uint32_t& p = pixels[static_cast<size_t>(y * FWidth + x)];
        p = clear ? 0 : p | 0xFF000000u;
      }
    }
    width = static_cast<int32_t>(FWidth);
    height = static_cast<int32_t>(FHeight);
  }

 private:
  void ReadHeader() {
    if (FSize >= 8 && std::memcmp(FData, "\x89PNG\r\n\x1a\n", 8) == 0) Invalid();
    if (FSize < 40) Invalid();
    const uint32_t headerSize = Dword(FData);
    const auto width = static_cast<int32_t>(Dword(FData + 4));
    const auto doubled = static_cast<int32_t>(Dword(FData + 8));
    FBitCount = Word(FData + 14);
    if (headerSize < 40 || headerSize > FSize || Dword(FData + 16) != BI_RGB) Invalid();
    if (FBitCount != 1 && FBitCount != 4 && FBitCount != 8 && FBitCount != 24 && FBitCount != 32)
      Invalid();
    FWidth = width;
    FHeight = doubled / 2;  // the XOR image and the AND mask
    if (FWidth <= 0 || FHeight <= 0 || FWidth > kMaxIconSide || FHeight > kMaxIconSide) Invalid();
    FColorCount = FBitCount <= 8 ? (Dword(FData + 32) ? Dword(FData + 32) : 1u << FBitCount) : 0;
    if (FColorCount > 256) Invalid();
    FPos = headerSize;
  }

  void ReadColors() {
    if (FPos + uint64_t{FColorCount} * 4 > FSize) Invalid();
    for (uint32_t i = 0; i < FColorCount; ++i) FColors[i] = Dword(FData + FPos + i * 4) & 0xFFFFFF;
    FPos += FColorCount * 4;
  }

  const uint8_t* FData;
  uint64_t FSize;
  uint64_t FPos = 0;
  int64_t FWidth = 0, FHeight = 0;
  uint16_t FBitCount = 0;
  uint32_t FColorCount = 0;
  uint32_t FColors[256]{};
};

uint8_t Blend(uint32_t over, uint32_t under, int shift, uint32_t alpha) {
  const uint32_t a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
  return static_cast<uint8_t>((a * alpha + b * (255 - alpha) + 127) / 255);
}

}  // namespace

void TIcon::AssignFrom(TPersistent* source) {
  auto* icon = dynamic_cast<TIcon*>(source);
  if (!icon) {
    TGraphic::AssignFrom(source);
    return;
  }
  FData = icon->FData;
  FPixels = icon->FPixels;
  FWidth = icon->FWidth;
  FHeight = icon->FHeight;
  Changed(this);
}

void TIcon::SetWidth(int32_t) { throw EInvalidGraphicOperation(FrameworkText::kChangeIconSize); }
void TIcon::SetHeight(int32_t) { throw EInvalidGraphicOperation(FrameworkText::kChangeIconSize); }

void TIcon::ReadFromStream(TStream& stream) {
  const int64_t size = stream.Remaining();
  if (size > static_cast<int64_t>(kMaxGraphicPixelBytes)) Invalid();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  stream.ReadBuffer(data.data(), size);
  std::vector<uint32_t> pixels;
  int32_t width = 0, height = 0;
  if (!data.empty()) {
    const TIconEntry entry = ChooseEntry(data);
    TIconImage(data.data() + entry.Offset, entry.Size).Decode(pixels, width, height);
  }
  FData = std::move(data);
  FPixels = std::move(pixels);
  FWidth = width;
  FHeight = height;
  Changed(this);
}

void TIcon::WriteToStream(TStream& stream) {
  stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

// Blends the icon, scaled by nearest neighbour, over what the canvas shows.
void TIcon::Draw(TCanvas& canvas, const TRect& rect) {
  if (FPixels.empty() || rect.IsEmpty() ||
      GraphicPixelBytes(rect.Width(), rect.Height(), 32) == UINT64_MAX)
    return;
  const int32_t w = rect.Width(), h = rect.Height();
  auto info = std::make_unique<BITMAPINFO>();
  info->bmiHeader.biWidth = w;
  info->bmiHeader.biHeight = -h;  // top-down: row y at bits + y * w
  info->bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) {
    if (section) DeleteObject(section);
    throw EOutOfResources(FrameworkText::kOutOfResources);
  }
  HDC dest = canvas.Handle();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  BitBlt(dc, 0, 0, w, h, dest, rect.Left, rect.Top, SRCCOPY);
  GdiFlush();
  auto* out = static_cast<uint32_t*>(bits);
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* row = FPixels.data() + static_cast<int64_t>(y) * FHeight / h * FWidth;
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = row[static_cast<int64_t>(x) * FWidth / w];
      const uint32_t alpha = p >> 24;
      uint32_t& under = out[static_cast<int64_t>(y) * w + x];
      under = Blend(p, under, 0, alpha) | Blend(p, under, 8, alpha) << 8 |
              static_cast<uint32_t>(Blend(p, under, 16, alpha)) << 16;
    }
  }
  BitBlt(dest, rect.Left, rect.Top, w, h, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(section);
}
