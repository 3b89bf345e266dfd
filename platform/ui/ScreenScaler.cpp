#include "platform/ui/ScreenScaler.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/StretchMap.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000;

// Framebuffer pixels as the monitor shows them: 5-6-5 channels widened by
// repeating their top bits, as display hardware does, so white stays white.
uint32_t From565(uint16_t p) {
  const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
  return kOpaque | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

// One row of shown pixels.
uint32_t* ShownRow(const gdi::TPixelView& shown, int32_t y) {
  return reinterpret_cast<uint32_t*>(shown.Row(y));
}

std::array<uint32_t, 256> PaletteColours(const gdi::TPixelFormat& format) {
  std::array<uint32_t, 256> colours{};
  for (uint32_t i = 0; i < colours.size(); ++i) {
    const RGBQUAD entry = i < format.ColorCount ? format.ColorTable[i] : RGBQUAD{};
    colours[i] =
        kOpaque | uint32_t{entry.rgbRed} << 16 | uint32_t{entry.rgbGreen} << 8 | entry.rgbBlue;
  }
  return colours;
}

// Weighted sum of up to 256 in total over packed pixels: red and blue share one
// multiply, green takes another.
struct TPackedSum {
  uint32_t RedBlue = 0x00800080;  // rounding
  uint32_t Green = 0x00008000;
  void Add(uint32_t pixel, uint32_t weight) {
    RedBlue += (pixel & 0x00FF00FF) * weight;
    Green += (pixel & 0x0000FF00) * weight;
  }
  uint32_t Pixel() const {
    return kOpaque | ((RedBlue >> 8) & 0x00FF00FF) | ((Green >> 8) & 0xFF00);
  }
};

}  // namespace

