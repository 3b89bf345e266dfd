#include "image/PreparedJpeg.h"

#include <chrono>

namespace {

// No JPEG file of a picture a bitmap may hold comes near this; larger files are left
// to the viewer, which reads them itself.
constexpr size_t kMaxPreparedFileBytes = size_t{256} << 20;

using TClock = std::chrono::steady_clock;

std::optional<TPreparedJpeg> Prepare(const TJpegJob& job, TPixelReclaimer* recycle,
                                     size_t maxBytes) {
  TPreparedJpeg prepared;
  TClock::time_point start = TClock::now();
  std::optional<TFileContents> file = ReadFileWithIdentity(job.FileName, kMaxPreparedFileBytes);
  // A file changed too recently to tell a later change by its identity is read again
  // when it is shown.
  if (!file || file->Racy) return std::nullopt;
  prepared.Identity = file->Identity;
  prepared.Times.ReadMs = MillisecondsSince(start);
  start = TClock::now();
  if (!DecodeJpegPixels(file->Bytes.data(), file->Bytes.size(), job.Options, job.Cell,
                        prepared.Picture, maxBytes, recycle))
    return std::nullopt;
  prepared.Times.DecodeMs = MillisecondsSince(start);
  file.reset();  // the bytes are not needed any more
  start = TClock::now();
  if (job.SurfaceFormat.BitCount != 0)
    prepared.Surface = ConvertToSurfacePixels(prepared.Picture, job.SurfaceFormat, recycle);
  prepared.Times.ConvertMs = MillisecondsSince(start);
  return prepared;
}

}  // namespace

std::optional<TPreparedJpeg> PrepareJpeg(const TJpegJob& job, TPixelReclaimer* recycle,
                                         size_t maxBytes) {
  // Whatever goes wrong here is found again, and reported, when the viewer reads the file.
  try {
    return Prepare(job, recycle, maxBytes);
  } catch (...) {
    return std::nullopt;
  }
}
