#include <gtest/gtest.h>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Canvas.h"
#include "platform/framework/Exception.h"
#include "platform/gdi/Gdi.h"

namespace {

// A canvas that counts how often it is asked for a device context and never gets one.
class TNoHandleCanvas : public TCanvas {
 public:
  int Requests = 0;

 protected:
  void CreateHandle() override { ++Requests; }
};

// A graphic that records the rectangles it is drawn into.
class TProbeGraphic : public TGraphic {
 public:
  LOUPIX_CLASS(TProbeGraphic, TGraphic)
  bool IsEmpty = false;
  std::vector<TRect> Drawn;
  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TProbeGraphic>(); }
  bool Empty() const override { return IsEmpty; }
  int32_t Width() const override { return 4; }
  int32_t Height() const override { return 3; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void ReadFromStream(TStream&) override {}
  void WriteToStream(TStream&) override {}

 protected:
  void Draw(TCanvas&, const TRect& rect) override { Drawn.push_back(rect); }
};

TEST(Canvas, WithoutAHandleDrawingRaises) {
  TNoHandleCanvas canvas;
  try {
    canvas.FillRect(Rect(0, 0, 1, 1));
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
  }
  EXPECT_EQ(canvas.Requests, 1);
  EXPECT_THROW(canvas.Handle(), EInvalidOperation);
}

TEST(Canvas, EmptyGraphicsAreSkippedWithoutAskingForAHandle) {
  TNoHandleCanvas canvas;
  TProbeGraphic graphic;
  graphic.IsEmpty = true;
  canvas.Draw(0, 0, &graphic);
  canvas.StretchDraw(Rect(0, 0, 5, 5), &graphic);
  canvas.Draw(0, 0, nullptr);
  EXPECT_EQ(canvas.Requests, 0);
  EXPECT_TRUE(graphic.Drawn.empty());
}

TEST(Canvas, DrawUsesTheGraphicsSizeAndStretchDrawTheRectangle) {
  TBitmap target;
  target.SetSize(10, 10);
  TProbeGraphic graphic;
  int changing = 0, changed = 0;
  target.Canvas().OnChanging = [&](TObject*) { ++changing; };
  target.Canvas().OnChange = [&](TObject*) { ++changed; };
  target.Canvas().Draw(2, 1, &graphic);
  target.Canvas().StretchDraw(Rect(1, 1, 9, 8), &graphic);
  ASSERT_EQ(graphic.Drawn.size(), 2u);
  EXPECT_EQ(graphic.Drawn[0], Rect(2, 1, 6, 4));
  EXPECT_EQ(graphic.Drawn[1], Rect(1, 1, 9, 8));
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
}

TEST(Canvas, CopyRectScalesWithTheCopyMode) {
  TBitmap source, dest;
  source.SetPixelFormat(pf24bit);
  source.SetSize(2, 2);
  source.Canvas().Brush().SetColor(RGB(255, 0, 0));
  source.Canvas().FillRect(Rect(0, 0, 1, 2));
  source.Canvas().Brush().SetColor(RGB(0, 0, 255));
  source.Canvas().FillRect(Rect(1, 0, 2, 2));
  dest.SetPixelFormat(pf32bit);
  dest.SetSize(4, 4);
  EXPECT_EQ(dest.Canvas().CopyMode(), SRCCOPY);
  dest.Canvas().CopyRect(Rect(0, 0, 4, 4), source.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(dest.Canvas().Pixels(1, 3), RGB(255, 0, 0));
  EXPECT_EQ(dest.Canvas().Pixels(2, 0), RGB(0, 0, 255));
  dest.Canvas().SetCopyMode(BLACKNESS);
  dest.Canvas().CopyRect(Rect(0, 0, 1, 1), source.Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(dest.Canvas().Pixels(0, 0), RGB(0, 0, 0));
}

TEST(Canvas, ShapesUsePenAndBrush) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(10, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(Rect(0, 0, 10, 10));
  canvas.Pen().SetColor(RGB(0, 128, 0));
  canvas.Brush().SetColor(RGB(255, 255, 0));
  canvas.Rectangle(1, 1, 9, 9);
  EXPECT_EQ(canvas.Pixels(1, 1), RGB(0, 128, 0));
  EXPECT_EQ(canvas.Pixels(5, 5), RGB(255, 255, 0));
  EXPECT_EQ(canvas.Pixels(9, 9), clWhite);
  canvas.Brush().SetStyle(bsClear);
  canvas.Pen().SetColor(RGB(1, 2, 3));
  canvas.Rectangle(3, 3, 7, 7);
  EXPECT_EQ(canvas.Pixels(5, 5), RGB(255, 255, 0));
  EXPECT_EQ(canvas.Pixels(3, 3), RGB(1, 2, 3));
}

TEST(Canvas, SystemColoursResolveThroughThePlatform) {
  EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clSystemColor | COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
}

}  // namespace
