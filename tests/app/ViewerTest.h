// The viewer's forms made as start-up makes them, on Qt's offscreen screen.
#pragma once

#include <gtest/gtest.h>

#include "app/ChangeList.h"
#include "app/ConfigScreen.h"
#include "app/ConfigWindow.h"
#include "app/Magnify.h"
#include "app/Main.h"
#include "app/PageConfig.h"
#include "platform/ui/Application.h"

class ViewerTest : public testing::Test {
 protected:
  void SetUp() override {
    Application().SetTitle("Loupix");
    CreateViewerForms();
  }
  void TearDown() override {
    DoneApplication();
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
  }
};
