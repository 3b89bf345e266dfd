#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "display/ControlSubClass.h"
#include "display/DXForm.h"
#include "platform/ui/Application.h"

namespace {

class WindowHooks : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application().Initialize(); }
};

struct THookLog : TObject {
  std::vector<UINT> Seen;
  bool PassOn = true;
};

void Record(TObject* data, TMessage& message, const TWndMethod& previous) {
  auto* log = static_cast<THookLog*>(data);
  log->Seen.push_back(message.Msg);
  if (log->PassOn) previous(message);
}

TEST_F(WindowHooks, SubClassSeesMessagesAndPutsTheOldProcedureBack) {
  TForm form(nullptr);
  std::vector<UINT> original;
  form.SetWindowProc([&](TMessage& message) { original.push_back(message.Msg); });
  THookLog log;
  {
    TControlSubClass hook(form, Record, &log);
    EXPECT_EQ(&hook.Control(), &form);
    form.Perform(WM_USER + 1);
    log.PassOn = false;
    form.Perform(WM_USER + 2);
  }
  form.Perform(WM_USER + 3);
  EXPECT_EQ(log.Seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  EXPECT_EQ(original, (std::vector<UINT>{WM_USER + 1, WM_USER + 3}));
}

TEST_F(WindowHooks, DXFormsCountThemselvesAndMarkTheApplicationWindow) {
  const auto appStyle = [] { return GetWindowLong(Application().Handle(), GWL_EXSTYLE); };
  const int before = TDXForm::LiveFormCount();
  ASSERT_EQ(before, 0);
  auto first = std::make_unique<TDXForm>(nullptr);
  auto second = std::make_unique<TDXForm>(nullptr);
  EXPECT_EQ(TDXForm::LiveFormCount(), 2);
  EXPECT_TRUE(appStyle() & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLong(first->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  first.reset();
  EXPECT_TRUE(appStyle() & WS_EX_TOOLWINDOW);
  second.reset();
  EXPECT_EQ(TDXForm::LiveFormCount(), 0);
  EXPECT_FALSE(appStyle() & WS_EX_TOOLWINDOW);
}

TEST_F(WindowHooks, MinimiseCommandMinimisesTheForm) {
  TDXForm form(nullptr);
  form.Show();
  form.Perform(WM_SYSCOMMAND, SC_MINIMIZE);
  EXPECT_EQ(form.WindowState(), wsMinimized);
}

}  // namespace
