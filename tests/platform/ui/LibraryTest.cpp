#include <gtest/gtest.h>

#include "platform/ui/Library.h"

namespace {

TEST(LibraryTest, SystemNameOfTheDisplayServicesMapsBesideTheExecutable) {
  // The module may not be built beside the tests; its absence must read as failure.
  HMODULE module = LoadLibrary("DDRAW.DLL");
  HMODULE lower = LoadLibrary("ddraw.dll");
  EXPECT_EQ(module, lower);
  if (module) {
    EXPECT_NE(GetProcAddress(module, "DirectDrawCreateEx"), nullptr);
    FreeLibrary(lower);
    FreeLibrary(module);
  }
}

TEST(LibraryTest, OtherNamesAreTriedAsGiven) {
  HMODULE module = LoadLibrary("libc.so.6");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetProcAddress(module, "strlen"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "NoSuchEntryPoint"), nullptr);
  EXPECT_NE(FreeLibrary(module), 0);
}

TEST(LibraryTest, UnknownLibrariesAndNullModulesFail) {
  EXPECT_EQ(LoadLibrary("NoSuchLibrary.dll"), nullptr);
  EXPECT_EQ(LoadLibrary(""), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "strlen"), nullptr);
  EXPECT_EQ(FreeLibrary(nullptr), 0);
}

TEST(LibraryTest, ExecutableFolderHoldsTheTest) {
  EXPECT_FALSE(ExecutableFolder().empty());
  EXPECT_NE(ExecutableFolder().back(), '/');
}

}  // namespace
