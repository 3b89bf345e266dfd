#include "app/DecodeAhead.h"

#include <algorithm>

#include "image/JpegImage.h"
#include "image/JpegRoute.h"
#include "pictures/PictureCollection.h"
#include "platform/framework/Environment.h"
#include "surface/DirectDrawSurface.h"

namespace {

using TClock = std::chrono::steady_clock;

std::vector<TJpegJob> JobsFor(const TViewerSituation& situation,
                              const std::vector<int32_t>& entries) {
  std::vector<TJpegJob> jobs;
  const TSize cell = situation.Paging.CellsPerPage > 0 ? situation.Cell : TSize{};
  for (int32_t entry : entries) {
    const std::string& file = situation.Files->Strings(entry);
    if (IsJpegFileName(file)) jobs.push_back(JpegJobFor(file, cell, situation.SurfaceFormat));
  }
  return jobs;
}

}  // namespace

TJpegJob JpegJobFor(const std::string& fileName, TSize cell,
                    const gdi::TPixelFormat& surfaceFormat) {
  return {fileName, cell, DefaultJpegOptions(), surfaceFormat};
}

gdi::TPixelFormat SurfaceFormatOf(const TDirectDrawSurface* surface) {
  gdi::TPixelFormat format;
  if (!surface || !surface->NativeSurface()) return format;
  const DDPIXELFORMAT& pixel = surface->Description().ddpfPixelFormat;
  format.BitCount = pixel.dwRGBBitCount;
  format.RedMask = pixel.dwRBitMask;
  format.GreenMask = pixel.dwGBitMask;
  format.BlueMask = pixel.dwBBitMask;
  return format;
}

TDecodeAhead::TMode TDecodeAhead::ModeFromEnvironment() {
  return EnvironmentValue("LOUPIX_DECODE_AHEAD") == "0" ? TMode::Off : TMode::Thread;
}

void TDecodeAhead::Retarget(const TViewerSituation& situation) {
  if (FMode == TMode::Off || !situation.Files) return;
  Post(JobsFor(situation, EntriesAhead(situation.Paging)), false);
}

void TDecodeAhead::ShareGridPage(const TViewerSituation& situation) {
  if (FMode == TMode::Off || !situation.Files) return;
  const TPagingState& paging = situation.Paging;
  Post(JobsFor(situation, GridPageEntries(paging.PageIndex, paging.CellsPerPage, paging.Count)),
       true);
}

void TDecodeAhead::Post(std::vector<TJpegJob> jobs, bool lastFirst) {
  if (jobs == FPosted) return;
  FPosted = jobs;
  if (lastFirst) std::reverse(jobs.begin(), jobs.end());
  FQueue.Retarget(jobs);
  if (FMode == TMode::Thread && !FPosted.empty()) FQueue.StartThread();
}

bool TDecodeAhead::LoadPrepared(TPictureCollectionItem& item, const TJpegJob& job,
                                TLoadTimes& times) {
  if (FMode == TMode::Off) return false;
  const TClock::time_point start = TClock::now();
  std::optional<TPreparedJpeg> prepared = FQueue.Take(job);
  // Taken or dropped, the job is no longer the queue's, and a job that waited for
  // room beside the one taken may run now: the next Retarget goes to the queue
  // whatever it asks for.
  FPosted.clear();
  times.WaitMs += MillisecondsSince(start);
  // A file changed since it was read is read again.
  if (!prepared || FileIdentityOf(job.FileName) != prepared->Identity) return false;
  const HBITMAP bitmap = LoadJpegPixelsIntoPicture(item.Picture(), std::move(prepared->Picture));
  if (!bitmap) return false;
  if (!prepared->Surface.Empty()) item.SetPreparedSurface(std::move(prepared->Surface), bitmap);
  times.ReadMs += prepared->Times.ReadMs;
  times.DecodeMs += prepared->Times.DecodeMs;
  times.ConvertMs += prepared->Times.ConvertMs;
  return true;
}
