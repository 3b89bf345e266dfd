// Decode-ahead reads a file written a moment ago again when it is shown: its
// modification time cannot yet tell a later change. Tests that want such files
// prepared make them an hour old first.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

inline void AgeFile(const std::string& path) {
  std::filesystem::last_write_time(
      path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
}
