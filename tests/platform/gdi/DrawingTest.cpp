#include <gtest/gtest.h>

#include <string>

#include "tests/platform/gdi/GdiTestSupport.h"

using gdi_test::TInfo;
using gdi_test::TSection;

namespace {

constexpr COLORREF kPen = RGB(255, 0, 0);
constexpr COLORREF kBrush = RGB(0, 0, 255);

// A 32-bit canvas with a red pen and blue brush; Picture() draws it as text:
// 'P' pen, 'B' brush, '.' untouched.
class Canvas : public testing::Test {
 protected:
  void SetUp() override {
    FPen = CreatePen(PS_SOLID, 1, kPen);
    FBrush = CreateSolidBrush(kBrush);
    FOldPen = SelectObject(FSection.DC, FPen);
    FOldBrush = SelectObject(FSection.DC, FBrush);
  }
  void TearDown() override {
    SelectObject(FSection.DC, FOldPen);
    SelectObject(FSection.DC, FOldBrush);
    DeleteObject(FPen);
    DeleteObject(FBrush);
  }
  std::string Picture() const {
    std::string text;
    for (int y = 0; y < FSection.Height; ++y) {
      for (int x = 0; x < FSection.Width; ++x) {
        const COLORREF c = GetPixel(FSection.DC, x, y);
        text += c == kPen ? 'P' : c == kBrush ? 'B' : '.';
      }
      text += '\n';
    }
    return text;
  }
  TSection FSection{TInfo(6, 5, 32)};
  HGDIOBJ FPen = nullptr, FBrush = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
};

TEST_F(Canvas, RectangleFillsWithTheBrushAndOutlinesWithThePen) {
  Rectangle(FSection.DC, 1, 1, 5, 5);
  EXPECT_EQ(Picture(), "......\n.PPPP.\n.PBBP.\n.PBBP.\n.PPPP.\n");
}

TEST_F(Canvas, NullPenAndBrushDrawNothing) {
  SelectObject(FSection.DC, GetStockObject(NULL_PEN));
  SelectObject(FSection.DC, GetStockObject(NULL_BRUSH));
  Rectangle(FSection.DC, 0, 0, 6, 5);
  Ellipse(FSection.DC, 0, 0, 6, 5);
  EXPECT_EQ(Picture(), "......\n......\n......\n......\n......\n");
}

TEST_F(Canvas, LinesLeaveOutTheirLastPoint) {
  MoveToEx(FSection.DC, 0, 0, nullptr);
  LineTo(FSection.DC, 4, 0);
  LineTo(FSection.DC, 4, 3);
  TPoint position;
  MoveToEx(FSection.DC, 0, 0, &position);
  EXPECT_EQ(position, (TPoint{4, 3}));
  EXPECT_EQ(Picture(), "PPPPP.\n....P.\n....P.\n......\n......\n");
}

TEST_F(Canvas, DiagonalLine) {
  MoveToEx(FSection.DC, 0, 0, nullptr);
  LineTo(FSection.DC, 5, 5);
  EXPECT_EQ(Picture(), "P.....\n.P....\n..P...\n...P..\n....P.\n");
}

TEST_F(Canvas, PolylineJoinsItsPoints) {
  const TPoint points[3] = {{0, 4}, {0, 2}, {3, 2}};
  EXPECT_EQ(Polyline(FSection.DC, points, 3), TRUE_);
  EXPECT_EQ(Polyline(FSection.DC, points, 1), FALSE_);
  EXPECT_EQ(Picture(), "......\n......\nPPP...\nP.....\nP.....\n");
}

TEST_F(Canvas, PolygonFillsItsInsideAndClosesItsOutline) {
  const TPoint points[4] = {{0, 0}, {5, 0}, {5, 4}, {0, 4}};
  EXPECT_EQ(Polygon(FSection.DC, points, 4), TRUE_);
  EXPECT_EQ(Picture(), "PPPPPP\nPBBBBP\nPBBBBP\nPBBBBP\nPPPPPP\n");
}

TEST_F(Canvas, EllipseIsSymmetricWithinItsBox) {
  Ellipse(FSection.DC, 0, 0, 6, 5);
  const std::string picture = Picture();
  EXPECT_EQ(picture, ".PPPP.\nPBBBBP\nPBBBBP\nPBBBBP\n.PPPP.\n");
}

TEST_F(Canvas, FillRectUsesTheGivenBrushAndClips) {
  const TRect rect{4, 3, 40, 40};
  HBRUSH brush = CreateSolidBrush(kPen);
  EXPECT_EQ(FillRect(FSection.DC, &rect, brush), 1);
  EXPECT_EQ(Picture(), "......\n......\n......\n....PP\n....PP\n");
  DeleteObject(brush);
  EXPECT_EQ(FillRect(FSection.DC, &rect, brush), 0);
}

TEST_F(Canvas, HugeCoordinatesFinishQuickly) {
  // Shapes reaching far past the canvas still land where their edges cross it.
  const TPoint points[3] = {{INT32_MIN, 0}, {INT32_MAX, 2}, {0, INT32_MAX}};
  Polygon(FSection.DC, points, 3);
  EXPECT_EQ(Picture(), "......\nPPPPPP\nBBBBBB\nBBBBBB\nBBBBBB\n");
  Ellipse(FSection.DC, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Picture(), "BBBBBB\nBBBBBB\nBBBBBB\nBBBBBB\nBBBBBB\n");
  MoveToEx(FSection.DC, INT32_MIN, INT32_MIN, nullptr);
  LineTo(FSection.DC, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Picture(), "PBBBBB\nBPBBBB\nBBPBBB\nBBBPBB\nBBBBPB\n");
}

TEST(PixelAccess, SetPixelReturnsTheColourItStored) {
  TSection section(TInfo(2, 2, 16, {}, {0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(SetPixel(section.DC, 1, 1, RGB(0x13, 0x27, 0x39)), RGB(0x10, 0x24, 0x38));
  EXPECT_EQ(GetPixel(section.DC, 1, 1), RGB(0x10, 0x24, 0x38));
  EXPECT_EQ(SetPixel(section.DC, 2, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(section.DC, -1, 0), CLR_INVALID);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
  ReleaseDC(nullptr, screen);
}

TEST(Pens, OnlySolidAndNullStyles) {
  EXPECT_EQ(CreatePen(2, 1, 0), nullptr);
  HPEN pen = CreatePen(PS_SOLID, 0, 0);
  EXPECT_NE(pen, nullptr);
  DeleteObject(pen);
}

}  // namespace
