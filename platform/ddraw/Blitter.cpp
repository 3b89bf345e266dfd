#include "platform/ddraw/Blitter.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <type_traits>
#include <vector>

namespace ddraw {
namespace {

struct Pixel24 {
  uint8_t bytes[3];
  friend bool operator==(const Pixel24&, const Pixel24&) = default;
};
static_assert(sizeof(Pixel24) == 3);

template <class P>
P FromRaw(uint32_t value) {
  if constexpr (std::is_same_v<P, Pixel24>) {
    return Pixel24{{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                    static_cast<uint8_t>(value >> 16)}};
  } else {
    return static_cast<P>(value);
  }
}

// 32-bit pixels compare without their unused top byte.
template <class P>
bool MatchesKey(P pixel, P key) {
  if constexpr (std::is_same_v<P, uint32_t>) {
    return ((pixel ^ key) & 0x00FFFFFFu) == 0;
  } else {
    return pixel == key;
  }
}

template <class P>
P* RowAt(const TPixelView& view, int32_t y) {
  return reinterpret_cast<P*>(view.bits + static_cast<int64_t>(y) * view.pitch);
}

// One row of a fill. The C library's memset and wmemset use the widest stores
// the processor has, so 8-, 16- and 32-bit rows go through them.
template <class P>
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

template <class P>
void FillKernel(const TPixelView& destination, const TRect& rect, uint32_t value) {
  const P pixel = FromRaw<P>(value);
  const auto count = static_cast<size_t>(rect.Width());
  for (int32_t y = rect.Top; y < rect.Bottom; ++y)
    FillRow(RowAt<P>(destination, y) + rect.Left, count, pixel);
}

// Unscaled, unmirrored copy: whole rows at a time.
template <class P>
void CopyKernel(const TBlitRequest& request, const TRect& clip) {
  const int32_t offsetX = request.sourceRect.Left - request.destinationRect.Left;
  const int32_t offsetY = request.sourceRect.Top - request.destinationRect.Top;
  const size_t bytes = static_cast<size_t>(clip.Width()) * sizeof(P);
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    std::memcpy(RowAt<P>(request.destination, y) + clip.Left,
                RowAt<P>(request.source, y + offsetY) + clip.Left + offsetX, bytes);
  }
}

template <class P>
void KeyedCopyKernel(const TBlitRequest& request, const TRect& clip) {
  const int32_t offsetX = request.sourceRect.Left - request.destinationRect.Left;
  const int32_t offsetY = request.sourceRect.Top - request.destinationRect.Top;
  const P key = FromRaw<P>(request.key);
  const int32_t width = clip.Width();
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    P* target = RowAt<P>(request.destination, y) + clip.Left;
    const P* from = RowAt<P>(request.source, y + offsetY) + clip.Left + offsetX;
    // A select rather than a branch, so the loop vectorises.
    for (int32_t x = 0; x < width; ++x) {
      const P pixel = from[x];
      target[x] = MatchesKey(pixel, key) ? target[x] : pixel;
    }
  }
}

// Source index of destination index `i` out of `destinationSize`, sampling the
// centre of the destination pixel.
int32_t SampleIndex(int64_t i, int64_t destinationSize, int64_t sourceSize, bool mirror) {
  const auto index = static_cast<int32_t>(((2 * i + 1) * sourceSize) / (2 * destinationSize));
  return mirror ? static_cast<int32_t>(sourceSize) - 1 - index : index;
}

// The plain path: any size, mirroring, optional key. Every fast path must
// give what this gives.
template <class P, bool Keyed>
void StretchKernel(const TBlitRequest& request, const TRect& clip) {
  const TRect& dst = request.destinationRect;
  const TRect& src = request.sourceRect;
  std::vector<int32_t> columns(static_cast<size_t>(clip.Width()));
  for (int32_t x = clip.Left; x < clip.Right; ++x) {
    columns[static_cast<size_t>(x - clip.Left)] =
        src.Left + SampleIndex(x - dst.Left, dst.Width(), src.Width(), request.mirrorLeftRight);
  }
  const P key = FromRaw<P>(request.key);
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    const int32_t sourceY =
        src.Top + SampleIndex(y - dst.Top, dst.Height(), src.Height(), request.mirrorUpDown);
    const P* from = RowAt<P>(request.source, sourceY);
    P* target = RowAt<P>(request.destination, y) + clip.Left;
    for (size_t x = 0; x < columns.size(); ++x) {
      const P pixel = from[columns[x]];
      if constexpr (Keyed) {
        target[x] = MatchesKey(pixel, key) ? target[x] : pixel;
      } else {
        target[x] = pixel;
      }
    }
  }
}

template <class P>
void BlitKernel(const TBlitRequest& request, const TRect& clip, bool forceGeneric) {
  const bool unscaled = request.sourceRect.Width() == request.destinationRect.Width() &&
                        request.sourceRect.Height() == request.destinationRect.Height();
  const bool mirrored = request.mirrorLeftRight || request.mirrorUpDown;
  if (unscaled && !mirrored && !forceGeneric) {
    if (request.keyed) {
      KeyedCopyKernel<P>(request, clip);
    } else {
      CopyKernel<P>(request, clip);
    }
  } else if (request.keyed) {
    StretchKernel<P, true>(request, clip);
  } else {
    StretchKernel<P, false>(request, clip);
  }
}

}  // namespace

TRect IntersectRects(const TRect& a, const TRect& b) {
  return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
               std::min(a.Bottom, b.Bottom)};
}

bool RectsOverlap(const TRect& a, const TRect& b) { return !IntersectRects(a, b).IsEmpty(); }

TRect UnionRects(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

void FillPixels(const TPixelView& destination, const TRect& rect, uint32_t value) {
  switch (destination.bitCount) {
    case 8:
      return FillKernel<uint8_t>(destination, rect, value);
    case 16:
      return FillKernel<uint16_t>(destination, rect, value);
    case 24:
      return FillKernel<Pixel24>(destination, rect, value);
    case 32:
      return FillKernel<uint32_t>(destination, rect, value);
  }
}

void BlitPixels(const TBlitRequest& request, const TRect& clip, bool forceGeneric) {
  switch (request.destination.bitCount) {
    case 8:
      return BlitKernel<uint8_t>(request, clip, forceGeneric);
    case 16:
      return BlitKernel<uint16_t>(request, clip, forceGeneric);
    case 24:
      return BlitKernel<Pixel24>(request, clip, forceGeneric);
    case 32:
      return BlitKernel<uint32_t>(request, clip, forceGeneric);
  }
}

}  // namespace ddraw
