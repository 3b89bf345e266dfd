#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Input.h"
#include "platform/ui/QtBridge.h"

namespace {

class WindowProcTest : public testing::Test {
 protected:
  void SetUp() override {
    FForm.SetBorderStyle(bsNone);
    FForm.SetBounds(0, 0, 300, 200);
    FControl = new TWinControl(&FForm);
    FControl->SetParent(&FForm);
    FControl->SetAlign(alClient);
  }
  TForm FForm{nullptr};
  TWinControl* FControl = nullptr;
};

TEST_F(WindowProcTest, HookSeesMessagesInOrderAndPassesThemOn) {
  std::vector<UINT> seen;
  TWndMethod previous = FControl->WindowProc();
  FControl->SetWindowProc([&](TMessage& message) {
    seen.push_back(message.Msg);
    previous(message);
  });
  std::vector<WORD> keys;
  FControl->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
  FControl->Perform(WM_KEYDOWN, VK_NEXT);
  FControl->Perform(WM_MOUSEMOVE, 0, MakePointParam(1, 2));
  FControl->Perform(WM_KEYDOWN, VK_PRIOR);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_MOUSEMOVE, WM_KEYDOWN}));
  EXPECT_EQ(keys, (std::vector<WORD>{VK_NEXT, VK_PRIOR}));

  FControl->SetWindowProc(previous);
  FControl->Perform(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(keys.back(), VK_HOME);
}

TEST_F(WindowProcTest, HookCanSwallowAMessage) {
  FControl->SetWindowProc([](TMessage& message) { message.Result = 7; });
  bool reached = false;
  FControl->OnKeyDown = [&](TObject*, WORD&, TShiftState) { reached = true; };
  EXPECT_EQ(FControl->Perform(WM_KEYDOWN, VK_NEXT), 7);
  EXPECT_FALSE(reached);
}

TEST_F(WindowProcTest, FormHookSeesCreateShowActivateAndDestroy) {
  std::vector<UINT> seen;
  std::vector<UINT> showFlags;
  TWndMethod previous = FForm.WindowProc();
  FForm.SetWindowProc([&](TMessage& message) {
    seen.push_back(message.Msg);
    if (message.Msg == WM_WINDOWPOSCHANGED)
      showFlags.push_back(reinterpret_cast<WINDOWPOS*>(message.LParam)->flags);
    previous(message);
  });
  FForm.Show();
  QApplication::processEvents();
  FForm.BeforeDestruction();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), WM_CREATE);
  EXPECT_EQ(seen.back(), WM_DESTROY);
  ASSERT_FALSE(showFlags.empty());
  EXPECT_TRUE(showFlags.front() & SWP_SHOWWINDOW);
}

TEST_F(WindowProcTest, QtKeysArriveAsVirtualKeys) {
  FForm.Show();
  std::vector<std::pair<WORD, bool>> keys;
  FControl->OnKeyDown = [&](TObject*, WORD& key, TShiftState shift) {
    keys.emplace_back(key, shift.Contains(ssCtrl));
  };
  FControl->SetFocus();
  struct {
    int qt;
    WORD vk;
  } cases[] = {
      {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},
      {Qt::Key_Down, VK_DOWN},     {Qt::Key_Control, VK_CONTROL}, {Qt::Key_A, 'A'}};
  for (auto [qt, vk] : cases) {
    QKeyEvent press(QEvent::KeyPress, qt, Qt::NoModifier);
    QApplication::sendEvent(WidgetOf(FControl->Handle()), &press);
  }
  ASSERT_EQ(keys.size(), std::size(cases));
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i].first, cases[i].vk);
}

