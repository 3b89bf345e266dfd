// The window layer on a 1920 x 1080 monitor (Qt's offscreen platform set up
// with one such screen, WideMonitor.json): the 1024 x 768 screen is shown
// smoothly scaled by 1.40625, and the windows around it grow by that factor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/ScreenHost.h"

namespace {

class WideMonitorTest : public testing::Test {
 protected:
  void SetUp() override {
    Application().Initialize();
    ScreenHost().SetVirtualScreen(1024, 768);
    FMain = Application().CreateForm<TForm>();
    FMain->SetBorderStyle(bsNone);
    FMain->SetWindowState(wsMaximized);
    FView = new TWinControl(FMain);
    FView->SetParent(FMain);
    FView->SetAlign(alClient);
    FMain->Show();
    ScreenHost().SetExclusiveWindow(FMain->Handle());
  }
  void TearDown() override {
    ScreenHost().SetExclusiveWindow(nullptr);
    ScreenHost().RestoreDesktopScreen();
    DoneApplication();
  }
  TForm* FMain = nullptr;
  TWinControl* FView = nullptr;
};

TEST_F(WideMonitorTest, WindowsAreDrawnWithTheFactorTheScreenIsShownWith) {
  EXPECT_DOUBLE_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 1.40625);
  auto* dialog = Application().CreateForm<TForm>();
  dialog->SetPosition(poMainFormCenter);
  dialog->SetBounds(0, 0, 225, 51);
  dialog->Show();
  QWidget* native = WidgetOf(dialog->Handle());
  // 225 x 51 in Qt's units, 316 x 72 monitor pixels, in the middle of the monitor.
  EXPECT_EQ(native->size(), QSize(225, 51));
  const QPoint middle = native->geometry().center() * 1.40625;
  EXPECT_NEAR(middle.x(), 960, 2);
  EXPECT_NEAR(middle.y(), 540, 2);
}

TEST_F(WideMonitorTest, TheScreenIsShownSmoothlyAndPointsMapBack) {
  std::vector<uint16_t> pixels(1024 * 768, 0xF800);
  for (int y = 0; y < 768; ++y) pixels[size_t(y) * 1024 + 1023] = 0x001F;
  const gdi::TPixelView frame{reinterpret_cast<uint8_t*>(pixels.data()),
                              2048,
                              1024,
                              768,
                              {16, gdi::kMask565[0], gdi::kMask565[1], gdi::kMask565[2]}};
  ScreenHost().FramebufferChanged(frame, {0, 0, 1024, 768});
  QWidget* window = WidgetOf(FMain->Handle());
  const QImage shot = window->grab().toImage();
  ASSERT_GE(shot.width(), 1919);
  // Black left of the picture (which starts at monitor x 240), red inside; the
  // last column, blue, covers 1.4 monitor pixels: one of its own and a blend.
  EXPECT_EQ(QColor(shot.pixel(200, 540)), QColor(0, 0, 0));
  EXPECT_EQ(QColor(shot.pixel(960, 540)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(shot.pixel(1679, 540)), QColor(0, 0, 255));
  const QColor blend(shot.pixel(1678, 540));
  EXPECT_TRUE(blend.red() > 0 && blend.blue() > 0) << blend.name().toStdString();
  EXPECT_EQ(QColor(shot.pixel(1680, 540)), QColor(0, 0, 0));
  TPoint seen{-1, -1};
  FView->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int32_t x, int32_t y) {
    seen = {x, y};
  };
  // Monitor pixel (960, 540) in Qt's units.
  const QPointF at(960 / 1.40625, 540 / 1.40625);
  QWidget* view = WidgetOf(FView->Handle());
  QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &press);
  EXPECT_EQ(seen, (TPoint{512, 384}));
}

}  // namespace
