#include "platform/framework/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsRegularFile(int handle) {
  struct stat info {};
  return fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

// A FIFO would block the open until a writer comes, and a device or socket has no
// end: only regular files are opened. The path is looked at first so that nothing
// else is opened at all (opening a device may act on it); the open handle is
// looked at again, since the path may have changed in between, and opening
// without waiting keeps that moment from blocking.
int OpenRegularFile(const std::string& fileName, int flags) {
  struct stat info {};
  if (::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return -1;
  const int handle = ::open(fileName.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
  if (handle < 0) return -1;
  if (!IsRegularFile(handle) ||
      ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(handle);
    return -1;
  }
  return handle;
}
