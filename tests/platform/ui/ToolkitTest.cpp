#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/ui/Application.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/Toolkit.h"

namespace {

class ToolkitTest : public testing::Test {
 protected:
  void TearDown() override { DoneApplication(); }
};

TEST_F(ToolkitTest, ChoosersAndTheErrorReportButtonSpeakChinese) {
  EnsureQtApplication();
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString("查找范围："));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QString("确定"));
}

}  // namespace
