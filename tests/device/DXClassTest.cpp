#include <gtest/gtest.h>

#include "device/DXClass.h"
#include "platform/framework/Exception.h"

namespace {

constexpr const char* kTestModule = "libloupix_device_testmodule.so";

class TCountingDirectX : public TDirectX {
 public:
  int Failures = 0;

 protected:
  void ResultFailed() override { ++Failures; }
};

struct ResultCase {
  HRESULT Value;
  int Failures;
};

class DirectXResult : public testing::TestWithParam<ResultCase> {};

TEST_P(DirectXResult, FailureHookRunsOnlyForNonZero) {
  TCountingDirectX object;
  object.SetLastResult(GetParam().Value);
  EXPECT_EQ(object.LastResult(), GetParam().Value);
  EXPECT_EQ(object.Failures, GetParam().Failures);
}

INSTANTIATE_TEST_SUITE_P(Results, DirectXResult,
                         testing::Values(ResultCase{0, 0}, ResultCase{1, 1},
                                         ResultCase{static_cast<HRESULT>(0x88760000u | 450), 1},
                                         ResultCase{-1, 1}));

class EntryPoints : public testing::Test {
 protected:
  void SetUp() override { FreeLoadedLibraries(); }
  void TearDown() override { FreeLoadedLibraries(); }

  static std::string MessageOf(const std::string& file, const std::string& entry) {
    try {
      LoadEntryPoint(file, entry);
    } catch (const Exception& error) {
      EXPECT_STREQ(error.ClassName(), "Exception");
      return error.Message();
    }
    return "no error";
  }
};

TEST_F(EntryPoints, FindsAnEntryAndLoadsTheLibraryOnce) {
  void* first = LoadEntryPoint(kTestModule, "LoupixTestEntry");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(reinterpret_cast<int (*)()>(first)(), 42);
  // Another spelling of the same name is served from the list.
  void* second = LoadEntryPoint("LIBLOUPIX_DEVICE_TESTMODULE.SO", "LoupixTestEntry");
  EXPECT_EQ(first, second);
  ASSERT_EQ(LoadedLibraries().size(), 1u);
  EXPECT_EQ(LoadedLibraries()[0].Name, kTestModule);
}

TEST_F(EntryPoints, MissingEntryNamesTheLibraryAndKeepsItLoaded) {
  EXPECT_EQ(MessageOf(kTestModule, "DirectDrawCreateEx"),
            "libloupix_device_testmodule.so not loaded");
  EXPECT_EQ(LoadedLibraries().size(), 1u);
}

TEST_F(EntryPoints, MissingLibraryIsNotRemembered) {
  EXPECT_EQ(MessageOf("NoSuch.dll", "Anything"), "NoSuch.dll not loaded");
  EXPECT_TRUE(LoadedLibraries().empty());
  EXPECT_EQ(MessageOf("NoSuch.dll", "Anything"), "NoSuch.dll not loaded");
  EXPECT_TRUE(LoadedLibraries().empty());
}

TEST_F(EntryPoints, FreeingEmptiesTheList) {
  LoadEntryPoint(kTestModule, "LoupixTestEntry");
  FreeLoadedLibraries();
  EXPECT_TRUE(LoadedLibraries().empty());
  EXPECT_NE(LoadEntryPoint(kTestModule, "LoupixTestEntry"), nullptr);
}

}  // namespace
