#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/Gdi.h"

namespace {

class GlobalBlocks : public testing::TestWithParam<UINT> {};

TEST_P(GlobalBlocks, LockSizeAndFree) {
  HGLOBAL block = GlobalAlloc(GetParam(), 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 100u);
  auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  if (GetParam() & GMEM_ZEROINIT) {
    for (int i = 0; i < 100; ++i) EXPECT_EQ(bytes[i], 0);
  }
  std::memset(bytes, 0x5A, 100);
  EXPECT_EQ(GlobalLock(block), bytes);     // a second lock
  EXPECT_EQ(GlobalUnlock(block), TRUE_);   // still locked once
  EXPECT_EQ(GlobalUnlock(block), FALSE_);  // now unlocked
  EXPECT_EQ(GlobalUnlock(block), FALSE_);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
}

INSTANTIATE_TEST_SUITE_P(Flags, GlobalBlocks,
                         testing::Values(GMEM_FIXED, GMEM_MOVEABLE, GMEM_ZEROINIT, GHND));

TEST(GlobalBlockLimits, AbsurdSizesAndUnknownFlagsFail) {
  EXPECT_EQ(GlobalAlloc(GHND, size_t{1} << 40), nullptr);
  EXPECT_EQ(GlobalAlloc(0x8000, 10), nullptr);
  HGLOBAL empty = GlobalAlloc(GHND, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  GlobalFree(empty);
}

TEST(Clipboard, HoldsADibBlockUntilEmptied) {
  ASSERT_EQ(OpenClipboard(nullptr), TRUE_);
  EXPECT_EQ(OpenClipboard(nullptr), FALSE_);
  EXPECT_EQ(EmptyClipboard(), TRUE_);
  HGLOBAL block = GlobalAlloc(GHND, 16);
  static_cast<uint8_t*>(GlobalLock(block))[3] = 42;
  GlobalUnlock(block);
  EXPECT_EQ(SetClipboardData(CF_DIB, block), block);
  EXPECT_EQ(CloseClipboard(), TRUE_);
  EXPECT_EQ(IsClipboardFormatAvailable(CF_DIB), TRUE_);
  EXPECT_EQ(IsClipboardFormatAvailable(CF_BITMAP), FALSE_);
  EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);  // only while open
  ASSERT_EQ(OpenClipboard(nullptr), TRUE_);
  HGLOBAL held = static_cast<HGLOBAL>(GetClipboardData(CF_DIB));
  ASSERT_EQ(held, block);
  EXPECT_EQ(static_cast<uint8_t*>(GlobalLock(held))[3], 42);
  GlobalUnlock(held);
  // Replacing frees the old block: the clipboard owns what it was given.
  HGLOBAL second = GlobalAlloc(GHND, 4);
  EXPECT_EQ(SetClipboardData(CF_DIB, second), second);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(SetClipboardData(CF_DIB, reinterpret_cast<HANDLE>(0x1234)), nullptr);
  EXPECT_EQ(EmptyClipboard(), TRUE_);
  EXPECT_EQ(GlobalSize(second), 0u);
  EXPECT_EQ(IsClipboardFormatAvailable(CF_DIB), FALSE_);
  EXPECT_EQ(CloseClipboard(), TRUE_);
  EXPECT_EQ(CloseClipboard(), FALSE_);
  HGLOBAL late = GlobalAlloc(GHND, 1);
  EXPECT_EQ(SetClipboardData(CF_DIB, late), nullptr);  // closed
  GlobalFree(late);
}

}  // namespace
