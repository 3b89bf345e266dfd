// The main window: start-up, the viewer state, the picture list and the
// handlers of keys, clicks, the context menu and the slideshow timer.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/StringList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

class TForm1 : public TForm {
 public:
  LOUPIX_CLASS(TForm1, TForm)
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  // Components, owned by the form.
  TWinControl* DXDraw1;
  TPanel* DxDraw2;
  TComponent* DXImageList1;
  TOpenPictureDialog* OpenPictureDialog1;
  TPopupMenu* PopupMenu1;
  TTimer* Timer1;
  TMenuItem *N1, *N2, *N3, *N4, *N5, *N6, *N7, *N8, *N9, *N10, *N11;
  TMenuItem *N12, *N13, *N14, *N15, *N16, *N17, *N18, *N19, *N20, *N21;

  // The viewer state.
  int32_t PageIndex = 0;
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  int32_t Magnification = 4;
  bool LensOn = false;
  bool AutoTrack = true;
  int32_t GridColumns = 3;
  int32_t GridRows = 3;
  std::unique_ptr<TStringList> FileList;

  // PageIndex moves on by one, held on the last entry of FileList.
  void AdvanceIndex();
  // Fills list with the pictures under folder; stops once the application ends.
  static void ScanFolder(const std::string& folder, TStringList& list);
  void ShowPictureFile(int32_t x, int32_t y, const std::string& fileName, bool reload);

  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void DXDraw1KeyDown(TObject* sender, WORD& key, TShiftState shift);
  void DXDraw1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void DXDraw1MouseMove(TObject* sender, TShiftState shift, int32_t x, int32_t y);
  void DXDraw1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void Timer1Timer(TObject* sender);
  void N1Click(TObject* sender);
  void N2Click(TObject* sender);
  void N3Click(TObject* sender);
  void N7Click(TObject* sender);
  void N8Click(TObject* sender);
  void N10Click(TObject* sender);
  void N12Click(TObject* sender);
  void N13Click(TObject* sender);
  void N14Click(TObject* sender);
  void N16Click(TObject* sender);
  void N17Click(TObject* sender);
  void N18Click(TObject* sender);
  void N20Click(TObject* sender);
  void N21Click(TObject* sender);

 private:
  void CreateMenu();
};

extern TForm1* Form1;

// The filter of the open dialog.
inline constexpr const char* kPictureFilter =
    "All (*.dib;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg)|*.jpg|"
    "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";
