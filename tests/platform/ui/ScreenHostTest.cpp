#include <QApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScreenHost.h"

namespace {

class ScreenHostTest : public testing::Test {
 protected:
  void SetUp() override { Application().Initialize(); }
  void TearDown() override { DoneApplication(); }
};

TEST_F(ScreenHostTest, InitializeInstallsAHostThatKnowsTheMonitor) {
  TSize monitor = ScreenHost().MonitorSize();
  EXPECT_GT(monitor.cx, 0);
  EXPECT_GT(monitor.cy, 0);
  EXPECT_GT(ScreenHost().RefreshRateHz(), 0);
  EXPECT_EQ(Screen().Width(), monitor.cx);
}

TEST_F(ScreenHostTest, VirtualScreenIsWhatWindowsSee) {
  ScreenHost().SetVirtualScreen(1024, 768);
  EXPECT_EQ(Screen().Width(), 1024);
  EXPECT_EQ(Screen().Height(), 768);
  auto* main = Application().CreateForm<TForm>();
  main->SetBorderStyle(bsNone);
  main->SetWindowState(wsMaximized);
  main->Show();
  EXPECT_EQ(main->BoundsRect(), (TRect{0, 0, 1024, 768}));
  ScreenHost().RestoreDesktopScreen();
  EXPECT_EQ(Screen().Width(), ScreenHost().MonitorSize().cx);
}

// A 16-bit framebuffer of one colour.
struct TFrame {
  TFrame(int32_t width, int32_t height, uint16_t colour) : pixels(size_t(width) * height, colour) {
    frame = {pixels.data(), width, height, width * 2, 16, nullptr};
  }
  std::vector<uint16_t> pixels;
  ScreenFramebuffer frame;
};

TEST_F(ScreenHostTest, ExclusiveWindowShowsTheFramebufferScaledAndCentredOnBlack) {
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 300, 100);
  form->Show();
  TFrame red(100, 50, 0xF800);
  ScreenHost().SetExclusiveWindow(form->Handle());
  ScreenHost().FramebufferChanged(red.frame, {0, 0, 100, 50});
  QImage shot = reinterpret_cast<QWidget*>(form->Handle())->grab().toImage();
  // Scale 2 (100 high fits 50 twice): the picture is 200 wide, centred at 50..250.
  EXPECT_EQ(QColor(shot.pixel(150, 50)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(shot.pixel(20, 50)), QColor(0, 0, 0));
  EXPECT_EQ(QColor(shot.pixel(280, 50)), QColor(0, 0, 0));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, OnlyTheDirtyRowsAreTakenOver) {
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 100, 50);
  form->Show();
  ScreenHost().SetExclusiveWindow(form->Handle());
  TFrame frame(100, 50, 0x001F);
  ScreenHost().FramebufferChanged(frame.frame, {0, 0, 100, 50});
  std::fill(frame.pixels.begin(), frame.pixels.end(), 0x07E0);
  ScreenHost().FramebufferChanged(frame.frame, {0, 0, 100, 10});
  QImage shot = reinterpret_cast<QWidget*>(form->Handle())->grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(50, 5)), QColor(0, 255, 0));
  EXPECT_EQ(QColor(shot.pixel(50, 30)), QColor(0, 0, 255));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, ClientRectOnScreenOfOurWindowsOnly) {
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(10, 20, 100, 50);
  TRect rect{};
  EXPECT_FALSE(ScreenHost().WindowClientRectOnScreen(form->Handle(), &rect));
  form->Show();
  QApplication::processEvents();
  EXPECT_TRUE(ScreenHost().WindowClientRectOnScreen(form->Handle(), &rect));
  EXPECT_EQ(rect.Right - rect.Left, 100);
  EXPECT_EQ(rect.Bottom - rect.Top, 50);
  EXPECT_FALSE(ScreenHost().WindowClientRectOnScreen(reinterpret_cast<HWND>(&rect), &rect));
}

}  // namespace
