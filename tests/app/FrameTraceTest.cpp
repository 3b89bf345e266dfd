// The timing trace: one line per presented frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/FrameTrace.h"

namespace {

std::string Written(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(FrameTrace, OneLinePerFrameWithTriggerFilesAndTimes) {
  std::FILE* out = std::tmpfile();
  TFrameTrace trace(true, out);
  trace.Begin("Page Down");
  trace.Loaded("/p/a.jpg", {1.5, 20, 3, 0.5}, true);
  trace.Loaded("/p/b.bmp", {2, 0, 0, 0}, false);
  trace.Converted(4);
  trace.Presented();
  trace.Presented();  // a frame with nothing loaded, such as a lens frame
  const std::string text = Written(out);
  std::fclose(out);
  const size_t firstEnd = text.find('\n');
  ASSERT_NE(firstEnd, std::string::npos);
  const std::string first = text.substr(0, firstEnd);
  EXPECT_EQ(
      first.rfind("loupix trace: Page Down | /p/a.jpg (decoded ahead), /p/b.bmp (decoded "
                  "now) | read 3.5 ms, decode 20.0 ms, convert 7.0 ms, waited 0.5 ms, present ",
                  0),
      0u)
      << first;
  EXPECT_NE(text.find("| no file | read 0.0 ms", firstEnd), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST(FrameTrace, SilentUnlessEnabled) {
  std::FILE* out = std::tmpfile();
  TFrameTrace trace(false, out);
  trace.Begin("Page Down");
  trace.Presented();
  EXPECT_EQ(Written(out), "");
  std::fclose(out);
}

}  // namespace
