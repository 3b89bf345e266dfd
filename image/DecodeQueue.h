// Decode-ahead work for one worker: the viewer's thread posts jobs and takes their
// results; the worker runs one job at a time. Jobs and results are values. A
// generation number says which work still counts: Discard starts a new one, and a
// result of an older generation is dropped where it comes in.
//
// Tests run the jobs with RunOne, one at a time, and choose the order; the viewer
// starts the thread, which runs them as they come.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "image/PixelReclaimer.h"
#include "image/PreparedJpeg.h"

class TDecodeQueue {
 public:
  // Runs a job; memory handed back may be recycled for its result, whose rows may take
  // at most the given bytes.
  using TRunner =
      std::function<std::optional<TPreparedJpeg>(const TJpegJob&, TPixelReclaimer*, size_t)>;
  // Results waiting to be taken hold at most heldBytes of rows together: decode-ahead
  // keeps a prepared picture beside the one on screen, and a 50-megapixel photo and
  // its surface would take 250 MB more. 80 MiB is a 28-megapixel photo, or two of 14.
  static constexpr size_t kHeldBytes = size_t{80} << 20;
  // Memory handed back is kept this long for the job that usually follows it, when the
  // room leaves that job space to use it; otherwise it would only add to what the
  // pictures held and shown take.
  static constexpr std::chrono::milliseconds kKeepForNextJob{200};
  explicit TDecodeQueue(TRunner runner = &PrepareJpeg, size_t heldBytes = kHeldBytes,
                        std::chrono::milliseconds keepForNextJob = kKeepForNextJob);
  ~TDecodeQueue();
  TDecodeQueue(const TDecodeQueue&) = delete;
  TDecodeQueue& operator=(const TDecodeQueue&) = delete;

  // The viewer's side.
  void Post(TJpegJob job);
  // Starts a new generation with the wanted jobs, in this order: their results and the
  // queued or running ones are kept, every other job and result is dropped (a running
  // one when it ends), and the missing ones are queued, those that waited for room too.
  // A job that finds no room beside a result wanted after it takes that result's room,
  // and the other waits in its place.
  void Retarget(const std::vector<TJpegJob>& wanted);
  // Retarget to nothing.
  void Discard() { Retarget({}); }
  // The prepared result of the job, when the worker has one or is working on this very
  // job (then after waiting for it). None when the job failed or is unknown; a job that
  // is only queued is dropped, for the caller to load the file itself. Jobs that did
  // not fit beside the result wait for the next Retarget, when the picture it replaced
  // has been let go: at no moment are three pictures in memory.
  std::optional<TPreparedJpeg> Take(const TJpegJob& job);
  // Jobs of the current generation queued, running or with a result waiting.
  size_t Count() const;
  // Whether memory handed back waits to be reused or freed by the worker.
  bool KeepsMemoryHandedBack() const { return FReclaimer->Pending(); }

  // The worker's side: runs the first queued job, recycling memory of pictures let
  // go since, and frees what it did not reuse (unless the job has to wait for room
  // and may use it then); false when there was neither a job nor memory.
  bool RunOne();
  // Starts the worker thread (once); it stops when the queue is destroyed.
  void StartThread();

 private:
  struct TEntry {
    TJpegJob Job;
    uint64_t Generation = 0;
  };
  struct TDone {
    TJpegJob Job;
    std::optional<TPreparedJpeg> Result;
  };
  void WorkerLoop();
  bool RunningJob(const TJpegJob& job) const;
  // What the results waiting take; under the lock.
  size_t HeldBytes() const;
  // Whether a job could use the memory handed back beside the results waiting; under
  // the lock.
  bool RoomForMemoryHandedBack() const;
  // The waiting result of the job wanted last among those wanted after this one,
  // removed from the results; under the lock.
  std::optional<TDone> TakeResultWantedAfter(const TJpegJob& job);

  const TRunner FRunner;
  const size_t FHeldBytes;
  const std::chrono::milliseconds FKeepForNextJob;
  // The prepared pictures' memory comes back here to be freed by the worker.
  const std::shared_ptr<TPixelReclaimer> FReclaimer = std::make_shared<TPixelReclaimer>();
  mutable std::mutex FMutex;
  std::condition_variable FChanged;
  std::deque<TEntry> FQueued;
  // Jobs that came back without a result while others held part of the room; they run
  // again at the next Retarget.
  std::vector<TJpegJob> FWaitingForRoom;
  // What the last Retarget wanted, first things first.
  std::vector<TJpegJob> FWanted;
  std::optional<TEntry> FRunning;
  std::vector<TDone> FDone;
  uint64_t FGeneration = 0;
  bool FStopping = false;
  bool FMemoryWaiting = false;
  std::thread FThread;
};
