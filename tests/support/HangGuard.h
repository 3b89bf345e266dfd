// Ends the test process with a message when the guarded scope has not finished
// after a generous limit, so that a regression which blocks or spins for good
// fails its test instead of stalling the whole run. Not a measure of speed: the
// limit is far above what the scope ever needs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

class THangGuard {
 public:
  explicit THangGuard(std::string what, std::chrono::seconds limit = std::chrono::seconds(60))
      : FWhat(std::move(what)), FWatcher([this, limit] { Watch(limit); }) {}
  ~THangGuard() {
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FFinished = true;
    }
    FDone.notify_one();
    FWatcher.join();
  }
  THangGuard(const THangGuard&) = delete;
  THangGuard& operator=(const THangGuard&) = delete;

 private:
  void Watch(std::chrono::seconds limit) {
    std::unique_lock<std::mutex> lock(FMutex);
    if (FDone.wait_for(lock, limit, [this] { return FFinished; })) return;
    std::fprintf(stderr, "HANG: %s did not finish within %lld s\n", FWhat.c_str(),
                 static_cast<long long>(limit.count()));
    std::fflush(stderr);
    std::_Exit(1);
  }

  std::string FWhat;
  std::mutex FMutex;
  std::condition_variable FDone;
  bool FFinished = false;
  std::thread FWatcher;  // last: starts once the members it uses exist
};