TEST_F(WindowProcTest, QtMouseArrivesWithButtonAndShiftState) {
  FForm.Show();
  struct TDown {
    TMouseButton button;
    TShiftState shift;
    int32_t x, y;
  };
  std::vector<TDown> downs;
  FControl->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int32_t x,
                              int32_t y) {
    downs.push_back({button, shift, x, y});
  };
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 34), QPointF(12, 34), Qt::LeftButton,
                    Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
  QApplication::sendEvent(WidgetOf(FControl->Handle()), &press);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].button, mbLeft);
  EXPECT_TRUE(downs[0].shift.Contains(ssShift));
  EXPECT_TRUE(downs[0].shift.Contains(ssCtrl));
  EXPECT_TRUE(downs[0].shift.Contains(ssLeft));
  EXPECT_EQ(downs[0].x, 12);
  EXPECT_EQ(downs[0].y, 34);
}

TEST_F(WindowProcTest, AltComesFromTheKeyState) {
  SetKeyStateHandler([](int key) { return key == VK_MENU; });
  TShiftState seen;
  FControl->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int32_t, int32_t) {
    seen = shift;
  };
  FControl->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakePointParam(0, 0));
  SetKeyStateHandler(nullptr);
  EXPECT_TRUE(seen.Contains(ssAlt));
  EXPECT_FALSE(seen.Contains(ssCtrl));
}

TEST_F(WindowProcTest, DoubleClickCarriesTheDoubleFlag) {
  std::vector<bool> doubles;
  int dblClicks = 0;
  FControl->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int32_t, int32_t) {
    doubles.push_back(shift.Contains(ssDouble));
  };
  FControl->OnDblClick = [&](TObject*) { ++dblClicks; };
  FControl->Perform(WM_LBUTTONDOWN, MK_LBUTTON);
  FControl->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON);
  EXPECT_EQ(doubles, (std::vector<bool>{false, true}));
  EXPECT_EQ(dblClicks, 1);
}

TEST_F(WindowProcTest, KeyPreviewLetsTheFormSeeAndSwallowKeys) {
  std::vector<std::string> order;
  FForm.OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    order.push_back("form");
    if (key == VK_ESCAPE) key = 0;
  };
  FControl->OnKeyDown = [&](TObject*, WORD&, TShiftState) { order.push_back("control"); };
  FControl->Perform(WM_KEYDOWN, VK_NEXT);
  EXPECT_EQ(order, std::vector<std::string>{"control"});
  FForm.SetKeyPreview(true);
  FControl->Perform(WM_KEYDOWN, VK_NEXT);
  FControl->Perform(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(order, (std::vector<std::string>{"control", "form", "control", "form"}));
}

TEST_F(WindowProcTest, HandlesMapBackToTheirControls) {
  HWND handle = FControl->Handle();
  EXPECT_TRUE(FControl->HandleAllocated());
  EXPECT_EQ(FindControl(handle), FControl);
  EXPECT_EQ(FindControl(FForm.Handle()), &FForm);
  EXPECT_EQ(FindControl(nullptr), nullptr);
  EXPECT_EQ(GetParentForm(FControl), &FForm);
}

TEST_F(WindowProcTest, ClientAreaFillsTheParentAndFollowsIt) {
  EXPECT_EQ(FControl->BoundsRect(), (TRect{0, 0, 300, 200}));
  FForm.SetBounds(0, 0, 640, 480);
  EXPECT_EQ(FControl->BoundsRect(), (TRect{0, 0, 640, 480}));
}

TEST_F(WindowProcTest, ScreenAndClientPointsConvertBothWays) {
  auto* inner = new TWinControl(&FForm);
  inner->SetParent(FControl);
  inner->SetBounds(30, 40, 10, 10);
  FForm.SetBounds(100, 50, 300, 200);
  FForm.Show();
  QApplication::processEvents();
  TPoint screen = inner->ClientToScreen({1, 2});
  TPoint formOrigin = FForm.ClientToScreen({0, 0});
  EXPECT_EQ(screen, (TPoint{formOrigin.X + 31, formOrigin.Y + 42}));
  EXPECT_EQ(inner->ScreenToClient(screen), (TPoint{1, 2}));
}

}  // namespace