bool TScreenScaler::Shows(uint32_t bitCount) {
  return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

TScreenScaler::TAxis TScreenScaler::BuildAxis(int32_t screen, int32_t shown, TScaleFilter filter) {
  TAxis axis;
  axis.Taps.resize(static_cast<size_t>(shown));
  if (filter != TScaleFilter::Smooth) {
    // The screen pixel under each monitor pixel's centre, by the one sampling
    // rule of every stretched copy.
    const gdi::TAxisMap map = gdi::MapAxis(0, shown, 0, screen, shown, screen);
    for (int32_t d = 0; d < shown; ++d)
      axis.Taps[static_cast<size_t>(d)] = {map.SrcIndex[static_cast<size_t>(d)], 1, 0};
    axis.Weights.push_back(256);
    return axis;
  }
  for (int32_t d = 0; d < shown; ++d) {
    TTaps& taps = axis.Taps[static_cast<size_t>(d)];
    taps.Weights = static_cast<int32_t>(axis.Weights.size());
    // Monitor pixel d covers [d, d + 1) * screen / shown; in units of 1 / shown
    // screen pixel that is [d * screen, (d + 1) * screen), and pixel i is [i, i + 1) * shown.
    const int64_t begin = int64_t{d} * screen, end = begin + screen;
    const auto first = static_cast<int32_t>(begin / shown);
    const auto last = static_cast<int32_t>(std::min<int64_t>((end - 1) / shown, screen - 1));
    int32_t total = 0, heaviest = 0;
    for (int32_t i = first; i <= last; ++i) {
      const int64_t covered =
          std::min(end, int64_t{i + 1} * shown) - std::max(begin, int64_t{i} * shown);
      const auto weight = static_cast<uint16_t>((covered * 256 + screen / 2) / screen);
      axis.Weights.push_back(weight);
      total += weight;
      if (weight > axis.Weights[static_cast<size_t>(taps.Weights) + static_cast<size_t>(heaviest)])
        heaviest = i - first;
    }
    taps.First = first;
    taps.Count = last - first + 1;
    axis.Weights[static_cast<size_t>(taps.Weights) + static_cast<size_t>(heaviest)] +=
        static_cast<uint16_t>(256 - total);
  }
  return axis;
}

void TScreenScaler::Prepare(const TScreenFit& fit) {
  if (FPrepared && fit == FFit) return;
  FFit = fit;
  FPrepared = true;
  FColumns = BuildAxis(fit.Screen.cx, fit.Target.Width(), fit.Filter);
  FRows = BuildAxis(fit.Screen.cy, fit.Target.Height(), fit.Filter);
  // One more pixel: a pair of taps may name the pixel after the last, at weight 0.
  FLine.assign(static_cast<size_t>(fit.Screen.cx) + 1, 0);
  FPairs.clear();
  const bool pairs = std::all_of(FColumns.Taps.begin(), FColumns.Taps.end(),
                                 [](const TTaps& taps) { return taps.Count <= 2; });
  if (fit.Filter == TScaleFilter::Smooth && pairs)
    for (const TTaps& taps : FColumns.Taps)
      FPairs.push_back({taps.First, FColumns.Weights[static_cast<size_t>(taps.Weights)]});
  int32_t most = 1;
  for (const TTaps& taps : FRows.Taps) most = std::max(most, taps.Count);
  FFiltered.assign(static_cast<size_t>(most) + 1, {});
}

bool TScreenScaler::Scale(const gdi::TPixelView& framebuffer, const TScreenFit& fit,
                          const TRect& dirty, const gdi::TPixelView& shown) {
  if (!framebuffer.Top || !Shows(framebuffer.Format.BitCount) ||
      framebuffer.Width != fit.Screen.cx || framebuffer.Height != fit.Screen.cy ||
      shown.Width != fit.Target.Width() || shown.Height != fit.Target.Height() || !shown.Top ||
      shown.Format.BitCount != 32 || fit.Target.IsEmpty())
    return false;
  Prepare(fit);
  if (framebuffer.Format.BitCount == 8) FPalette = PaletteColours(framebuffer.Format);
  TRect area = ScreenRectOnMonitor(fit, ClipToSize(dirty, fit.Screen));
  if (area.IsEmpty()) return true;
  area = {area.Left - fit.Target.Left, area.Top - fit.Target.Top, area.Right - fit.Target.Left,
          area.Bottom - fit.Target.Top};
  if (fit.Filter == TScaleFilter::Smooth)
    ScaleSmooth(framebuffer, area, shown);
  else
    ScaleBlocks(framebuffer, area, shown);
  return true;
}

void TScreenScaler::ConvertRow(const gdi::TPixelView& framebuffer, int32_t y, int32_t from,
                               int32_t to) {
  const uint8_t* row = framebuffer.Row(y);
  uint32_t* out = FLine.data();
  gdi::WithDepth(framebuffer.Format.BitCount, [&](auto depth) {
    constexpr uint32_t kBits = decltype(depth)::kBits;
    for (int32_t x = from; x < to; ++x) {
      const uint32_t pixel = gdi::LoadPixel<kBits>(row, x);
      if constexpr (kBits == 16)
        out[x] = From565(static_cast<uint16_t>(pixel));
      else if constexpr (kBits <= 8)
        out[x] = FPalette[pixel & 0xFF];
      else
        out[x] = kOpaque | pixel;
    }
  });
}

// The framebuffer columns monitor columns [left, right) read.
std::pair<int32_t, int32_t> TScreenScaler::SourceColumns(int32_t left, int32_t right) const {
  const TTaps& last = FColumns.Taps[static_cast<size_t>(right - 1)];
  return {FColumns.Taps[static_cast<size_t>(left)].First, last.First + last.Count};
}

void TScreenScaler::PickRow(int32_t left, int32_t right, uint32_t* out) const {
  const TTaps* taps = FColumns.Taps.data() + left;
  const uint32_t* line = FLine.data();
  for (int32_t i = 0, n = right - left; i < n; ++i) out[i] = line[taps[i].First];
}

void TScreenScaler::FilterRow(int32_t left, int32_t right, uint32_t* out) const {
  const uint32_t* line = FLine.data();
  if (!FPairs.empty()) {
    // Enlarging: every monitor pixel blends at most two neighbours.
    const TPair* pairs = FPairs.data() + left;
    for (int32_t i = 0, n = right - left; i < n; ++i) {
      const uint32_t p = line[pairs[i].Index], q = line[pairs[i].Index + 1];
      const uint32_t w = pairs[i].Weight, v = 256 - w;
      const uint32_t redBlue = (p & 0x00FF00FF) * w + (q & 0x00FF00FF) * v + 0x00800080;
      const uint32_t green = (p & 0x0000FF00) * w + (q & 0x0000FF00) * v + 0x00008000;
      out[i] = kOpaque | ((redBlue >> 8) & 0x00FF00FF) | ((green >> 8) & 0x0000FF00);
    }
    return;
  }
  for (int32_t i = 0, n = right - left; i < n; ++i) {
    const TTaps& taps = FColumns.Taps[static_cast<size_t>(left) + static_cast<size_t>(i)];
    const uint16_t* weights = FColumns.Weights.data() + taps.Weights;
    TPackedSum sum;
    for (int32_t k = 0; k < taps.Count; ++k) sum.Add(line[taps.First + k], weights[k]);
    out[i] = sum.Pixel();
  }
}

// Replicate and Nearest: each monitor row copies one framebuffer row's pixels;
// a row that shows the same framebuffer row as the one above is copied whole.
void TScreenScaler::ScaleBlocks(const gdi::TPixelView& framebuffer, const TRect& area,
                                const gdi::TPixelView& shown) {
  const auto [from, to] = SourceColumns(area.Left, area.Right);
  const size_t bytes = static_cast<size_t>(area.Width()) * sizeof(uint32_t);
  int32_t previous = -1;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const int32_t source = FRows.Taps[static_cast<size_t>(y)].First;
    uint32_t* out = ShownRow(shown, y) + area.Left;
    if (source == previous) {
      std::memcpy(out, ShownRow(shown, y - 1) + area.Left, bytes);
      continue;
    }
    ConvertRow(framebuffer, source, from, to);
    PickRow(area.Left, area.Right, out);
    previous = source;
  }
}

