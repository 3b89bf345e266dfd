#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
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
