#include <gtest/gtest.h>

#include <cstring>

#include "platform/framework/Exception.h"
#include "platform/framework/Filer.h"

namespace {

// Keeps two byte blocks, "ColorTable" always and "Data" only when it has some.
class TStored : public TPersistent {
 public:
  LOUPIX_CLASS(TStored, TPersistent)
  std::vector<uint8_t> Table = std::vector<uint8_t>(1024);
  std::vector<uint8_t> Data;
  int OverRead = 0;

 protected:
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "ColorTable", [this](TStream& s) { s.ReadBuffer(Table.data(), 1024 + OverRead); },
        [this](TStream& s) { s.WriteBuffer(Table.data(), 1024); }, true);
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
          Data.resize(static_cast<size_t>(s.Size()));
          s.ReadBuffer(Data.data(), s.Size());
        },
        [this](TStream& s) { s.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size())); },
        !Data.empty());
  }
};

void Store(TStored& source, TMemoryStream& stream) {
  TWriter(stream).WriteProperties(source);
  stream.SetPosition(0);
}

TEST(Filer, PropertiesRoundTrip) {
  TStored source;
  for (size_t i = 0; i < 1024; ++i) source.Table[i] = static_cast<uint8_t>(i);
  source.Data = {1, 2, 3};
  TMemoryStream stream;
  Store(source, stream);
  TStored copy;
  TReader(stream).ReadProperties(copy);
  EXPECT_EQ(copy.Table, source.Table);
  EXPECT_EQ(copy.Data, source.Data);
  EXPECT_EQ(stream.Remaining(), 0);
}

TEST(Filer, PropertiesWithoutDataAreNotWritten) {
  TStored source;
  TMemoryStream stream;
  Store(source, stream);
  // "ColorTable": 1 + 10 + 4 + 1024 bytes, then the end mark.
  EXPECT_EQ(stream.Size(), 1 + 10 + 4 + 1024 + 1);
}

TEST(Filer, AReaderCannotReadPastItsProperty) {
  TStored source;
  source.Data = {7, 7};
  TMemoryStream stream;
  Store(source, stream);
  TStored copy;
  copy.OverRead = 1;
  EXPECT_THROW(TReader(stream).ReadProperties(copy), EReadError);
}

TEST(Filer, UnknownAndTruncatedDataAreRefused) {
  TMemoryStream stream;
  const uint8_t unknown[] = {3, 'F', 'o', 'o', 0, 0, 0, 0, 0};
  stream.WriteBuffer(unknown, sizeof unknown);
  stream.SetPosition(0);
  TStored copy;
  try {
    TReader(stream).ReadProperties(copy);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Property Foo does not exist");
  }
  TMemoryStream cut;
  const uint8_t truncated[] = {4, 'D', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0x7F, 1};
  cut.WriteBuffer(truncated, sizeof truncated);
  cut.SetPosition(0);
  EXPECT_THROW(TReader(cut).ReadProperties(copy), EReadError);
}

}  // namespace
