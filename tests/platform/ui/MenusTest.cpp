#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

namespace {

class MenuTest : public testing::Test {
 protected:
  TMenuItem* Item(const char* caption, bool autoCheck = false, bool radio = false,
                  uint8_t group = 0) {
    auto* item = new TMenuItem(&FForm);
    item->SetCaption(caption);
    item->SetAutoCheck(autoCheck);
    item->SetRadioItem(radio);
    item->SetGroupIndex(group);
    FMenu->Items().Add(item);
    return item;
  }
  TForm FForm{nullptr};
  TPopupMenu* FMenu = new TPopupMenu(&FForm);
};

TEST_F(MenuTest, CheckItemTogglesBeforeItsCommandRuns) {
  TMenuItem* check = Item("check", true);
  std::vector<bool> seen;
  check->OnClick = [&](TObject*) { seen.push_back(check->Checked()); };
  check->Click();
  check->Click();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(MenuTest, PlainAndRadioItemsDoNotToggleByThemselves) {
  TMenuItem* plain = Item("plain");
  TMenuItem* radio = Item("radio", false, true, 5);
  plain->Click();
  radio->Click();
  EXPECT_FALSE(plain->Checked());
  EXPECT_FALSE(radio->Checked());
}

TEST_F(MenuTest, CheckingARadioItemClearsItsGroupOnly) {
  TMenuItem* on = Item("on", false, true, 5);
  TMenuItem* off = Item("off", false, true, 5);
  TMenuItem* other = Item("other", false, true, 6);
  TMenuItem* check = Item("check", true, false, 5);
  other->SetChecked(true);
  check->SetChecked(true);
  off->SetChecked(true);
  on->SetChecked(true);
  EXPECT_TRUE(on->Checked());
  EXPECT_FALSE(off->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_TRUE(check->Checked());
  off->SetChecked(true);
  EXPECT_FALSE(on->Checked());
}

TEST_F(MenuTest, DashCaptionIsASeparator) {
  EXPECT_TRUE(Item("-")->IsLine());
  EXPECT_FALSE(Item("--")->IsLine());
}

TEST_F(MenuTest, PopupTellsTheOwningFormFirst) {
  std::vector<std::string> events;
  FForm.SetWindowProc([&](TMessage& message) {
    if (message.Msg == WM_INITMENU) events.push_back("initmenu");
  });
  TMenuItem* item = Item("go");
  item->OnClick = [&](TObject*) { events.push_back("click"); };
  SetPopupHandler([&](TPopupMenu& menu, TPoint at) {
    events.push_back("open " + std::to_string(at.X) + "," + std::to_string(at.Y));
    menu.Items().Items(0)->Click();
  });
  FMenu->Popup(30, 40);
  SetPopupHandler(nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"initmenu", "open 30,40", "click"}));
}

TEST_F(MenuTest, RightClickOnAControlOpensItsMenuAtTheScreenPoint) {
  auto* control = new TWinControl(&FForm);
  control->SetParent(&FForm);
  control->SetBounds(10, 20, 100, 100);
  control->SetPopupMenu(FMenu);
  TPoint opened{-1, -1};
  SetPopupHandler([&](TPopupMenu&, TPoint at) { opened = at; });
  control->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakePointParam(5, 6));
  EXPECT_EQ(opened, (TPoint{-1, -1}));
  control->Perform(WM_RBUTTONUP, 0, MakePointParam(5, 6));
  SetPopupHandler(nullptr);
  EXPECT_EQ(opened, control->ClientToScreen({5, 6}));
}

}  // namespace
