// The main window: start-up, the viewer state, the picture list and the
// handlers of keys, clicks, the context menu and the slideshow timer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/DecodeAhead.h"
#include "app/FrameTrace.h"
#include "app/GridGeometry.h"
#include "display/DXDraw.h"
#include "display/DXForm.h"
#include "pictures/DXImageList.h"
#include "platform/framework/StringList.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"

class TForm1 : public TDXForm {
 public:
  LOUPIX_CLASS(TForm1, TDXForm)
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  // Components, owned by the form.
  TDXDraw* DXDraw1;
  TPanel* DxDraw2;
  TDXImageList* DXImageList1;
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
  // Loads a picture file into item k of the picture list.
  void LoadIntoItem(int32_t k, const std::string& fileName);
  // Optionally loads the file into item 0, then draws it at (x, y) and presents.
  void ShowPictureFile(int32_t x, int32_t y, const std::string& fileName, bool reload);
  // Draws item 0 again at the offsets without presenting.
  void RedrawPicture();
  // Draws grid page PageIndex; with reload it loads the page first and presents.
  void DrawGrid(bool reload);
  void LoadGridPicture(int32_t k, const std::string& fileName);
  // Where the lens panel stands on the display control.
  static TRect PanelRectOnDisplay(const TControl& panel, const TControl& display);

  // What follows a choice in the file chooser (which then holds the name) or
  // in the folder chooser; a path from the command line takes the same way.
  void OpenChosenFile(const std::string& fileName);
  void OpenChosenFolder(const std::string& folder);

  // Runs a handler (trigger names what asked for it); an error it raises ends it and
  // goes to the error report. While a report is open the slideshow does not tick.
  // Afterwards decode-ahead turns to what comes next.
  void RunHandler(const std::string& trigger, const std::function<void()>& handler);
  bool ErrorReportOpen() const { return FErrorReportOpen; }
  TDecodeAhead& DecodeAhead() { return FDecodeAhead; }
  TFrameTrace& Trace() { return FTrace; }
  const TBusyPointer& BusyPointer() const { return FBusyPointer; }

  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void DXDraw1KeyDown(TObject* sender, WORD& key, TShiftState shift);
  void DXDraw1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int32_t x,
                        int32_t y);
  void DXDraw1MouseMove(TObject* sender, TShiftState shift, int32_t x, int32_t y);
  void DXDraw1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int32_t x,
                      int32_t y);
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
  void CreateDisplay();
  void CreatePictureList();
  void CreateMenu();
  void WireEvents();
  void SetUpPalette();

  void OpenPictureFile();
  void ShowChosenFile();
  void OpenFolder();
  // Loads a file into item k; cell is the grid cell it is shown in (0 x 0: the single view).
  void LoadPicture(int32_t k, const std::string& fileName, TSize cell);
  void RestoreItems(TPictureCollectionItem* only);
  void Present();
  TGridLayout GridLayout() const;
  TViewerSituation Situation() const;
  void MovePage(int32_t step);
  void MoveOffsets(WORD key);
  void ShowPage();
  void ShowCurrentPicture();
  const std::string& CurrentEntry() const;
  void DrawPictureAt(int32_t x, int32_t y);
  void ResetGridItems(int32_t cells);
  void DrawLens(const TRect& source);
  void RedrawBackground();

  bool FErrorReportOpen = false;
  int32_t FPagingDirection = 1;
  TDecodeAhead FDecodeAhead{TDecodeAhead::ModeFromEnvironment()};
  TFrameTrace FTrace{TFrameTrace::EnabledByEnvironment()};
  TBusyPointer FBusyPointer;
};

extern TForm1* Form1;

// Makes the main window and the five dialogs, in start-up order.
void CreateViewerForms();

// The filter of the open dialog.
inline constexpr const char* kPictureFilter =
    "All (*.dib;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|JPEG Image File "
    "(*.jpg)|*.jpg|"
    "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";
