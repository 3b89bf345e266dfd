#include "platform/framework/FileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/framework/RegularFile.h"

namespace {

// File systems stamp modification times from a coarse clock (some in steps of two
// seconds); a change within this much of the last one may leave the time as it was.
constexpr int64_t kTimestampSlackNs = int64_t{2'000'000'000};

TFileIdentity IdentityOf(const struct stat& status) {
  return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
          static_cast<int64_t>(status.st_size),
          int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : FFd(fd) {}
  ~TDescriptor() {
    if (FFd >= 0) close(FFd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return FFd; }

 private:
  int FFd;
};

bool ReadAll(int fd, uint8_t* buffer, size_t count) {
  while (count > 0) {
    const ssize_t n = read(fd, buffer, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffer += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<TFileIdentity> FileIdentityOf(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return IdentityOf(status);
}

std::optional<TFileContents> ReadFileWithIdentity(const std::string& path, size_t maxBytes) {
  const TDescriptor file(OpenRegularFile(path, O_RDONLY));
  struct stat before {};
  if (file.Get() < 0 || fstat(file.Get(), &before) != 0 || before.st_size < 0 ||
      static_cast<uint64_t>(before.st_size) > maxBytes)
    return std::nullopt;
  const int64_t readAt = NowNs();
  TFileContents contents;
  contents.Bytes.resize(static_cast<size_t>(before.st_size));
  struct stat after {};
  if (!ReadAll(file.Get(), contents.Bytes.data(), contents.Bytes.size()) ||
      fstat(file.Get(), &after) != 0)
    return std::nullopt;
  contents.Identity = IdentityOf(before);
  if (!(IdentityOf(after) == contents.Identity)) return std::nullopt;
  contents.Racy = contents.Identity.ModifiedNs > readAt - kTimestampSlackNs;
  return contents;
}
