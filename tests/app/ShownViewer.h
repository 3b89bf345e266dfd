// The viewer's forms shown on the real display services (instant vertical
// blank), with the choosers, the key state and the error report answered.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Input.h"
#include "surface/DirectDrawSurface.h"
#include "tests/app/ViewerTest.h"
#include "tests/support/DDrawHooks.h"
#include "tests/support/TempTree.h"
#include "tests/support/TestPictures.h"

// A colour per picture, never black (black is the see-through colour), with
// exact 5-6-5 values.
inline Rgb EntryColour(int32_t i) {
  return {static_cast<uint8_t>(8 * (i % 31 + 1)), static_cast<uint8_t>(4 * ((7 * i) % 64)),
          static_cast<uint8_t>(8 * (30 - i % 31))};
}

class ShownViewerTest : public ViewerTest {
 protected:
  void SetUp() override {
    Application().Initialize();
    DDrawHooks().SetInstantVerticalBlank(true);
    ViewerTest::SetUp();
    Application().OnException = [this](TObject*, const Exception& error) {
      Reports.push_back(error.Message());
      if (WhileReportOpen) WhileReportOpen();
    };
    SetOpenDialogHandler([this](TOpenPictureDialog& dialog) {
      ++OpenDialogs;
      if (ChosenFile.empty()) return false;
      dialog.SetFileName(ChosenFile);
      return true;
    });
    SetSelectDirectoryHandler([this](std::string& folder) {
      ++FolderChoosers;
      if (ChosenFolder.empty()) return false;
      folder = ChosenFolder;
      return true;
    });
    SetKeyStateHandler([this](int key) { return key == VK_CONTROL && CtrlHeld; });
    Form1->Show();
    for (int i = 0; i < 100 && !Form1->DXDraw1->Initialized(); ++i) Application().ProcessMessages();
    ASSERT_TRUE(Form1->DXDraw1->Initialized());
  }

  void TearDown() override {
    SetOpenDialogHandler(nullptr);
    SetSelectDirectoryHandler(nullptr);
    SetKeyStateHandler(nullptr);
    Mouse().ClearOverride();
    ViewerTest::TearDown();
  }

  // The user's actions, as the window system delivers them.
  void Key(WORD key) { Form1->DXDraw1->Perform(WM_KEYDOWN, key); }
  void LeftClick(TShiftState shift) {
    Form1->DXDraw1->OnMouseDown(Form1->DXDraw1, mbLeft, shift, 0, 0);
  }
  void Tick() { Form1->Timer1->OnTimer(Form1->Timer1); }
  void MoveTo(int32_t x, int32_t y) {
    Mouse().SetCursorPos({x, y});
    Form1->DXDraw1->OnMouseMove(Form1->DXDraw1, {}, x, y);
  }

  // Writes count BMP pictures of width x height into a fresh folder and opens
  // the folder through the chooser.
  void OpenFolderOf(int32_t count, int32_t width = 40, int32_t height = 30) {
    std::string folder = Tree.Folder("pictures" + std::to_string(++FFolders));
    for (int32_t i = 0; i < count; ++i) {
      std::string path = folder + "/p" + std::to_string(100 + i) + ".bmp";
      WriteBmp(path, width, height, EntryColour(i));
      Colours[path] = Raw565(EntryColour(i));
    }
    ChosenFolder = folder;
    LeftClick({ssShift});
  }

  // The 5-6-5 value of the picture of FileList's entry i.
  uint32_t EntryPixel(int32_t i) { return Colours.at(Form1->FileList->Strings(i)); }
  uint32_t PixelAt(int32_t x, int32_t y) { return Form1->DXDraw1->Surface()->Pixel(x, y); }
  void ClearBackSurface() { Form1->DXDraw1->Surface()->Fill(0); }
  // What was presented at (x, y): the primary surface's pixel.
  uint32_t ScreenPixelAt(int32_t x, int32_t y) { return Form1->DXDraw1->Primary()->Pixel(x, y); }

  TTempTree Tree;
  std::map<std::string, uint32_t> Colours;
  std::string ChosenFile;
  std::string ChosenFolder;
  bool CtrlHeld = false;
  int OpenDialogs = 0;
  int FolderChoosers = 0;
  std::vector<std::string> Reports;
  std::function<void()> WhileReportOpen;

 private:
  int FFolders = 0;
};
