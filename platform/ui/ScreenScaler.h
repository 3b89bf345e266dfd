// Makes the picture the monitor shows from the screen framebuffer: opaque
// 0xFFRRGGBB pixels of the target's size, by the fit's filter. No window system
// here; the screen host paints the result.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/gdi/PixelView.h"
#include "platform/ui/ScreenFit.h"

class TScreenScaler {
 public:
  // Whether framebuffers of this depth can be shown (8, 16, 24 and 32 bits).
  static bool Shows(uint32_t bitCount);
  // Redraws the pixels of `shown` (the fit's target, from its top-left corner)
  // that depend on the framebuffer rectangle `dirty`. The framebuffer must have
  // the fit's screen size and `shown` (32 bits) the target's size; otherwise
  // nothing is drawn and false is returned.
  bool Scale(const gdi::TPixelView& framebuffer, const TScreenFit& fit, const TRect& dirty,
             const gdi::TPixelView& shown);

 private:
  // The screen pixels one monitor pixel of an axis is made of, with weights
  // that add up to 256 (one pixel of weight 256 for Replicate and Nearest).
  struct TTaps {
    int32_t First = 0;
    int32_t Count = 0;
    int32_t Weights = 0;  // index of the first weight
  };
  struct TAxis {
    std::vector<TTaps> Taps;
    std::vector<uint16_t> Weights;
  };
  static TAxis BuildAxis(int32_t screen, int32_t shown, TScaleFilter filter);
  void Prepare(const TScreenFit& fit);
  // Converts framebuffer row y, columns [from, to), into FLine.
  void ConvertRow(const gdi::TPixelView& framebuffer, int32_t y, int32_t from, int32_t to);
  std::pair<int32_t, int32_t> SourceColumns(int32_t left, int32_t right) const;
  void PickRow(int32_t left, int32_t right, uint32_t* out) const;
  void FilterRow(int32_t left, int32_t right, uint32_t* out) const;
  const uint32_t* SmoothRow(const gdi::TPixelView& framebuffer, int32_t sourceRow);
  void BlendRows(const TTaps& taps, const uint32_t* const* rows, int32_t count,
                 uint32_t* out) const;
  void ScaleBlocks(const gdi::TPixelView& framebuffer, const TRect& area,
                   const gdi::TPixelView& shown);
  void ScaleSmooth(const gdi::TPixelView& framebuffer, const TRect& area,
                   const gdi::TPixelView& shown);

  TScreenFit FFit{};
  bool FPrepared = false;
  TAxis FColumns;
  TAxis FRows;
  // Smooth enlarging across: each column's first pixel and its weight (the
  // next pixel takes the rest).
  struct TPair {
    int32_t Index = 0;
    uint32_t Weight = 0;
  };
  std::vector<TPair> FPairs;
  std::array<uint32_t, 256> FPalette{};
  std::vector<uint32_t> FLine;  // one converted framebuffer row, by screen column
  // Smooth: framebuffer rows filtered across, kept while later monitor rows need them.
  struct TFilteredRow {
    int32_t SourceRow = -1;
    std::vector<uint32_t> Pixels;
  };
  std::vector<TFilteredRow> FFiltered;
  std::vector<const uint32_t*> FRowPointers;
  int32_t FFilteredLeft = 0;
  int32_t FFilteredRight = 0;
};
