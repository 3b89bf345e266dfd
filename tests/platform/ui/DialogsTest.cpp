#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "platform/ui/Application.h"
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

// The real choosers, answered by typing a path into the name field and pressing
// Return there or in the completion list; a chooser still open afterwards is
// cancelled.
class TypedPathTest : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    Application();
    FFolder = std::filesystem::temp_directory_path() / ("loupix-typed-" + std::to_string(getpid()));
    std::filesystem::create_directories(FFolder / "sub");
    for (const char* name : {"photo1.bmp", "photo10.bmp", "photo2.bmp"})
      std::ofstream(FFolder / name) << "BM";
  }
  void TearDown() override {
    std::filesystem::remove_all(FFolder);
    DoneApplication();
  }
  std::string Path(const char* name) const { return (FFolder / name).string(); }

  // Answers the next chooser that shows; whatever stays open afterwards (the
  // chooser, or its warning about a name that does not exist) is cancelled.
  void Type(const std::string& text) const {
    const bool inList = GetParam();
    QTimer::singleShot(0, [text, inList] {
      auto* chooser = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      auto* name =
          chooser ? chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
      if (!name) return;
      // As a person types: into the name field, which has the focus.
      QApplication::setActiveWindow(chooser);
      name->setFocus();
      name->clear();
      for (QChar c : QString::fromStdString(text)) {
        QWidget* at = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : name;
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(at, &key);
        QApplication::processEvents();
      }
      QWidget* target = name;
      if (inList && name->completer()) {
        if (!name->completer()->popup()->isVisible()) name->completer()->complete();
        target = name->completer()->popup();
      }
      auto* closer = new QTimer(chooser);
      QObject::connect(closer, &QTimer::timeout, [] {
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) open->reject();
      });
      closer->start(20);
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(target, &press);
    });
  }

  std::filesystem::path FFolder;
};

TEST_P(TypedPathTest, ReturnOpensATypedFile) {
  TOpenPictureDialog dialog(nullptr);
  dialog.SetFilter("Bitmaps (*.bmp)|*.bmp");
  Type(Path("photo1.bmp"));
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), Path("photo1.bmp"));
  // A name alone is looked for in the folder the chooser shows: that of the last file.
  Type("photo10.bmp");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), Path("photo10.bmp"));
}

TEST_P(TypedPathTest, ANameThatIsNoFileOpensNothing) {
  TOpenPictureDialog dialog(nullptr);
  dialog.SetFileName(Path("photo2.bmp"));
  Type(Path("photo3.bmp"));
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), Path("photo2.bmp"));
}

TEST_P(TypedPathTest, ReturnOpensATypedFolder) {
  std::string chosen;
  Type(Path("sub"));
  ASSERT_TRUE(SelectDirectory("", FFolder.string(), chosen));
  EXPECT_EQ(chosen, Path("sub"));
}

INSTANTIATE_TEST_SUITE_P(Where, TypedPathTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& where) {
                           return where.param ? "InCompletionList" : "InNameField";
                         });

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
