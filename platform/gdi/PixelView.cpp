#include "platform/gdi/PixelView.h"

#include <algorithm>
#include <cwchar>

namespace gdi {

namespace {

// One row of a fill of a whole-byte depth. The C library's memset and wmemset
// use the widest stores the processor has, so 8-, 16- and 32-bit rows go
// through them. The row must be aligned for P.
template <typename P>
void FillRow(P* row, size_t count, P pixel) {
  static_assert(sizeof(wchar_t) == 4);
  if constexpr (std::is_same_v<P, uint8_t>) {
    std::memset(row, pixel, count);
  } else if constexpr (std::is_same_v<P, uint32_t>) {
    std::wmemset(reinterpret_cast<wchar_t*>(row), static_cast<wchar_t>(pixel), count);
  } else if constexpr (std::is_same_v<P, uint16_t>) {
    if (count > 0 && reinterpret_cast<uintptr_t>(row) % 4 != 0) {
      *row++ = pixel;
      --count;
    }
    const uint32_t pair = pixel | (uint32_t{pixel} << 16);
    std::wmemset(reinterpret_cast<wchar_t*>(row), static_cast<wchar_t>(pair), count / 2);
    if (count % 2) row[count - 1] = pixel;
  } else {
    std::fill_n(row, count, pixel);
  }
}

template <uint32_t Bits>
void FillRows(const TPixelView& view, const TRect& rect, uint32_t value) {
  using P = typename TDepth<Bits>::Pixel;
  if constexpr (!std::is_void_v<P>) {
    // Whole rows at a time when every row's first pixel is aligned for P.
    const auto offset = static_cast<ptrdiff_t>(rect.Left) * ptrdiff_t{sizeof(P)};
    const auto first = reinterpret_cast<uintptr_t>(view.Row(rect.Top) + offset);
    if ((first | static_cast<uintptr_t>(view.Pitch)) % alignof(P) == 0) {
      const auto count = static_cast<size_t>(rect.Width());
      const P pixel = PixelFromValue<P>(value);
      for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
        FillRow(reinterpret_cast<P*>(view.Row(y) + offset), count, pixel);
      }
      return;
    }
  }
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    for (int32_t x = rect.Left; x < rect.Right; ++x) StorePixel<Bits>(view.Row(y), x, value);
  }
}

}  // namespace

uint32_t ReadPixel(const TPixelView& view, int32_t x, int32_t y) {
  return WithDepth(view.Format.BitCount,
                   [&](auto depth) { return LoadPixel<decltype(depth)::kBits>(view.Row(y), x); });
}

void WritePixel(const TPixelView& view, int32_t x, int32_t y, uint32_t pixel) {
  WithDepth(view.Format.BitCount,
            [&](auto depth) { StorePixel<decltype(depth)::kBits>(view.Row(y), x, pixel); });
}

void FillPixels(const TPixelView& view, const TRect& rect, uint32_t pixel) {
  WithDepth(view.Format.BitCount,
            [&](auto depth) { FillRows<decltype(depth)::kBits>(view, rect, pixel); });
}

TPixelCopy::TPixelCopy(const TPixelView& from, const TRect& rect) : FView(from) {
  const int64_t bits = from.Format.BitCount;
  const auto rowBytes = static_cast<size_t>((int64_t{rect.Width()} * bits + 7) / 8);
  const auto offset = static_cast<ptrdiff_t>(int64_t{rect.Left} * bits / 8);
  FBytes.reset(new uint8_t[rowBytes * static_cast<size_t>(rect.Height())]);
  for (int32_t y = 0; y < rect.Height(); ++y) {
    std::memcpy(FBytes.get() + rowBytes * static_cast<size_t>(y), from.Row(rect.Top + y) + offset,
                rowBytes);
  }
  FView.Top = FBytes.get();
  FView.Pitch = static_cast<ptrdiff_t>(rowBytes);
  FView.Width = rect.Width();
  FView.Height = rect.Height();
}

}  // namespace gdi
