#include "image/JpegProgress.h"

#include <jerror.h>

#include <chrono>

int JpegProgressPercent(long passCounter, long passLimit, int completedPasses, int totalPasses) {
  if (totalPasses <= 0) return 0;
  const double pass =
      passLimit > 0 ? static_cast<double>(passCounter) / static_cast<double>(passLimit) : 0.0;
  return static_cast<int>((pass + completedPasses) * 100.0 / totalPasses);
}

TJpegProgressMonitor::TJpegProgressMonitor() {
  FLink.Manager.progress_monitor = &Callback;
  FLink.Owner = this;
  Now = [] {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  };
}

void TJpegProgressMonitor::Attach(jpeg_decompress_struct& info) { info.progress = &FLink.Manager; }

void TJpegProgressMonitor::Callback(j_common_ptr info) {
  TJpegProgressMonitor& monitor = *reinterpret_cast<TLink*>(info->progress)->Owner;
  auto& decompressor = *reinterpret_cast<j_decompress_ptr>(info);
  TJpegGuard::Of(info).CallFromLibrary([&] { monitor.Step(decompressor); });
}

void TJpegProgressMonitor::Step(jpeg_decompress_struct& info) {
  if (info.input_scan_number > kMaxScans) RaiseJpegError(JERR_BAD_SCAN_SCRIPT);
  if (!OnProgress) return;
  const int64_t now = Now();
  if (!FStarted) {
    FStarted = true;
    FLastTime = now;
    return;
  }
  if (now - FLastTime < kSpacingMs) return;
  FLastTime = now;
  const int percent =
      JpegProgressPercent(FLink.Manager.pass_counter, FLink.Manager.pass_limit,
                          FLink.Manager.completed_passes, FLink.Manager.total_passes);
  if (percent == FLastPercent) return;
  FLastPercent = percent;
  TRect band{};
  if (info.buffered_image) {
    const JDIMENSION row = info.output_scanline;
    if (row < FLastRow) FLastRow = 0;
    band = TRect{0, static_cast<int32_t>(FLastRow), static_cast<int32_t>(info.output_width),
                 static_cast<int32_t>(row)};
    FLastRow = row;
  }
  OnProgress(percent, band);
}
