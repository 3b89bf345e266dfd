// libjpeg's progress monitor for a picture being decoded: at most one report every
// 500 ms, and only when the percentage changed. It also stops files with more
// scans than any real encoder writes: each scan costs a walk over the whole
// picture, so a few kilobytes of repeated scans could otherwise keep us busy for hours.
#pragma once

#include <cstdint>
#include <functional>

#include "image/JpegGuard.h"
#include "platform/gdi/WinTypes.h"

// (passCounter / passLimit + completedPasses) * 100 / totalPasses, truncated.
int JpegProgressPercent(long passCounter, long passLimit, int completedPasses, int totalPasses);

class TJpegProgressMonitor {
 public:
  static constexpr int64_t kSpacingMs = 500;
  static constexpr int kMaxScans = 500;

  TJpegProgressMonitor();
  TJpegProgressMonitor(const TJpegProgressMonitor&) = delete;
  TJpegProgressMonitor& operator=(const TJpegProgressMonitor&) = delete;

  // Installs the monitor on a decompressor created under a TJpegGuard.
  void Attach(jpeg_decompress_struct& info);

  // Running report: percentage, and in buffered mode the band of rows decoded since
  // the last report (empty otherwise). May throw (EAbort stops decoding).
  std::function<void(int percent, const TRect& band)> OnProgress;
  // Milliseconds of a steady clock; replaceable for tests.
  std::function<int64_t()> Now;

 private:
  static void Callback(j_common_ptr info);
  void Step(jpeg_decompress_struct& info);

  struct TLink {
    jpeg_progress_mgr Manager;  // first, so libjpeg's pointer is ours
    TJpegProgressMonitor* Owner;
  };
  TLink FLink{};
  bool FStarted = false;
  int64_t FLastTime = 0;
  int FLastPercent = -1;
  JDIMENSION FLastRow = 0;
};
