#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Input.h"
#include "platform/ui/QtBridge.h"
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
    frame = {reinterpret_cast<uint8_t*>(pixels.data()), width * 2, width, height, {16}};
  }
  std::vector<uint16_t> pixels;
  gdi::TPixelView frame;
};

// A borderless form of the framebuffer's size with a control filling it.
TWinControl* ExclusiveForm(int32_t width, int32_t height) {
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, width, height);
  auto* view = new TWinControl(form);
  view->SetParent(form);
  view->SetAlign(alClient);
  form->Show();
  ScreenHost().SetExclusiveWindow(form->Handle());
  return view;
}

TEST_F(ScreenHostTest, ExclusiveWindowShowsTheFramebufferScaledAndCentredOnBlack) {
  TWinControl* view = ExclusiveForm(100, 50);
  TFrame red(100, 50, 0xF800);
  ScreenHost().FramebufferChanged(red.frame, {0, 0, 100, 50});
  QWidget* window = WidgetOf(view->Parent()->Handle());
  QImage shot = window->grab().toImage();
  double scale = std::min(window->width() / 100.0, window->height() / 50.0);
  int left = int((window->width() - 100 * scale) / 2),
      top = int((window->height() - 50 * scale) / 2);
  EXPECT_EQ(QColor(shot.pixel(window->width() / 2, window->height() / 2)), QColor(255, 0, 0));
  if (top > 1) {
    EXPECT_EQ(QColor(shot.pixel(window->width() / 2, top / 2)), QColor(0, 0, 0));
  }
  if (left > 1) {
    EXPECT_EQ(QColor(shot.pixel(left / 2, window->height() / 2)), QColor(0, 0, 0));
  }
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, ExclusiveWindowCoversTheMonitorAndMapsThePointerBack) {
  TWinControl* view = ExclusiveForm(200, 100);
  QWidget* window = WidgetOf(view->Parent()->Handle());
  TSize monitor = ScreenHost().MonitorSize();
  EXPECT_EQ(window->size(), QSize(monitor.cx, monitor.cy));
  EXPECT_EQ(view->Parent()->BoundsRect(), (TRect{0, 0, 200, 100}));
  EXPECT_EQ(view->BoundsRect(), (TRect{0, 0, 200, 100}));
  double scale = std::min(monitor.cx / 200.0, monitor.cy / 100.0);
  QWidget* child = WidgetOf(view->Handle());
  EXPECT_NEAR(child->width(), 200 * scale, 1.0);
  TPoint down{-1, -1};
  view->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int32_t x, int32_t y) {
    down = {x, y};
  };
  QPointF centre(child->width() / 2.0, child->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, centre, child->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(child, &press);
  EXPECT_NEAR(down.X, 100, 1);
  EXPECT_NEAR(down.Y, 50, 1);
  EXPECT_EQ(view->ClientToScreen({10, 20}), (TPoint{10, 20}));
  TRect onScreen{};
  EXPECT_TRUE(ScreenHost().WindowClientRectOnScreen(view->Handle(), &onScreen));
  EXPECT_EQ(onScreen, (TRect{0, 0, 200, 100}));
  ScreenHost().SetExclusiveWindow(nullptr);
  EXPECT_EQ(window->size(), QSize(200, 100));
}

// Presses the left button at a point of a widget; returns where the control saw it.
TPoint PressAt(TWinControl& control, QWidget* widget, QPointF at) {
  TPoint seen{-1, -1};
  control.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int32_t x, int32_t y) {
    seen = {x, y};
  };
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  control.OnMouseDown = nullptr;
  return seen;
}

