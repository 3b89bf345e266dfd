#include <gtest/gtest.h>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Input.h"

namespace {

TEST(FilterTest, SplitsDescriptionsFromPatterns) {
  auto choices = ParseFilter(
      "All (*.dib;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|JPEG Image File "
      "(*.jpg)|*.jpg|"
      "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
  ASSERT_EQ(choices.size(), 4u);
  EXPECT_EQ(choices[0].Description, "All (*.dib;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)");
  EXPECT_EQ(choices[0].Patterns, (std::vector<std::string>{"*.jpg", "*.jpeg", "*.bmp"}));
  EXPECT_EQ(choices[3].Description, "Bitmaps (*.bmp)");
  EXPECT_EQ(choices[3].Patterns, std::vector<std::string>{"*.bmp"});
}

TEST(FilterTest, EmptyOrUnpairedTextGivesNoChoiceForTheLoosePart) {
  EXPECT_TRUE(ParseFilter("").empty());
  EXPECT_TRUE(ParseFilter("Only a description").empty());
  EXPECT_EQ(ParseFilter("A|*.a|B").size(), 1u);
}

TEST(OpenDialogTest, ReplacedChooserKeepsTheLastChosenName) {
  TOpenPictureDialog dialog(nullptr);
  EXPECT_EQ(dialog.FilterIndex(), 1);
  EXPECT_EQ(dialog.FileName(), "");
  SetOpenDialogHandler([](TOpenPictureDialog& d) {
    d.SetFileName("/pictures/a.jpg");
    return true;
  });
  EXPECT_TRUE(dialog.Execute());
  SetOpenDialogHandler([](TOpenPictureDialog&) { return false; });
  EXPECT_FALSE(dialog.Execute());
  SetOpenDialogHandler(nullptr);
  EXPECT_EQ(dialog.FileName(), "/pictures/a.jpg");
}

TEST(SelectDirectoryTest, ReplacedChooserReturnsAFullPath) {
  SetSelectDirectoryHandler([](std::string& directory) {
    directory = "/home/user/pictures";
    return true;
  });
  std::string chosen;
  EXPECT_TRUE(SelectDirectory("", "", chosen));
  EXPECT_EQ(chosen, "/home/user/pictures");
  SetSelectDirectoryHandler([](std::string&) { return false; });
  std::string untouched = "kept";
  EXPECT_FALSE(SelectDirectory("", "", untouched));
  EXPECT_EQ(untouched, "kept");
  SetSelectDirectoryHandler(nullptr);
}

TEST(KeyStateTest, ControlKeyFollowsTheReplacedAnswer) {
  SetKeyStateHandler([](int key) { return key == VK_CONTROL; });
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  SetKeyStateHandler(nullptr);
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
}

TEST(MouseTest, SetPositionIsReadBack) {
  Mouse().SetCursorPos({321, 123});
  EXPECT_EQ(Mouse().CursorPos(), (TPoint{321, 123}));
  Mouse().ClearOverride();
}

}  // namespace
