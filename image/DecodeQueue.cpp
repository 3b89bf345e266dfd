#include "image/DecodeQueue.h"

#include <algorithm>
#include <utility>

#include "platform/framework/ThreadPriority.h"

namespace {

// The result's memory goes back through the reclaimer when the viewer lets it go.
void FreeThrough(std::optional<TPreparedJpeg>& result,
                 const std::shared_ptr<TPixelReclaimer>& reclaimer) {
  if (!result) return;
  result->Picture.Bits.FreeThrough(reclaimer);
  result->Surface.Bits.FreeThrough(reclaimer);
}

}  // namespace

TDecodeQueue::TDecodeQueue(TRunner runner, size_t heldBytes,
                           std::chrono::milliseconds keepForNextJob)
    : FRunner(std::move(runner)), FHeldBytes(heldBytes), FKeepForNextJob(keepForNextJob) {
  FReclaimer->SetWake([this] {
    {
      const std::lock_guard lock(FMutex);
      FMemoryWaiting = true;
    }
    FChanged.notify_all();
  });
}

TDecodeQueue::~TDecodeQueue() {
  {
    const std::lock_guard lock(FMutex);
    FStopping = true;
  }
  FChanged.notify_all();
  if (FThread.joinable()) FThread.join();
  FReclaimer->Close();
}

void TDecodeQueue::StartThread() {
  if (!FThread.joinable())
    FThread = std::thread([this] {
      GiveWayToInteractiveWork();
      WorkerLoop();
    });
}

void TDecodeQueue::WorkerLoop() {
  for (;;) {
    {
      std::unique_lock lock(FMutex);
      FChanged.wait(lock, [this] { return FStopping || FMemoryWaiting || !FQueued.empty(); });
      if (RoomForMemoryHandedBack())
        FChanged.wait_for(lock, FKeepForNextJob, [this] { return FStopping || !FQueued.empty(); });
      if (FStopping) return;
    }
    RunOne();
  }
}

void TDecodeQueue::Post(TJpegJob job) {
  {
    const std::lock_guard lock(FMutex);
    FQueued.push_back({std::move(job), FGeneration});
  }
  FChanged.notify_all();
}

void TDecodeQueue::Retarget(const std::vector<TJpegJob>& wanted) {
  const auto isWanted = [&](const TJpegJob& job) {
    return std::find(wanted.begin(), wanted.end(), job) != wanted.end();
  };
  std::deque<TEntry> queued;
  std::vector<TDone> done;
  {
    const std::lock_guard lock(FMutex);
    const uint64_t previous = FGeneration++;
    queued.swap(FQueued);
    // Jobs that waited for room try again: the viewer has let go of the picture the one
    // it took replaced, so their memory can be that picture's.
    FWaitingForRoom.clear();
    FWanted = wanted;
    const auto dropped = std::stable_partition(FDone.begin(), FDone.end(),
                                               [&](const TDone& d) { return isWanted(d.Job); });
    done.assign(std::make_move_iterator(dropped), std::make_move_iterator(FDone.end()));
    FDone.erase(dropped, FDone.end());
    const bool running = FRunning && FRunning->Generation == previous;
    if (running && isWanted(FRunning->Job)) FRunning->Generation = FGeneration;
    for (const TJpegJob& job : wanted) {
      const bool held =
          std::any_of(FDone.begin(), FDone.end(), [&](const TDone& d) { return d.Job == job; }) ||
          RunningJob(job);
      if (!held) FQueued.push_back({job, FGeneration});
    }
  }
  FChanged.notify_all();
  // The pictures dropped go back to the worker here, outside the lock.
}

bool TDecodeQueue::RoomForMemoryHandedBack() const {
  return HeldBytes() + FReclaimer->LargestBlock() <= FHeldBytes;
}

size_t TDecodeQueue::HeldBytes() const {
  size_t bytes = 0;
  for (const TDone& done : FDone)
    if (done.Result) bytes += done.Result->Picture.Bits.Size();
  return bytes;
}

bool TDecodeQueue::RunOne() {
  TJpegJob job;
  size_t allowed = 0;
  {
    const std::lock_guard lock(FMutex);
    FMemoryWaiting = false;
    if (FQueued.empty()) {
      allowed = SIZE_MAX;
    } else {
      FRunning = std::move(FQueued.front());
      FQueued.pop_front();
      job = FRunning->Job;
      const size_t held = HeldBytes();
      allowed = held < FHeldBytes ? FHeldBytes - held : 0;
    }
  }
  if (allowed == SIZE_MAX) return FReclaimer->FreeAll();
  std::optional<TPreparedJpeg> result = FRunner(job, FReclaimer.get(), allowed);
  FreeThrough(result, FReclaimer);
  std::optional<TPreparedJpeg> givenUpResult;
  bool keepMemory = false;
  {
    const std::lock_guard lock(FMutex);
    // A job retargeted away while it ran is of an older generation by now.
    const bool current = FRunning->Generation == FGeneration;
    if (current && !result && allowed < FHeldBytes) {
      // Memory the viewer let go meanwhile is this job's when it runs again.
      keepMemory = RoomForMemoryHandedBack();
      // A picture wanted later gives up its room and waits in its place.
      if (std::optional<TDone> givenUp = TakeResultWantedAfter(job)) {
        FWaitingForRoom.push_back(std::move(givenUp->Job));
        givenUpResult = std::move(givenUp->Result);
        FQueued.push_front({std::move(job), FGeneration});
      } else {
        FWaitingForRoom.push_back(std::move(job));
      }
    } else if (current) {
      FDone.push_back({std::move(job), std::move(result)});
    }
    FRunning.reset();
  }
  FChanged.notify_all();
  if (!keepMemory) FReclaimer->FreeAll();
  givenUpResult.reset();  // its memory goes back to the worker outside the lock, for the job
  return true;
}

std::optional<TDecodeQueue::TDone> TDecodeQueue::TakeResultWantedAfter(const TJpegJob& job) {
  const auto rank = [this](const TJpegJob& wanted) {
    return std::find(FWanted.begin(), FWanted.end(), wanted) - FWanted.begin();
  };
  auto lastPlace = rank(job);
  auto last = FDone.end();
  for (auto done = FDone.begin(); done != FDone.end(); ++done) {
    const auto place = rank(done->Job);
    if (done->Result && place > lastPlace && place < std::ssize(FWanted)) {
      last = done;
      lastPlace = place;
    }
  }
  if (last == FDone.end()) return std::nullopt;
  TDone taken = std::move(*last);
  FDone.erase(last);
  return taken;
}

bool TDecodeQueue::RunningJob(const TJpegJob& job) const {
  return FRunning && FRunning->Generation == FGeneration && FRunning->Job == job;
}

std::optional<TPreparedJpeg> TDecodeQueue::Take(const TJpegJob& job) {
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [&] { return !RunningJob(job); });
  const auto done =
      std::find_if(FDone.begin(), FDone.end(), [&](const TDone& d) { return d.Job == job; });
  if (done != FDone.end()) {
    std::optional<TPreparedJpeg> result;
    result.swap(done->Result);
    FDone.erase(done);
    return result;
  }
  std::erase_if(FQueued, [&](const TEntry& e) { return e.Job == job; });
  std::erase(FWaitingForRoom, job);
  return std::nullopt;
}

size_t TDecodeQueue::Count() const {
  const std::lock_guard lock(FMutex);
  return FQueued.size() + FWaitingForRoom.size() + FDone.size() +
         (FRunning && FRunning->Generation == FGeneration ? 1 : 0);
}
