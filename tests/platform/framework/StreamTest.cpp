#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
#include "tests/support/CaseName.h"
#include "tests/support/HangGuard.h"
#include "tests/support/NonRegularFiles.h"
#include "tests/support/TempTree.h"

namespace {

std::vector<uint8_t> Bytes(int count) {
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + 1);
  return bytes;
}

TEST(MemoryStream, WritesGrowAndReadsStopAtTheEnd) {
  TMemoryStream stream;
  const auto data = Bytes(100000);
  stream.WriteBuffer(data.data(), 70000);
  stream.WriteBuffer(data.data() + 70000, 30000);
  EXPECT_EQ(stream.Size(), 100000);
  stream.SetPosition(99990);
  uint8_t tail[32]{};
  EXPECT_EQ(stream.Read(tail, sizeof tail), 10);
  EXPECT_EQ(std::memcmp(tail, data.data() + 99990, 10), 0);
  EXPECT_EQ(stream.Read(tail, 1), 0);
  EXPECT_EQ(std::memcmp(stream.Memory(), data.data(), data.size()), 0);
}

struct SeekCase {
  int64_t offset;
  TSeekOrigin origin;
  int64_t expected;
};

class MemoryStreamSeek : public testing::TestWithParam<SeekCase> {};

TEST_P(MemoryStreamSeek, MovesFromEachOriginAndNeverBeforeZero) {
  TMemoryStream stream;
  const auto data = Bytes(50);
  stream.WriteBuffer(data.data(), 50);
  stream.SetPosition(20);
  EXPECT_EQ(stream.Seek(GetParam().offset, GetParam().origin), GetParam().expected);
  EXPECT_EQ(stream.Position(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryStreamSeek,
                         testing::Values(SeekCase{5, soBeginning, 5}, SeekCase{5, soCurrent, 25},
                                         SeekCase{-5, soEnd, 45}, SeekCase{-30, soCurrent, 0},
                                         SeekCase{10, soEnd, 60},
                                         SeekCase{INT64_MAX, soCurrent, INT64_MAX}));

TEST(MemoryStream, WritingPastTheEndAfterSeekFillsTheGap) {
  TMemoryStream stream;
  stream.Seek(10, soBeginning);
  const uint8_t byte = 9;
  stream.WriteBuffer(&byte, 1);
  EXPECT_EQ(stream.Size(), 11);
  EXPECT_EQ(static_cast<uint8_t*>(stream.Memory())[10], 9);
}

TEST(StreamChecks, ShortReadRaisesStreamReadError) {
  TMemoryStream stream;
  const auto data = Bytes(3);
  stream.WriteBuffer(data.data(), 3);
  stream.SetPosition(0);
  uint8_t buffer[4];
  try {
    stream.ReadBuffer(buffer, 4);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  EXPECT_THROW(stream.ReadBuffer(buffer, -1), EReadError);
  stream.ReadBuffer(buffer, 0);
}

TEST(StreamChecks, BorrowedMemoryNeverGrows) {
  uint8_t memory[8]{};
  TCustomMemoryStream stream(memory, sizeof memory);
  const auto data = Bytes(12);
  EXPECT_EQ(stream.Write(data.data(), 12), 8);
  EXPECT_EQ(memory[7], data[7]);
  stream.SetPosition(0);
  EXPECT_THROW(stream.WriteBuffer(data.data(), 9), EWriteError);
  EXPECT_THROW(stream.SetSize(9), EStreamError);
  stream.SetSize(4);
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_EQ(stream.Remaining(), 0);
}

TEST(StreamChecks, CopyFromZeroCopiesTheWholeSource) {
  TMemoryStream source, dest;
  const auto data = Bytes(200000);
  source.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  EXPECT_EQ(dest.CopyFrom(source, 0), 200000);
  ASSERT_EQ(dest.Size(), 200000);
  EXPECT_EQ(std::memcmp(dest.Memory(), data.data(), data.size()), 0);
  source.SetPosition(199999);
  EXPECT_THROW(dest.CopyFrom(source, 2), EReadError);
}

TEST(FileStream, MissingFileNamesThePath) {
  try {
    TFileStream stream("/nonexistent/dir/picture.bmp", fmOpenRead | fmShareDenyWrite);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file /nonexistent/dir/picture.bmp");
  }
  EXPECT_THROW(TFileStream("/nonexistent/dir/new.bmp", fmCreate), EFCreateError);
}

TEST(FileStream, DirectoryIsNotAFile) {
  TTempTree dir;
  std::filesystem::create_directory(dir.Path("pics.jpg"));
  EXPECT_THROW(TFileStream(dir.Path("pics.jpg"), fmOpenRead), EFOpenError);
}

// Things in a folder that are not regular files, each made at the given path.
struct NotAFileCase {
  const char* name;
  void (*make)(const std::string& path);
};
void PrintTo(const NotAFileCase& c, std::ostream* os) { *os << c.name; }

void MakeLinkToZero(const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); }
void MakeLinkToNull(const std::string& path) { std::filesystem::create_symlink("/dev/null", path); }
void MakeLinkToFifo(const std::string& path) {
  MakeFifo(path + ".fifo");
  std::filesystem::create_symlink(path + ".fifo", path);
}
void MakeFolder(const std::string& path) { std::filesystem::create_directory(path); }

class FileStreamNotAFile : public testing::TestWithParam<NotAFileCase> {};

TEST_P(FileStreamNotAFile, IsRefusedAtOnceForReadingAndCreating) {
  TTempTree dir;
  const std::string path = dir.Path("x.jpg");
  GetParam().make(path);
  const auto kind = std::filesystem::status(path).type();
  THangGuard guard("opening a path that is not a regular file");
  try {
    TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
    FAIL() << "opened";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + path);
  }
  EXPECT_THROW(TFileStream(path, fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(path, fmOpenReadWrite), EFOpenError);
  EXPECT_THROW(TFileStream(path, fmCreate), EFCreateError);
  TMemoryStream memory;
  EXPECT_THROW(memory.LoadFromFile(path), EFOpenError);
  EXPECT_EQ(std::filesystem::status(path).type(), kind);  // left as it was
}

INSTANTIATE_TEST_SUITE_P(Kinds, FileStreamNotAFile,
                         testing::Values(NotAFileCase{"Fifo", &MakeFifo},
                                         NotAFileCase{"Socket", &MakeSocket},
                                         NotAFileCase{"LinkToDevZero", &MakeLinkToZero},
                                         NotAFileCase{"LinkToDevNull", &MakeLinkToNull},
                                         NotAFileCase{"LinkToFifo", &MakeLinkToFifo},
                                         NotAFileCase{"Folder", &MakeFolder}),
                         CaseName());

TEST(FileStream, LinkToAFileOpensTheFile) {
  TTempTree dir;
  const auto data = Bytes(10);
  {
    TFileStream out(dir.Path("a.bin"), fmCreate);
    out.WriteBuffer(data.data(), 10);
  }
  std::filesystem::create_symlink(dir.Path("a.bin"), dir.Path("link.bin"));
  TFileStream in(dir.Path("link.bin"), fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(in.Size(), 10);
}

TEST(FileStream, SeekBeforeTheStartKeepsThePosition) {
  TTempTree dir;
  const auto data = Bytes(10);
  TFileStream stream(dir.Path("a.bin"), fmCreate);
  stream.WriteBuffer(data.data(), 10);
  stream.SetPosition(4);
  EXPECT_EQ(stream.Seek(-10, soBeginning), 4);
  EXPECT_EQ(stream.Seek(-5, soCurrent), 4);
  EXPECT_EQ(stream.Position(), 4);
}

// The two ends of a pipe, closed at the end of the test.
class Pipe {
 public:
  Pipe() { EXPECT_EQ(pipe(FEnds), 0); }
  ~Pipe() {
    for (int end : FEnds)
      if (end >= 0) close(end);
  }
  int ReadEnd() const { return FEnds[0]; }
  void Write(const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(write(FEnds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(FEnds[1]);
    FEnds[1] = -1;
  }

 private:
  int FEnds[2] = {-1, -1};
};

TEST(HandleStream, PipeHasNoPositionAndSaysSo) {
  Pipe channel;
  const auto data = Bytes(100);
  channel.Write(data);
  THandleStream stream(channel.ReadEnd());
  THangGuard guard("stream operations on a pipe");
  EXPECT_THROW(stream.Seek(0, soCurrent), EStreamError);
  EXPECT_THROW(stream.Seek(10, soBeginning), EStreamError);
  EXPECT_THROW(stream.Position(), EStreamError);
  EXPECT_THROW(stream.Remaining(), EStreamError);
  TMemoryStream memory;
  try {
    memory.LoadFromStream(stream);
    FAIL() << "loaded";
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(), "Stream seek error");
  }
  EXPECT_THROW(stream.SetSize(0), EWriteError);
  // Reading still works and ends at the end of the data.
  std::vector<uint8_t> back(200);
  EXPECT_EQ(stream.Read(back.data(), 200), 100);
  EXPECT_EQ(std::memcmp(back.data(), data.data(), 100), 0);
  EXPECT_EQ(stream.Read(back.data(), 1), 0);
}

TEST(HandleStream, ClosedHandleFailsEveryOperation) {
  THandleStream stream(-1);
  uint8_t byte = 0;
  EXPECT_EQ(stream.Read(&byte, 1), 0);
  EXPECT_EQ(stream.Write(&byte, 1), 0);
  EXPECT_THROW(stream.Position(), EStreamError);
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_THROW(stream.ReadBuffer(&byte, 1), EReadError);
  EXPECT_THROW(stream.WriteBuffer(&byte, 1), EWriteError);
}

TEST(FileStream, CreateWriteReopenRead) {
  TTempTree dir;
  const auto data = Bytes(5000);
  {
    TFileStream out(dir.Path("a.bin"), fmCreate);
    out.WriteBuffer(data.data(), 5000);
    EXPECT_EQ(out.Size(), 5000);
  }
  TFileStream in(dir.Path("a.bin"), fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(in.Size(), 5000);
  in.SetPosition(4000);
  std::vector<uint8_t> back(1000);
  in.ReadBuffer(back.data(), 1000);
  EXPECT_EQ(std::memcmp(back.data(), data.data() + 4000, 1000), 0);
  EXPECT_THROW(in.ReadBuffer(back.data(), 1), EReadError);
}

TEST(FileStream, DenyWriteKeepsWritersOutUntilClosed) {
  TTempTree dir;
  { TFileStream(dir.Path("a.bin"), fmCreate); }
  {
    TFileStream reader(dir.Path("a.bin"), fmOpenRead | fmShareDenyWrite);
    TFileStream secondReader(dir.Path("a.bin"), fmOpenRead | fmShareDenyWrite);
    EXPECT_THROW(TFileStream(dir.Path("a.bin"), fmOpenWrite), EFOpenError);
    EXPECT_THROW(TFileStream(dir.Path("a.bin"), fmCreate), EFCreateError);
  }
  TFileStream writer(dir.Path("a.bin"), fmOpenReadWrite);
  EXPECT_THROW(TFileStream(dir.Path("a.bin"), fmOpenRead | fmShareDenyWrite), EFOpenError);
}

TEST(FileStream, MemoryStreamFileRoundTrip) {
  TTempTree dir;
  TMemoryStream out;
  const auto data = Bytes(777);
  out.WriteBuffer(data.data(), 777);
  out.SaveToFile(dir.Path("m.bin"));
  TMemoryStream in;
  in.LoadFromFile(dir.Path("m.bin"));
  EXPECT_EQ(in.Position(), 0);
  ASSERT_EQ(in.Size(), 777);
  EXPECT_EQ(std::memcmp(in.Memory(), data.data(), 777), 0);
}

}  // namespace