TEST_F(ScreenHostTest, ThePointerOnTheBlackBorderIsPinnedToTheScreensEdge) {
  TWinControl* view = ExclusiveForm(200, 100);
  QWidget* window = WidgetOf(view->Parent()->Handle());
  QWidget* child = WidgetOf(view->Handle());
  // The view fills the screen, so it reaches the monitor's edges over the border.
  EXPECT_EQ(child->geometry(), window->rect());
  const double scale = std::min(window->width() / 200, window->height() / 100);
  const double top = (window->height() - 100 * scale) / 2;
  EXPECT_EQ(PressAt(*view, child, {1.0, 1.0}), (TPoint{0, 0}));
  EXPECT_EQ(PressAt(*view, child, {window->width() - 1.0, window->height() - 1.0}),
            (TPoint{199, 99}));
  EXPECT_EQ(PressAt(*view, child, {5 * scale + 1, top + 7 * scale + 1}), (TPoint{5, 7}));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, ThePointerGoesWhereTheProgramPutsIt) {
  TWinControl* view = ExclusiveForm(200, 100);
  QWidget* window = WidgetOf(view->Parent()->Handle());
  Mouse().SetCursorPos({50, 25});
  Mouse().ClearOverride();
  EXPECT_EQ(Mouse().CursorPos(), (TPoint{50, 25}));
  const int scale = std::min(window->width() / 200, window->height() / 100);
  const int top = (window->height() - 100 * scale) / 2;
  // The middle of the screen pixel on the monitor.
  EXPECT_EQ(QCursor::pos(),
            window->mapToGlobal(QPoint(50 * scale + scale / 2, top + 25 * scale + scale / 2)));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, DialogsAreCentredOnTheShownScreenAsChildWindowsOfTheMainForm) {
  TWinControl* view = ExclusiveForm(200, 100);
  QWidget* window = WidgetOf(view->Parent()->Handle());
  auto* dialog = Application().CreateForm<TForm>();
  dialog->SetPosition(poMainFormCenter);
  dialog->SetBounds(0, 0, 40, 20);
  dialog->Show();
  QApplication::processEvents();
  QWidget* native = WidgetOf(dialog->Handle());
  EXPECT_TRUE(native->isWindow());
  EXPECT_EQ(native->parentWidget(), window);
  EXPECT_EQ(dialog->BoundsRect(), (TRect{80, 40, 120, 60}));
  const QPoint middle = window->mapToGlobal(window->rect().center() + QPoint(1, 1));
  EXPECT_EQ(native->geometry(), QRect(middle - QPoint(20, 10), QSize(40, 20)));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, MaximisedFormsFollowTheScreenSize) {
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetWindowState(wsMaximized);
  form->Show();
  ScreenHost().SetVirtualScreen(640, 480);
  EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 640, 480}));
  ScreenHost().RestoreDesktopScreen();
  EXPECT_EQ(form->Width(), ScreenHost().MonitorSize().cx);
}

TEST_F(ScreenHostTest, OnlyTheDirtyRowsAreTakenOver) {
  TWinControl* view = ExclusiveForm(100, 50);
  TFrame frame(100, 50, 0x001F);
  ScreenHost().FramebufferChanged(frame.frame, {0, 0, 100, 50});
  std::fill(frame.pixels.begin(), frame.pixels.end(), 0x07E0);
  ScreenHost().FramebufferChanged(frame.frame, {0, 0, 100, 10});
  QWidget* window = WidgetOf(view->Parent()->Handle());
  QImage shot = window->grab().toImage();
  double scale = std::min(window->width() / 100.0, window->height() / 50.0);
  int top = int((window->height() - 50 * scale) / 2);
  // Logical rows 5 and 30, in the middle of the picture.
  EXPECT_EQ(QColor(shot.pixel(window->width() / 2, top + int(5.5 * scale))), QColor(0, 255, 0));
  EXPECT_EQ(QColor(shot.pixel(window->width() / 2, top + int(30.5 * scale))), QColor(0, 0, 255));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, EveryChangedPixelOfAWholeFramePresentIsShown) {
  // Single pixels at a row's ends, on both sides of a 64-byte boundary and inside.
  TWinControl* view = ExclusiveForm(200, 50);
  TFrame frame(200, 50, 0x001F);
  ScreenHost().FramebufferChanged(frame.frame, {0, 0, 200, 50});
  const std::vector<std::pair<int, int>> changed = {{0, 5},    {31, 15},  {32, 15},
                                                    {100, 25}, {130, 35}, {199, 45}};
  for (const auto& [x, y] : changed) frame.pixels[size_t(y) * 200 + x] = 0xF800;
  ScreenHost().FramebufferChanged(frame.frame, {0, 0, 200, 50});
  QWidget* window = WidgetOf(view->Parent()->Handle());
  const QImage shot = window->grab().toImage();
  const double scale = std::min(window->width() / 200.0, window->height() / 50.0);
  const int left = int((window->width() - 200 * scale) / 2);
  const int top = int((window->height() - 50 * scale) / 2);
  const auto shown = [&](double x, double y) {
    return QColor(shot.pixel(left + int(x * scale), top + int(y * scale)));
  };
  for (const auto& [x, y] : changed) {
    EXPECT_EQ(shown(x + 0.5, y + 0.5), QColor(255, 0, 0)) << x << "," << y;
    EXPECT_EQ(shown(x + 0.5, y + 1.5), QColor(0, 0, 255)) << x << "," << y;
  }
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, AFrameOfTheMonitorsSizeIsShownPixelForPixel) {
  // Shown 1:1, a 5-6-5 frame is painted from the host's own copy of it; changes
  // after the first present must show all the same.
  const TSize monitor = ScreenHost().MonitorSize();
  TWinControl* view = ExclusiveForm(monitor.cx, monitor.cy);
  TFrame frame(monitor.cx, monitor.cy, 0);
  frame.frame.Format = {16, gdi::kMask565[0], gdi::kMask565[1], gdi::kMask565[2]};
  const auto pattern = [&](int x, int y, int salt) {
    return static_cast<uint16_t>((x * 37 + y * 101 + salt) * 2654435761u >> 16);
  };
  const auto paint = [&](int salt, const TRect& area) {
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        frame.pixels[size_t(y) * monitor.cx + x] = pattern(x, y, salt);
  };
  const TRect whole{0, 0, monitor.cx, monitor.cy}, part{10, 20, 70, 45};
  paint(0, whole);
  ScreenHost().FramebufferChanged(frame.frame, whole);
  paint(1, part);
  ScreenHost().FramebufferChanged(frame.frame, part);
  const QImage shot = WidgetOf(view->Parent()->Handle())->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(monitor.cx, monitor.cy));
  const auto expected = [](uint16_t p) {
    const int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    return QColor(r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2);
  };
  int wrong = 0;
  for (int y = 0; y < monitor.cy; ++y)
    for (int x = 0; x < monitor.cx; ++x)
      wrong += QColor(shot.pixel(x, y)) != expected(frame.pixels[size_t(y) * monitor.cx + x]);
  EXPECT_EQ(wrong, 0);
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, APaletteChangeShowsEveryPixelAnew) {
  TWinControl* view = ExclusiveForm(100, 50);
  std::vector<uint8_t> pixels(100 * 50, 3);
  std::vector<RGBQUAD> palette(256, RGBQUAD{255, 0, 0, 0});  // blue
  const gdi::TPixelView frame{pixels.data(), 100, 100, 50, {8, 0, 0, 0, palette.data(), 256}};
  ScreenHost().FramebufferChanged(frame, {0, 0, 100, 50});
  QWidget* window = WidgetOf(view->Parent()->Handle());
  const QPoint middle(window->width() / 2, window->height() / 2);
  EXPECT_EQ(QColor(window->grab().toImage().pixel(middle)), QColor(0, 0, 255));
  // The same pixels under another palette.
  palette[3] = {0, 255, 255, 0};  // yellow
  ScreenHost().FramebufferChanged(frame, {0, 0, 1, 1});
  EXPECT_EQ(QColor(window->grab().toImage().pixel(middle)), QColor(255, 255, 0));
  ScreenHost().SetExclusiveWindow(nullptr);
}

