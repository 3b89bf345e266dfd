#include "platform/ddraw/Blitter.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "platform/gdi/PixelFormat.h"

namespace ddraw {
namespace {

using gdi::PixelFromValue;

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
  return reinterpret_cast<P*>(view.Row(y));
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
  const P key = PixelFromValue<P>(request.key);
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

// The plain path: any size, mirroring, optional key, through the graphics
// layer's sampling rule and kernel. Every fast path must give what this gives.
template <class P>
void StretchKernel(const TBlitRequest& request, const TRect& clip) {
  const TRect& dst = request.destinationRect;
  const TRect& src = request.sourceRect;
  // A mirrored axis reads its source rectangle backwards.
  const gdi::TAxisMap columns =
      gdi::MapAxisWithin(dst.Left, dst.Width(), request.mirrorLeftRight ? src.Right : src.Left,
                         request.mirrorLeftRight ? -src.Width() : src.Width(), clip.Left,
                         clip.Right, request.source.Width);
  const gdi::TAxisMap rows =
      gdi::MapAxisWithin(dst.Top, dst.Height(), request.mirrorUpDown ? src.Bottom : src.Top,
                         request.mirrorUpDown ? -src.Height() : src.Height(), clip.Top, clip.Bottom,
                         request.source.Height);
  const gdi::TStretchJob job =
      gdi::StretchJobOf(request.destination, request.source, columns, rows);
  if (request.keyed) {
    const P key = PixelFromValue<P>(request.key);
    gdi::StretchRows<P, P>(
        job, [key](P& target, P pixel) { target = MatchesKey(pixel, key) ? target : pixel; });
  } else {
    gdi::StretchRows<P, P>(job, [](P& target, P pixel) { target = pixel; });
  }
}

template <class P>
void BlitKernel(const TBlitRequest& request, const TRect& clip, bool forceGeneric) {
  const bool unscaled = request.sourceRect.Width() == request.destinationRect.Width() &&
                        request.sourceRect.Height() == request.destinationRect.Height();
  const bool mirrored = request.mirrorLeftRight || request.mirrorUpDown;
  if (!unscaled || mirrored || forceGeneric) {
    StretchKernel<P>(request, clip);
  } else if (request.keyed) {
    KeyedCopyKernel<P>(request, clip);
  } else {
    CopyKernel<P>(request, clip);
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

void BlitPixels(const TBlitRequest& request, const TRect& clip, bool forceGeneric) {
  gdi::WithDepth(request.destination.Format.BitCount, [&](auto depth) {
    using P = typename decltype(depth)::Pixel;
    if constexpr (!std::is_void_v<P>) BlitKernel<P>(request, clip, forceGeneric);
  });
}

}  // namespace ddraw
