#include "image/DecodeQueue.h"

#include <algorithm>
#include <chrono>
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
  // Memory handed back is kept a moment for the job that usually follows it.
  constexpr auto kKeepForNextJob = std::chrono::milliseconds(200);
  for (;;) {
    {
      std::unique_lock lock(FMutex);
      FChanged.wait(lock, [this] { return FStopping || FMemoryWaiting || !FQueued.empty(); });
      FChanged.wait_for(lock, kKeepForNextJob, [this] { return FStopping || !FQueued.empty(); });
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
  // The pictures go back to the worker here, outside the lock.
}

bool TDecodeQueue::RunOne() {
  TEntry entry;
  bool job = false;
  {
    const std::lock_guard lock(FMutex);
    FMemoryWaiting = false;
    if (!FQueued.empty()) {
      entry = std::move(FQueued.front());
      FQueued.pop_front();
      FRunning = entry;
      job = true;
    }
  }
  if (!job) return FReclaimer->FreeAll();
  std::optional<TPreparedJpeg> result = FRunner(entry.Job, FReclaimer.get());
  FReclaimer->FreeAll();
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
