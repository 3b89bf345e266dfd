#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/StretchMap.h"

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

// Copies the source rows the job reads, so writes cannot disturb them.
struct TSourceSnapshot {
  std::vector<uint8_t> Bytes;
  std::vector<int32_t> Rows;
  TPixelView View;

  TSourceSnapshot(const TPixelView& src, const std::vector<int32_t>& rows) : View(src) {
    const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
    const int64_t rowBytes = PackedRowBytes(src);
    const int32_t count = *high - *low + 1;
    Bytes.resize(static_cast<size_t>(rowBytes * count));
    for (int32_t r = 0; r < count; ++r) {
      std::memcpy(Bytes.data() + r * rowBytes, src.Row(*low + r), static_cast<size_t>(rowBytes));
    }
    View.Top = Bytes.data();
    View.Pitch = static_cast<ptrdiff_t>(rowBytes);
    View.Height = count;
    for (int32_t row : rows) Rows.push_back(row - *low);
  }
};

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
  for (int32_t y = r.Top; y < r.Bottom; ++y) FillRowPixels(view, y, r.Left, r.Width(), pixel);
}

bool StretchView(const TPixelView& dst, int64_t x, int64_t y, int64_t w, int64_t h,
                 const TPixelView& src, int64_t sx, int64_t sy, int64_t sw, int64_t sh) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return false;
  const TAxisMap columns = MapAxis(x, w, sx, sw, dst.Width, src.Width);
  const TAxisMap rows = MapAxis(y, h, sy, sh, dst.Height, src.Height);
  if (columns.SrcIndex.empty() || rows.SrcIndex.empty()) return true;
  TStretchJob job;
  job.Dst = &dst;
  job.Src = &src;
  job.DstX = columns.DstStart;
  job.DstY = rows.DstStart;
  job.Width = static_cast<int32_t>(columns.SrcIndex.size());
  job.Height = static_cast<int32_t>(rows.SrcIndex.size());
  job.SrcXs = columns.SrcIndex.data();
  job.SrcYs = rows.SrcIndex.data();
  if (SharePixels(dst, src)) {
    const TSourceSnapshot snapshot(src, rows.SrcIndex);
    job.Src = &snapshot.View;
    job.SrcYs = snapshot.Rows.data();
    StretchPixels(job);
  } else {
    StretchPixels(job);
  }
  return true;
}

}  // namespace gdi
