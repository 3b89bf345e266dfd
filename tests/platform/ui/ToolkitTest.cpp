#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>

#include "platform/ui/Application.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/Toolkit.h"

namespace {

class ToolkitTest : public testing::Test {
 protected:
  void TearDown() override {
    DoneApplication();
    SetToolkitArguments({"loupix"});
  }
};

TEST_F(ToolkitTest, ChoosersAndTheErrorReportButtonSpeakChinese) {
  EnsureQtApplication();
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString("查找范围："));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QString("确定"));
}

TEST_F(ToolkitTest, OptionsFromTheCommandLineReachTheToolkit) {
  DoneApplication();
  SetToolkitArguments({"loupix", "-reverse"});
  EnsureQtApplication();
  EXPECT_TRUE(QApplication::isRightToLeft());
  // The toolkit took its option out of the arguments it was given.
  EXPECT_EQ(ToolkitArgumentCount(), 1);
}

TEST_F(ToolkitTest, ArgumentsSetOnceTheToolkitRunsAreIgnored) {
  EnsureQtApplication();
  const int count = ToolkitArgumentCount();
  SetToolkitArguments({"loupix", "-reverse", "-sync"});
  EXPECT_EQ(ToolkitArgumentCount(), count);
}

}  // namespace
