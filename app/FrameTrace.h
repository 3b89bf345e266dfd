// The timing trace (LOUPIX_TRACE=1): one line on standard error per presented frame,
// saying what asked for it, which files it loaded, and where the milliseconds went.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "image/LoadTimes.h"

class TFrameTrace {
 public:
  // Lines go to out when enabled.
  explicit TFrameTrace(bool enabled, std::FILE* out = stderr) : FEnabled(enabled), FOut(out) {}
  // Enabled when LOUPIX_TRACE is 1.
  static bool EnabledByEnvironment();
  bool Enabled() const { return FEnabled; }
  // Traces from now on into out.
  void SetOutput(std::FILE* out) {
    FOut = out;
    FEnabled = out != nullptr;
  }

  // A handler starts: a key, a menu command, a tick.
  void Begin(const std::string& trigger);
  // A file was loaded into an item; ahead: from decode-ahead.
  void Loaded(const std::string& fileName, const TLoadTimes& times, bool ahead);
  // Surfaces were rebuilt from the loaded pictures.
  void Converted(double ms);
  // The frame went to the screen: writes the line and starts a new one.
  void Presented();

 private:
  using TClock = std::chrono::steady_clock;

  bool FEnabled;
  std::FILE* FOut;
  std::string FTrigger;
  std::string FFiles;
  TLoadTimes FTimes;
  TClock::time_point FStart;
  TClock::time_point FLoadsDone;
};
