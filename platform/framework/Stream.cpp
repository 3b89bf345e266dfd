#include "platform/framework/Stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/framework/Exception.h"
#include "platform/framework/RegularFile.h"

// --- TStream ----------------------------------------------------------------------

int64_t TStream::Size() {
  const int64_t position = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

int64_t TStream::Remaining() { return std::max<int64_t>(0, Size() - Position()); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && (count < 0 || Read(buffer, count) != count))
    throw EReadError(FrameworkText::kReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && (count < 0 || Write(buffer, count) != count))
    throw EWriteError(FrameworkText::kWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  const auto buffer = std::make_unique<uint8_t[]>(kChunk);
  for (int64_t left = count; left > 0;) {
    const int64_t n = std::min(left, kChunk);
    source.ReadBuffer(buffer.get(), n);
    WriteBuffer(buffer.get(), n);
    left -= n;
  }
  return count;
}

// --- TCustomMemoryStream -------------------------------------------------------------

void TCustomMemoryStream::SetPointer(void* memory, int64_t size) {
  FMemory = memory;
  FSize = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::min(count, FSize - FPosition);
  if (n <= 0) return 0;
  std::memcpy(buffer, static_cast<uint8_t*>(FMemory) + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Write(const void* buffer, int64_t count) {
  const int64_t n = std::min(count, FSize - FPosition);
  if (n <= 0) return 0;
  std::memcpy(static_cast<uint8_t*>(FMemory) + FPosition, buffer, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
  int64_t target = 0;
  if (__builtin_add_overflow(base, offset, &target)) target = offset < 0 ? 0 : INT64_MAX;
  FPosition = std::max<int64_t>(0, target);
  return FPosition;
}

void TCustomMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0 || newSize > FSize) throw EStreamError(FrameworkText::kOutOfMemory);
  FSize = newSize;
  FPosition = std::min(FPosition, FSize);
}

void TCustomMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(FMemory, FSize); }

// --- TMemoryStream -------------------------------------------------------------------

TMemoryStream::~TMemoryStream() { std::free(Memory()); }

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= FCapacity) return;
  const int64_t grown = std::max(capacity, FCapacity + FCapacity / 2);
  void* memory = std::realloc(Memory(), static_cast<size_t>(grown));
  if (!memory) {
    memory = std::realloc(Memory(), static_cast<size_t>(capacity));
    if (!memory) throw EOutOfMemory(FrameworkText::kOutOfMemory);
  } else {
    capacity = grown;
  }
  SetPointer(memory, Size());
  FCapacity = capacity;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) throw EOutOfMemory(FrameworkText::kOutOfMemory);
  Reserve(newSize);
  SetPointer(Memory(), newSize);
  FPosition = std::min(FPosition, newSize);
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = FPosition + count;
  if (end > Size()) SetSize(end);
  return TCustomMemoryStream::Write(buffer, count);
}

void TMemoryStream::Clear() {
  std::free(Memory());
  SetPointer(nullptr, 0);
  FCapacity = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  const int64_t count = stream.Remaining();
  SetSize(count);
  FPosition = 0;
  stream.ReadBuffer(Memory(), count);
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// --- THandleStream -------------------------------------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(FHandle, static_cast<uint8_t*>(buffer) + done,
                             static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(FHandle, static_cast<const uint8_t*>(buffer) + done,
                              static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  const off_t position = ::lseek(FHandle, offset, whence);
  if (position >= 0) return position;
  // A target before the start leaves the position where it was; a handle without a
  // position (a pipe, a closed handle) has nothing to report.
  const off_t current = ::lseek(FHandle, 0, SEEK_CUR);
  if (current < 0) throw EStreamError(FrameworkText::kSeekError);
  return current;
}

int64_t THandleStream::Size() {
  struct stat info {};
  return fstat(FHandle, &info) == 0 ? info.st_size : 0;
}

void THandleStream::SetSize(int64_t newSize) {
  if (newSize < 0 || ::ftruncate(FHandle, newSize) != 0)
    throw EWriteError(FrameworkText::kWriteError);
  if (Position() > newSize) SetPosition(newSize);
}

// --- TFileStream ---------------------------------------------------------------------

namespace {

int OpenFlags(uint32_t mode) {
  if (mode == fmCreate) return O_RDWR | O_CREAT;
  switch (mode & 3) {
    case fmOpenWrite:
      return O_WRONLY;
    case fmOpenReadWrite:
      return O_RDWR;
    default:
      return O_RDONLY;
  }
}

// Readers that deny writing share the lock; writers and exclusive users hold it alone.
int LockKind(uint32_t mode) {
  if (mode == fmCreate) return LOCK_EX;
  const uint32_t share = mode & 0xF0;
  if (share == fmShareDenyNone) return 0;
  if (share == fmShareExclusive || (mode & 3) != fmOpenRead) return LOCK_EX;
  if (share == fmShareDenyWrite) return LOCK_SH;
  return 0;
}

int OpenFileHandle(const std::string& fileName, uint32_t mode) {
  const bool creating = mode == fmCreate;
  const int handle = OpenRegularFile(fileName, OpenFlags(mode));
  const int lock = LockKind(mode);
  const bool failed = handle < 0 || (lock != 0 && ::flock(handle, lock | LOCK_NB) != 0) ||
                      (creating && ::ftruncate(handle, 0) != 0);
  if (!failed) return handle;
  if (handle >= 0) ::close(handle);
  if (creating) throw EFCreateError(FrameworkText::kFCreateError, fileName);
  throw EFOpenError(FrameworkText::kFOpenError, fileName);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, uint32_t mode)
    : THandleStream(OpenFileHandle(fileName, mode)), FFileName(fileName) {}

TFileStream::~TFileStream() { ::close(Handle()); }
