// What makes a file on disk the same file later: where it lives (device and inode),
// its size and its modification time. Reading a file together with its identity
// lets a later reader tell whether the bytes it holds are still what the path names.
// Safe to use from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TFileIdentity {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  int64_t Size = 0;
  int64_t ModifiedNs = 0;  // nanoseconds since the epoch
  bool operator==(const TFileIdentity&) const = default;
};

// The identity of the regular file the path names now (links followed); none when
// there is no such file.
std::optional<TFileIdentity> FileIdentityOf(const std::string& path);

struct TFileContents {
  std::vector<uint8_t> Bytes;
  TFileIdentity Identity;
  // Whether a later change might keep the identity: the file was modified too
  // shortly before it was read for the file system's clock to tell the two apart.
  bool Racy = false;
};

// Reads a whole regular file of at most maxBytes. None when the path names no
// regular file, the file is larger, cannot be read, or changed while it was read.
// Never waits on pipes or devices.
std::optional<TFileContents> ReadFileWithIdentity(const std::string& path, size_t maxBytes);
