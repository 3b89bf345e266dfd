// The busy shape of the pointer while the user waits on a load. Begin starts the
// wait; when End has not come within the delay, the pointer over the window turns
// busy until End. A watcher thread of its own shows it, so it appears even while the
// user-interface thread is busy decoding.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ui/Messages.h"

class TBusyPointer {
 public:
  explicit TBusyPointer(std::chrono::milliseconds delay = std::chrono::milliseconds(150));
  ~TBusyPointer();
  TBusyPointer(const TBusyPointer&) = delete;
  TBusyPointer& operator=(const TBusyPointer&) = delete;

  // On the user-interface thread: the wait starts now (again, if it was going).
  void Begin(HWND window);
  // On the user-interface thread: the wait is over; a busy pointer goes.
  void End();
  // Whether the busy shape is showing (tests on a screen without a pointer read this).
  bool Shown() const;

  class TShape;  // the window system's side

 private:
  void WatchLoop();

  const std::chrono::milliseconds FDelay;
  std::unique_ptr<TShape> FShape;
  mutable std::mutex FMutex;
  std::condition_variable FChanged;
  bool FWaiting = false;
  bool FShown = false;
  bool FStopping = false;
  std::chrono::steady_clock::time_point FDeadline;
  std::thread FWatcher;
};

// Begins the wait for its lifetime: a load in a handler, until the frame is presented
// or an error leaves the handler (before the error report opens).
class TBusyWait {
 public:
  TBusyWait(TBusyPointer& pointer, HWND window) : FPointer(pointer) { FPointer.Begin(window); }
  ~TBusyWait() { FPointer.End(); }
  TBusyWait(const TBusyWait&) = delete;
  TBusyWait& operator=(const TBusyWait&) = delete;

 private:
  TBusyPointer& FPointer;
};
