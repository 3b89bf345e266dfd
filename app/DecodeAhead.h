// Decode-ahead for the viewer. After every handler it learns where the viewer stands
// and has the worker prepare the pictures the next page change will show, dropping
// work that no longer fits. When a load comes to a prepared picture whose file is
// still the one that was read, the picture goes into the item instead of the file
// being read again; everything else loads as it always does. So nothing changes
// but the time: the same pixels, the same errors at the same moment, the same state.
#pragma once

#include <string>
#include <vector>

#include "app/PagingForecast.h"
#include "image/DecodeQueue.h"
#include "image/LoadTimes.h"
#include "platform/framework/StringList.h"

class TDirectDrawSurface;
class TPictureCollectionItem;

// Where the viewer stands, as far as decode-ahead needs to know.
struct TViewerSituation {
  const TStringList* Files = nullptr;
  TPagingState Paging;
  TSize Cell;                       // a grid cell's size
  gdi::TPixelFormat SurfaceFormat;  // of the display's surfaces; bit count 0 before they exist
};

// The job that prepares a JPEG file for an item: a grid cell's (cell not 0 x 0) or
// the single view's, with the options of a new JPEG picture.
TJpegJob JpegJobFor(const std::string& fileName, TSize cell,
                    const gdi::TPixelFormat& surfaceFormat);
// The pixel format of a surface (bit count 0 for none).
gdi::TPixelFormat SurfaceFormatOf(const TDirectDrawSurface* surface);

class TDecodeAhead {
 public:
  // Thread: the worker thread runs the jobs; Manual: tests run them with Queue().RunOne();
  // Off: nothing is prepared.
  enum class TMode { Thread, Manual, Off };
  explicit TDecodeAhead(TMode mode) : FMode(mode) {}
  // LOUPIX_DECODE_AHEAD=0 switches decode-ahead off; otherwise the worker thread runs.
  static TMode ModeFromEnvironment();
  TMode Mode() const { return FMode; }
  // Before anything has been posted (tests choose Manual).
  void SetMode(TMode mode) { FMode = mode; }
  TDecodeQueue& Queue() { return FQueue; }

  // After each handler: the pictures the next page changes show are prepared (work
  // already done for them kept), other work dropped.
  void Retarget(const TViewerSituation& situation);
  // As a grid page starts loading: the worker helps with its cells, from the last one
  // backwards, while the viewer loads them from the first.
  void ShareGridPage(const TViewerSituation& situation);
  // Puts the job's prepared picture into the item when there is one (waiting if the
  // worker is on it right now) and the file is still the one read. False, with the
  // item as it was, otherwise. The time the picture took is added to times.
  bool LoadPrepared(TPictureCollectionItem& item, const TJpegJob& job, TLoadTimes& times);

 private:
  void Post(std::vector<TJpegJob> jobs, bool lastFirst);

  TMode FMode;
  TDecodeQueue FQueue;
  std::vector<TJpegJob> FPosted;
};
