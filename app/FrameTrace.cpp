#include "app/FrameTrace.h"

#include "platform/framework/Environment.h"

bool TFrameTrace::EnabledByEnvironment() { return EnvironmentValue("LOUPIX_TRACE") == "1"; }

void TFrameTrace::Begin(const std::string& trigger) {
  if (!FEnabled) return;
  FTrigger = trigger;
  FFiles.clear();
  FTimes = TLoadTimes{};
  FStart = FLoadsDone = TClock::now();
}

void TFrameTrace::Loaded(const std::string& fileName, const TLoadTimes& times, bool ahead) {
  if (!FEnabled) return;
  if (!FFiles.empty()) FFiles += ", ";
  FFiles += fileName + (ahead ? " (decoded ahead)" : " (decoded now)");
  FTimes.ReadMs += times.ReadMs;
  FTimes.DecodeMs += times.DecodeMs;
  FTimes.ConvertMs += times.ConvertMs;
  FTimes.WaitMs += times.WaitMs;
  FLoadsDone = TClock::now();
}

void TFrameTrace::Converted(double ms) {
  if (!FEnabled) return;
  FTimes.ConvertMs += ms;
  FLoadsDone = TClock::now();
}

void TFrameTrace::Presented() {
  if (!FEnabled) return;
  std::fprintf(FOut,
               "loupix trace: %s | %s | read %.1f ms, decode %.1f ms, convert %.1f ms, "
               "waited %.1f ms, present %.1f ms, total %.1f ms\n",
               FTrigger.c_str(), FFiles.empty() ? "no file" : FFiles.c_str(), FTimes.ReadMs,
               FTimes.DecodeMs, FTimes.ConvertMs, FTimes.WaitMs, MillisecondsSince(FLoadsDone),
               MillisecondsSince(FStart));
  std::fflush(FOut);
  FFiles.clear();
  FTimes = TLoadTimes{};
  FStart = FLoadsDone = TClock::now();
}
