#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gdi {

namespace {

struct TByteRange {
  const uint8_t* Low;
  const uint8_t* High;  // exclusive
};

int64_t PackedRowBytes(const TPixelView& view) {
  return (int64_t{view.Width} * view.Format.BitCount + 7) / 8;
}

TByteRange BytesOf(const TPixelView& view) {
  const uint8_t* first = view.Row(0);
  const uint8_t* last = view.Row(view.Height - 1);
  const uint8_t* low = std::min(first, last);
  return TByteRange{low, std::max(first, last) + PackedRowBytes(view)};
}

bool SharePixels(const TPixelView& a, const TPixelView& b) {
  const TByteRange ra = BytesOf(a), rb = BytesOf(b);
  return ra.Low < rb.High && rb.Low < ra.High;
}

}  // namespace

TRect ClipToView(const TPixelView& view, const TRect& rect) {
  TRect r{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, view.Width),
          std::min(rect.Bottom, view.Height)};
  if (r.IsEmpty()) r = TRect{};
  return r;
}

void FillView(const TPixelView& view, const TRect& rect, uint32_t pixel) {
  const TRect r = ClipToView(view, rect);
  if (r.IsEmpty()) return;
  FillPixels(view, r, pixel);
}

bool StretchView(const TPixelView& dst, int64_t x, int64_t y, int64_t w, int64_t h,
                 const TPixelView& src, int64_t sx, int64_t sy, int64_t sw, int64_t sh) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return false;
  const TAxisMap columns = MapAxis(x, w, sx, sw, dst.Width, src.Width);
  const TAxisMap rows = MapAxis(y, h, sy, sh, dst.Height, src.Height);
  if (columns.SrcIndex.empty() || rows.SrcIndex.empty()) return true;
  TStretchJob job = StretchJobOf(dst, src, columns, rows);
  if (SharePixels(dst, src)) {
    // The rows the copy reads, whole, taken before anything is written.
    const auto [low, high] = std::minmax_element(rows.SrcIndex.begin(), rows.SrcIndex.end());
    const TPixelCopy snapshot(src, TRect{0, *low, src.Width, *high + 1});
    std::vector<int32_t> snapshotRows;
    for (int32_t row : rows.SrcIndex) snapshotRows.push_back(row - *low);
    job.Src = &snapshot.View();
    job.SrcYs = snapshotRows.data();
    StretchPixels(job);
  } else {
    StretchPixels(job);
  }
  return true;
}

}  // namespace gdi
