#include "image/DecodeQueue.h"

#include <algorithm>
#include <utility>

namespace {

// The result's memory goes back through the reclaimer when the viewer lets it go.
void FreeThrough(std::optional<TPreparedJpeg>& result,
                 const std::shared_ptr<TPixelReclaimer>& reclaimer) {
  if (!result) return;
  result->Picture.Bits.FreeThrough(reclaimer);
  result->Surface.Bits.FreeThrough(reclaimer);
}

}  // namespace

TDecodeQueue::TDecodeQueue(TRunner runner) : FRunner(std::move(runner)) {
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
  if (!FThread.joinable()) FThread = std::thread([this] { WorkerLoop(); });
}

void TDecodeQueue::WorkerLoop() {
  for (;;) {
    {
      std::unique_lock lock(FMutex);
      FChanged.wait(lock, [this] { return FStopping || FMemoryWaiting || !FQueued.empty(); });
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

void TDecodeQueue::Discard() {
  std::deque<TEntry> queued;
  std::vector<TDone> done;
  {
    const std::lock_guard lock(FMutex);
    ++FGeneration;
    queued.swap(FQueued);
    done.swap(FDone);
  }
  // The pictures are freed here, outside the lock.
}

bool TDecodeQueue::RunOne() {
  TEntry entry;
  {
    const std::lock_guard lock(FMutex);
    FMemoryWaiting = false;
  }
  // Freed before the next picture is made, so the two are not held at once.
  const bool freed = FReclaimer->FreeAll();
  {
    const std::lock_guard lock(FMutex);
    if (FQueued.empty()) return freed;
    entry = std::move(FQueued.front());
    FQueued.pop_front();
    FRunning = entry;
  }
  std::optional<TPreparedJpeg> result = FRunner(entry.Job);
  FreeThrough(result, FReclaimer);
  {
    const std::lock_guard lock(FMutex);
    FRunning.reset();
    if (entry.Generation == FGeneration) {
      FDone.push_back({std::move(entry.Job), std::move(result)});
      result.reset();
    }
  }
  FChanged.notify_all();
  return true;
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
  const auto queued =
      std::find_if(FQueued.begin(), FQueued.end(), [&](const TEntry& e) { return e.Job == job; });
  if (queued != FQueued.end()) FQueued.erase(queued);
  return std::nullopt;
}

size_t TDecodeQueue::Count() const {
  const std::lock_guard lock(FMutex);
  return FQueued.size() + FDone.size() + (FRunning && FRunning->Generation == FGeneration ? 1 : 0);
}