TEST_F(ScreenHostTest, NormalLevelWindowShowsThePartUnderIt) {
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(40, 30, 100, 50);
  auto* view = new TWinControl(form);
  view->SetParent(form);
  view->SetAlign(alClient);
  form->Show();
  QApplication::processEvents();
  ScreenHost().ShowFramebufferIn(view->Handle(), true);
  // The desktop framebuffer: blue everywhere, a red square at the view's top-left corner.
  TSize monitor = ScreenHost().MonitorSize();
  TFrame desktop(monitor.cx, monitor.cy, 0x001F);
  TPoint corner = view->ClientToScreen({0, 0});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      desktop.pixels[size_t(corner.Y + y) * monitor.cx + corner.X + x] = 0xF800;
  ScreenHost().FramebufferChanged(desktop.frame, {0, 0, monitor.cx, monitor.cy});
  QImage shot = WidgetOf(view->Handle())->grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(5, 5)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(shot.pixel(50, 30)), QColor(0, 0, 255));
  ScreenHost().ShowFramebufferIn(view->Handle(), false);
}

// Presents the framebuffer from its own paint, as the display control does.
class TPresenting : public TWinControl {
 public:
  TPresenting(TComponent* owner, TFrame& frame) : TWinControl(owner), FFrame(frame) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    ScreenHost().FramebufferChanged(FFrame.frame, {0, 0, FFrame.frame.Width, FFrame.frame.Height});
    // The display control also asks its parent to repaint once after presenting.
    if (FParentAsked) {
      FParentAsked = false;
      return;
    }
    FParentAsked = true;
    Parent()->Invalidate();
  }

 private:
  TFrame& FFrame;
  bool FParentAsked = false;
};

TEST_F(ScreenHostTest, PresentingFromPaintDoesNotRepaintForEver) {
  TFrame frame(100, 50, 0x07E0);
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 100, 50);
  auto* view = new TPresenting(form, frame);
  view->SetParent(form);
  view->SetAlign(alClient);
  form->Show();
  ScreenHost().SetExclusiveWindow(form->Handle());
  for (int i = 0; i < 50; ++i) Application().ProcessMessages();
  int settled = view->Paints;
  for (int i = 0; i < 50; ++i) Application().ProcessMessages();
  EXPECT_EQ(view->Paints, settled);
  EXPECT_LE(settled, 3);
  view->Invalidate();
  for (int i = 0; i < 5; ++i) Application().ProcessMessages();
  EXPECT_EQ(view->Paints, settled + 1);
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
