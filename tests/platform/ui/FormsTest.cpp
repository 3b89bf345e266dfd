#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "platform/ui/Application.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

namespace {

class FormTest : public testing::Test {
 protected:
  void TearDown() override { DoneApplication(); }
};

TEST_F(FormTest, FirstCreatedFormIsTheMainFormAndOnCreateRunsOnce) {
  struct TCounted : TForm {
    explicit TCounted(TComponent* owner) : TForm(owner) {
      OnCreate = [this](TObject*) { ++Created; };
    }
    int Created = 0;
  };
  auto* first = Application().CreateForm<TCounted>();
  auto* second = Application().CreateForm<TCounted>();
  EXPECT_EQ(Application().MainForm(), first);
  EXPECT_EQ(first->Created, 1);
  EXPECT_EQ(second->Created, 1);
  EXPECT_EQ(first->Owner(), &Application());
}

TEST_F(FormTest, ShowModalRunsANestedLoopWhereTimersTick) {
  auto* main = Application().CreateForm<TForm>();
  auto* dialog = Application().CreateForm<TForm>();
  main->Show();
  TTimer timer(nullptr);
  timer.SetInterval(5);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3) dialog->SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->Modal());
}

TEST_F(FormTest, CloseBoxEndsAModalFormWithCancel) {
  auto* main = Application().CreateForm<TForm>();
  auto* dialog = Application().CreateForm<TForm>();
  main->Show();
  TTimer timer(nullptr);
  timer.SetInterval(5);
  timer.OnTimer = [&](TObject*) { dialog->Perform(WM_CLOSE); };
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormTest, ClosingTheMainFormEndsTheApplicationAndOthersHide) {
  auto* main = Application().CreateForm<TForm>();
  auto* other = Application().CreateForm<TForm>();
  other->Show();
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(Application().Terminated());
  main->Show();
  main->Close();
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(FormTest, RunReturnsOnceTerminated) {
  auto* main = Application().CreateForm<TForm>();
  TTimer timer(nullptr);
  timer.SetInterval(5);
  timer.OnTimer = [&](TObject*) { Application().Terminate(); };
  Application().Run();
  EXPECT_TRUE(main->Visible());
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(FormTest, ModalFormEndsWhenTheApplicationDoes) {
  Application().CreateForm<TForm>()->Show();
  auto* dialog = Application().CreateForm<TForm>();
  TTimer timer(nullptr);
  timer.SetInterval(5);
  timer.OnTimer = [&](TObject*) { Application().Terminate(); };
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormTest, OnShowRunsEachTimeTheFormBecomesVisible) {
  auto* form = Application().CreateForm<TForm>();
  int shows = 0;
  form->OnShow = [&](TObject*) { ++shows; };
  form->Show();
  form->Show();
  form->Hide();
  form->Show();
  EXPECT_EQ(shows, 2);
}

TEST_F(FormTest, StayOnTopAndToolWindowStylesReachTheWindow) {
  auto* form = Application().CreateForm<TForm>();
  form->SetFormStyle(fsStayOnTop);
  form->Show();
  auto* widget = reinterpret_cast<QWidget*>(form->Handle());
  EXPECT_TRUE(widget->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FormTest, ApplicationWindowExtendedStyleCanBeChanged) {
  HWND window = Application().Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Application().Handle(), window);
  LONG style = GetWindowLong(window, GWL_EXSTYLE);
  SetWindowLong(window, GWL_EXSTYLE, style | WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLong(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  SetWindowLong(window, GWL_EXSTYLE, style);
  EXPECT_FALSE(GetWindowLong(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(reinterpret_cast<QWidget*>(window)->isVisible());
}

TEST_F(FormTest, AWindowsExtendedStyleGoesWithIt) {
  auto* form = Application().CreateForm<TForm>();
  form->SetFormStyle(fsStayOnTop);
  const HWND gone = form->Handle();
  ASSERT_TRUE(GetWindowLong(gone, GWL_EXSTYLE) & WS_EX_TOPMOST);
  delete form;
  // Only the handle's value is used: a new window may be given the same one.
  EXPECT_EQ(GetWindowLong(gone, GWL_EXSTYLE), 0);
}

TEST_F(FormTest, CreateParamsExtendedStyleIsReadWhenTheWindowIsMade) {
  struct TAppWindowForm : TForm {
    using TForm::TForm;
    void CreateParams(TCreateParams& params) override { params.ExStyle |= WS_EX_APPWINDOW; }
  };
  auto* form = Application().CreateForm<TAppWindowForm>();
  EXPECT_TRUE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(FormTest, MinimiseCommandMinimisesTheWindow) {
  auto* form = Application().CreateForm<TForm>();
  form->Show();
  form->Perform(WM_SYSCOMMAND, SC_MINIMIZE);
  EXPECT_TRUE(reinterpret_cast<QWidget*>(form->Handle())->isMinimized());
}

TEST_F(FormTest, ErrorsGoToTheReplaceableReport) {
  std::vector<std::string> reports;
  Application().OnException = [&](TObject*, const Exception& error) {
    reports.push_back(error.Message());
  };
  for (auto raise : std::initializer_list<std::function<void()>>{
           [] { throw EInvalidGraphic("Bitmap image is not valid"); },
           [] { throw EAbort("silent"); }, [] { throw std::runtime_error("plain"); }}) {
    try {
      raise();
    } catch (...) {
      Application().HandleException(nullptr);
    }
  }
  EXPECT_EQ(reports, (std::vector<std::string>{"Bitmap image is not valid", "plain"}));
}

}  // namespace