// A framebuffer row filtered across, for monitor columns FFilteredLeft to
// FFilteredRight; kept while the next monitor rows still need it.
const uint32_t* TScreenScaler::SmoothRow(const gdi::TPixelView& framebuffer, int32_t sourceRow) {
  TFilteredRow* slot = &FFiltered.front();
  for (TFilteredRow& row : FFiltered) {
    if (row.SourceRow == sourceRow) return row.Pixels.data();
    // Rows are asked for from the top down: the lowest row is needed no more.
    if (row.SourceRow < slot->SourceRow) slot = &row;
  }
  const auto [from, to] = SourceColumns(FFilteredLeft, FFilteredRight);
  ConvertRow(framebuffer, sourceRow, from, to);
  slot->SourceRow = sourceRow;
  slot->Pixels.resize(static_cast<size_t>(FFilteredRight - FFilteredLeft));
  FilterRow(FFilteredLeft, FFilteredRight, slot->Pixels.data());
  return slot->Pixels.data();
}

// Blends filtered rows down, channel by channel (the opaque alpha blends to itself).
void TScreenScaler::BlendRows(const TTaps& taps, const uint32_t* const* rows, int32_t count,
                              uint32_t* out) const {
  const uint16_t* weights = FRows.Weights.data() + taps.Weights;
  const size_t bytes = static_cast<size_t>(count) * sizeof(uint32_t);
  auto* target = reinterpret_cast<uint8_t*>(out);
  if (taps.Count == 1) {
    std::memcpy(out, rows[0], bytes);
  } else if (taps.Count == 2) {
    const auto* a = reinterpret_cast<const uint8_t*>(rows[0]);
    const auto* b = reinterpret_cast<const uint8_t*>(rows[1]);
    const uint16_t wa = weights[0], wb = weights[1];
    for (size_t i = 0; i < bytes; ++i)
      target[i] = static_cast<uint8_t>((a[i] * wa + b[i] * wb + 128) >> 8);
  } else {
    for (size_t i = 0; i < bytes; ++i) {
      uint32_t sum = 128;
      for (int32_t k = 0; k < taps.Count; ++k)
        sum += reinterpret_cast<const uint8_t*>(rows[k])[i] * uint32_t{weights[k]};
      target[i] = static_cast<uint8_t>(sum >> 8);
    }
  }
}

void TScreenScaler::ScaleSmooth(const gdi::TPixelView& framebuffer, const TRect& area,
                                const gdi::TPixelView& shown) {
  // The framebuffer changed: no filtered row of an earlier frame is valid.
  for (TFilteredRow& row : FFiltered) row.SourceRow = -1;
  FFilteredLeft = area.Left;
  FFilteredRight = area.Right;
  std::vector<const uint32_t*>& rows = FRowPointers;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const TTaps& taps = FRows.Taps[static_cast<size_t>(y)];
    rows.resize(static_cast<size_t>(taps.Count));
    for (int32_t k = 0; k < taps.Count; ++k)
      rows[static_cast<size_t>(k)] = SmoothRow(framebuffer, taps.First + k);
    BlendRows(taps, rows.data(), area.Width(), ShownRow(shown, y) + area.Left);
  }
}
