#include <gtest/gtest.h>

#include "app/GridGeometry.h"
#include "tests/app/ShownViewer.h"
#include "tests/support/ExifJpeg.h"

namespace {

// A portrait photo stored on its side with EXIF orientation 6 stands upright in
// every view: stored 64 x 96 green, yellow over red, blue; shown 96 x 64 red,
// green over blue, yellow.
class UprightPhotoTest : public ShownViewerTest {
 protected:
  std::string WritePhoto(const std::string& name) {
    const std::string path = Tree.Path(name);
    const auto stored = QuadrantBitmap({kGreen, kYellow, kRed, kBlue}, true);
    WriteBytes(path, WithApp1(JpegOf(*stored), ExifOrientationBlock(6)));
    return path;
  }
  Rgb BackColourAt(int32_t x, int32_t y) {
    const uint32_t raw = PixelAt(x, y);
    return {uint8_t((raw >> 11) << 3), uint8_t((raw >> 5 & 63) << 2), uint8_t((raw & 31) << 3)};
  }
  // The middle of each quadrant of the rectangle shows the upright colours.
  void ExpectUprightIn(const TRect& rect) {
    const int32_t width = rect.Right - rect.Left, height = rect.Bottom - rect.Top;
    for (int q = 0; q < 4; ++q) {
      const int32_t x = rect.Left + (q % 2) * width / 2 + width / 4;
      const int32_t y = rect.Top + (q / 2) * height / 2 + height / 4;
      EXPECT_TRUE(Near(BackColourAt(x, y), kUprightQuadrants[size_t(q)]))
          << "quadrant " << q << " at (" << x << ", " << y << ")";
    }
  }
};

TEST_F(UprightPhotoTest, SingleViewShowsItUpright) {
  ChosenFile = WritePhoto("portrait.jpg");
  LeftClick({ssCtrl});
  EXPECT_EQ(Form1->DXImageList1->Items().Items(0)->Picture().Width(), 96);
  ExpectUprightIn({0, 0, 96, 64});
  EXPECT_EQ(PixelAt(100, 10), 0u);
  EXPECT_EQ(PixelAt(10, 70), 0u);
}

TEST_F(UprightPhotoTest, MovedWithTheArrowsItStaysUpright) {
  ChosenFile = WritePhoto("portrait.jpg");
  LeftClick({ssCtrl});
  Key(VK_RIGHT);
  Key(VK_DOWN);
  ExpectUprightIn({15, 15, 111, 79});
}

TEST_F(UprightPhotoTest, StretchedItFillsTheScreenUpright) {
  Form1->N4->Click();
  ChosenFile = WritePhoto("portrait.jpg");
  LeftClick({ssCtrl});
  ExpectUprightIn({0, 0, 1024, 768});
}

TEST_F(UprightPhotoTest, InTheGridItsCellIsUpright) {
  ChosenFolder = Tree.Folder("photos");
  WritePhoto("photos/portrait.jpg");
  LeftClick({ssShift});
  Form1->N20->Click();
  ExpectUprightIn(GridCellRect({3, 3, 1024, 768}, 0, 0));
}

}  // namespace
