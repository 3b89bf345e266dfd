#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace gdi {

namespace {

constexpr int64_t kMaxBitmapBytes = int64_t{1} << 30;

struct TObjectTable {
  std::unordered_map<uintptr_t, std::shared_ptr<TGdiObject>> Objects;
  uintptr_t Next = 0x10000;
};

// Deliberately never destroyed: handles may be released by other libraries'
// static destructors at exit.
TObjectTable& Table() {
  static auto* table = new TObjectTable;
  return *table;
}

}  // namespace

HGDIOBJ AddObject(std::shared_ptr<TGdiObject> object, bool stock) {
  TObjectTable& table = Table();
  const uintptr_t key = table.Next;
  table.Next += 0x10;
  object->FHandle = reinterpret_cast<HGDIOBJ>(key);
  object->FStock = stock;
  table.Objects.emplace(key, std::move(object));
  return reinterpret_cast<HGDIOBJ>(key);
}

std::shared_ptr<TGdiObject> FindObject(HGDIOBJ handle) {
  TObjectTable& table = Table();
  const auto it = table.Objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == table.Objects.end() ? nullptr : it->second;
}

bool RemoveObject(HGDIOBJ handle) {
  TObjectTable& table = Table();
  const auto it = table.Objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.Objects.end() || it->second->Stock()) return false;
  std::shared_ptr<TGdiObject> keep = std::move(it->second);  // destroyed after the erase
  table.Objects.erase(it);
  return true;
}

std::shared_ptr<TGdiBitmap> TGdiBitmap::Describe(int32_t width, int32_t height,
                                                 const TPixelFormat& format, bool section,
                                                 bool topDown) {
  if (width <= 0 || height <= 0 || !IsValidFormat(format)) return nullptr;
  const int64_t rowBytes = DibRowBytes(width, format.BitCount);
  if (rowBytes < 0 || rowBytes * height > kMaxBitmapBytes) return nullptr;
  std::shared_ptr<TGdiBitmap> bitmap(new TGdiBitmap);
  bitmap->FWidth = width;
  bitmap->FHeight = height;
  bitmap->FSection = section;
  bitmap->FTopDown = topDown;
  bitmap->FRowBytes = rowBytes;
  bitmap->FFormat = WithDefaultMasks(format);
  if (format.BitCount <= 8) {
    const uint32_t size = 1u << format.BitCount;
    const uint32_t given = format.ColorTable ? std::min(format.ColorCount, size) : 0;
    if (given > 0) std::memcpy(bitmap->FColors, format.ColorTable, given * sizeof(RGBQUAD));
    bitmap->FFormat.ColorTable = bitmap->FColors;
    bitmap->FFormat.ColorCount = size;
  } else {
    bitmap->FFormat.ColorTable = nullptr;
    bitmap->FFormat.ColorCount = 0;
  }
  return bitmap;
}

std::shared_ptr<TGdiBitmap> TGdiBitmap::Create(int32_t width, int32_t height,
                                               const TPixelFormat& format, bool section,
                                               bool topDown) {
  std::shared_ptr<TGdiBitmap> bitmap = Describe(width, height, format, section, topDown);
  if (!bitmap) return nullptr;
  // New pixels read as zero; calloc skips clearing memory that comes fresh from the system.
  bitmap->FBits.reset(
      static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bitmap->FRowBytes * height), 1)));
  if (!bitmap->FBits) return nullptr;
  return bitmap;
}

std::shared_ptr<TGdiBitmap> TGdiBitmap::CreateOver(int32_t width, int32_t height,
                                                   const TPixelFormat& format, bool topDown,
                                                   uint8_t* bits, size_t bytes,
                                                   void (*release)(void*), void* context) {
  std::shared_ptr<TGdiBitmap> bitmap = Describe(width, height, format, true, topDown);
  if (!bitmap || !bits || !release || static_cast<uint64_t>(bitmap->FRowBytes * height) > bytes)
    return nullptr;
  bitmap->FBits = std::unique_ptr<uint8_t, TFreeBits>(bits, TFreeBits{release, context});
  return bitmap;
}

TPixelView TGdiBitmap::View() const {
  TPixelView view;
  view.Width = FWidth;
  view.Height = FHeight;
  view.Format = FFormat;
  view.Pitch = FTopDown ? FRowBytes : -FRowBytes;
  view.Top = FTopDown ? FBits.get() : FBits.get() + (FHeight - 1) * FRowBytes;
  return view;
}

void TGdiBitmap::DescribeHeader(BITMAPINFOHEADER& h) const {
  const TPixelFormat& f = FFormat;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = FWidth;
  h.biHeight = FHeight;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(f.BitCount);
  const bool defaultMasks =
      f.BitCount == 24 || f.BitCount <= 8 ||
      (f.BitCount == 16 && f.RedMask == kMask555[0] && f.GreenMask == kMask555[1]) ||
      (f.BitCount == 32 && f.RedMask == kMask888[0] && f.GreenMask == kMask888[1]);
  h.biCompression = defaultMasks ? BI_RGB : BI_BITFIELDS;
  h.biSizeImage = static_cast<DWORD>(FRowBytes * FHeight);
  h.biClrUsed = 0;
}

void TGdiBitmap::DescribeSection(DIBSECTION& section) const {
  section = DIBSECTION{};
  section.dsBm.bmWidth = FWidth;
  section.dsBm.bmHeight = FHeight;
  section.dsBm.bmWidthBytes = static_cast<LONG>(FRowBytes);
  section.dsBm.bmBitsPixel = static_cast<WORD>(FFormat.BitCount);
  section.dsBm.bmBits = FSection ? FBits.get() : nullptr;
  DescribeHeader(section.dsBmih);
  if (FTopDown) section.dsBmih.biHeight = -FHeight;
  if (FFormat.BitCount <= 8) section.dsBmih.biClrUsed = FFormat.ColorCount;
  if (FFormat.BitCount == 16 || FFormat.BitCount == 32) {
    section.dsBitfields[0] = FFormat.RedMask;
    section.dsBitfields[1] = FFormat.GreenMask;
    section.dsBitfields[2] = FFormat.BlueMask;
  }
}

}  // namespace gdi
