// The objects behind the graphics handles and the process-wide handle table.
// Handles are never reused, so a dead handle stays dead. Objects are shared:
// a bitmap or palette deleted while a device context still holds it lives on
// until that context lets go, but its handle is gone at once. Like the rest of
// the system, the services are used from one thread and take no locks.
#pragma once

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelFormat.h"

namespace gdi {

enum class TObjectKind { Bitmap, Palette, Brush, Pen, DeviceContext };

class TGdiObject {
 public:
  explicit TGdiObject(TObjectKind kind) : FKind(kind) {}
  virtual ~TGdiObject() = default;
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  TObjectKind Kind() const { return FKind; }
  HGDIOBJ Handle() const { return FHandle; }
  bool Stock() const { return FStock; }

 private:
  friend HGDIOBJ AddObject(std::shared_ptr<TGdiObject> object, bool stock);
  TObjectKind FKind;
  HGDIOBJ FHandle = nullptr;
  bool FStock = false;
};

// Pixels owned by the graphics services: a section (pixels the program may
// address) or a device-dependent bitmap. Rows are padded to 4 bytes.
class TGdiBitmap : public TGdiObject {
 public:
  static constexpr TObjectKind kKind = TObjectKind::Bitmap;
  // Null when the size is out of range or the format invalid.
  static std::shared_ptr<TGdiBitmap> Create(int32_t width, int32_t height,
                                            const TPixelFormat& format, bool section, bool topDown);
  // A section over the caller's pixels; when it goes it calls release(context). Null
  // (pixels and context still the caller's) when the size or format is out of range
  // or bytes cannot hold the rows.
  static std::shared_ptr<TGdiBitmap> CreateOver(int32_t width, int32_t height,
                                                const TPixelFormat& format, bool topDown,
                                                uint8_t* bits, size_t bytes, void (*release)(void*),
                                                void* context);

  TPixelView View() const;
  // The bitmap as a DIB header (BI_BITFIELDS when its masks are not the defaults).
  void DescribeHeader(BITMAPINFOHEADER& header) const;
  // What GetObject reports: the section fields stay empty for device bitmaps.
  void DescribeSection(DIBSECTION& section) const;
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  uint32_t BitCount() const { return FFormat.BitCount; }
  bool IsSection() const { return FSection; }
  bool TopDown() const { return FTopDown; }
  int64_t RowBytes() const { return FRowBytes; }
  uint8_t* Bits() const { return FBits.get(); }
  const TPixelFormat& Format() const { return FFormat; }
  // Colour table of 1-, 4- and 8-bit bitmaps (2^bits entries).
  RGBQUAD* Colors() { return FColors; }
  uint32_t ColorCount() const { return FFormat.ColorCount; }

 private:
  TGdiBitmap() : TGdiObject(kKind) {}
  // Everything but the pixels.
  static std::shared_ptr<TGdiBitmap> Describe(int32_t width, int32_t height,
                                              const TPixelFormat& format, bool section,
                                              bool topDown);
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FSection = false;
  bool FTopDown = false;
  int64_t FRowBytes = 0;
  TPixelFormat FFormat;
  // Pixels of our own are freed; the caller's go back through its release.
  struct TFreeBits {
    void (*Release)(void*);
    void* Context;
    void operator()(uint8_t* bits) const {
      if (Release)
        Release(Context);
      else
        std::free(bits);
    }
  };
  RGBQUAD FColors[256]{};
  std::unique_ptr<uint8_t, TFreeBits> FBits{nullptr, TFreeBits{nullptr, nullptr}};
};

class TGdiPalette : public TGdiObject {
 public:
  static constexpr TObjectKind kKind = TObjectKind::Palette;
  explicit TGdiPalette(std::vector<PALETTEENTRY> entries)
      : TGdiObject(kKind), Entries(std::move(entries)) {}
  std::vector<PALETTEENTRY> Entries;
};

class TGdiBrush : public TGdiObject {
 public:
  static constexpr TObjectKind kKind = TObjectKind::Brush;
  TGdiBrush(COLORREF color, bool hollow) : TGdiObject(kKind), Color(color), Hollow(hollow) {}
  COLORREF Color;
  bool Hollow;
};

class TGdiPen : public TGdiObject {
 public:
  static constexpr TObjectKind kKind = TObjectKind::Pen;
  TGdiPen(int style, int width, COLORREF color)
      : TGdiObject(kKind), Style(style), Width(width), Color(color) {}
  int Style;
  int Width;
  COLORREF Color;
};

// Registers an object and gives it its handle.
HGDIOBJ AddObject(std::shared_ptr<TGdiObject> object, bool stock = false);
std::shared_ptr<TGdiObject> FindObject(HGDIOBJ handle);
// Drops the handle; false for unknown handles and stock objects.
bool RemoveObject(HGDIOBJ handle);

template <typename T>
std::shared_ptr<T> Find(const void* handle) {
  std::shared_ptr<TGdiObject> object = FindObject(const_cast<void*>(handle));
  if (!object || object->Kind() != T::kKind) return nullptr;
  return std::static_pointer_cast<T>(object);
}

}  // namespace gdi
