// Where the time of loading one picture went.
#pragma once

#include <chrono>

struct TLoadTimes {
  double ReadMs = 0;
  double DecodeMs = 0;
  double ConvertMs = 0;
  double WaitMs = 0;  // waiting for another thread's work on it
};

// Milliseconds from start until now, on the steady clock.
inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}
