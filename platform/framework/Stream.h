// Byte streams: the abstract stream with its checked reads and writes, memory
// streams over owned or borrowed memory, and file streams.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/Object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  LOUPIX_CLASS(TStream, TObject)

  // Read and Write move up to count bytes and return how many moved.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t newSize) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  // Bytes between the position and the end (never negative).
  int64_t Remaining();

  // Exactly count bytes, or EReadError "Stream read error" / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source; count 0 copies all of source from its start.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over memory it does not grow: reads, seeks, and writes inside the
// current size. Derived streams (owned memory, global memory blocks) set the memory.
class TCustomMemoryStream : public TStream {
 public:
  LOUPIX_CLASS(TCustomMemoryStream, TStream)
  TCustomMemoryStream() = default;
  TCustomMemoryStream(void* memory, int64_t size) { SetPointer(memory, size); }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return FSize; }
  // Only shrinking (or keeping) the size is possible over borrowed memory.
  void SetSize(int64_t newSize) override;
  void* Memory() const { return FMemory; }
  void SaveToStream(TStream& stream);

 protected:
  void SetPointer(void* memory, int64_t size);
  int64_t FPosition = 0;

 private:
  void* FMemory = nullptr;
  int64_t FSize = 0;
};

// A memory stream owning a growable block.
class TMemoryStream : public TCustomMemoryStream {
 public:
  LOUPIX_CLASS(TMemoryStream, TCustomMemoryStream)
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int64_t Write(const void* buffer, int64_t count) override;
  // Growing keeps the content; new bytes are not initialised. Failure raises
  // EOutOfMemory.
  void SetSize(int64_t newSize) override;
  void Clear();
  // Replaces the content with the rest of stream, position 0 afterwards.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

 private:
  void Reserve(int64_t capacity);
  int64_t FCapacity = 0;
};

// Open modes and sharing, combined with |.
constexpr uint32_t fmOpenRead = 0x0000;
constexpr uint32_t fmOpenWrite = 0x0001;
constexpr uint32_t fmOpenReadWrite = 0x0002;
constexpr uint32_t fmShareExclusive = 0x0010;
constexpr uint32_t fmShareDenyWrite = 0x0020;
constexpr uint32_t fmShareDenyNone = 0x0040;
constexpr uint32_t fmCreate = 0xFF00;

// A stream over an open operating-system handle that it does not own. Every
// operation ends: reads and writes return what moved, a seek that cannot move
// leaves the position, and a handle with no position at all (a pipe) raises
// EStreamError "Stream seek error".
class THandleStream : public TStream {
 public:
  LOUPIX_CLASS(THandleStream, TStream)
  explicit THandleStream(int handle) : FHandle(handle) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t newSize) override;
  int Handle() const { return FHandle; }

 private:
  int FHandle;
};

// A regular file on disk (links followed). Anything else, a folder, FIFO, device
// or socket, is refused without waiting: opening fails with EFOpenError "Cannot
// open file %s", creating with EFCreateError "Cannot create file %s". Deny-write
// and exclusive sharing take an advisory lock that other file streams of this
// system honour.
class TFileStream : public THandleStream {
 public:
  LOUPIX_CLASS(TFileStream, THandleStream)
  TFileStream(const std::string& fileName, uint32_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
};
