#include "app/Main.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>

#include "app/ChangeList.h"
#include "app/ConfigScreen.h"
#include "app/ConfigWindow.h"
#include "app/GridGeometry.h"
#include "app/LensGeometry.h"
#include "app/Magnify.h"
#include "app/PageConfig.h"
#include "app/PictureList.h"
#include "display/FlagScope.h"
#include "image/JpegRoute.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Input.h"
#include "surface/DirectDrawSurface.h"

TForm1* Form1 = nullptr;

namespace {

enum class TItemKind { Command, Line, Check, Radio };

struct TMenuRow {
  TMenuItem* TForm1::*Field;
  const char* Name;
  const char* Caption;
  TItemKind Kind;
  uint8_t Group;
  bool Checked;
  void (TForm1::*Handler)(TObject*);
};

using K = TItemKind;

// What the trace calls a key.
std::string KeyName(WORD key) {
  switch (key) {
    case VK_NEXT:
      return "Page Down";
    case VK_PRIOR:
      return "Page Up";
    case VK_ESCAPE:
      return "Esc";
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return "arrow key";
    default:
      return "key " + std::to_string(key);
  }
}

// The context menu in display order.
const TMenuRow kMenu[] = {
    {&TForm1::N1, "N1", "设置放大倍数", K::Command, 0, false, &TForm1::N1Click},
    {&TForm1::N10, "N10", "设置窗口尺寸", K::Command, 4, false, &TForm1::N10Click},
    {&TForm1::N3, "N3", "关闭放大窗口", K::Command, 4, false, &TForm1::N3Click},
    {&TForm1::N9, "N9", "-", K::Line, 4, false, nullptr},
    {&TForm1::N2, "N2", "应用自动跟踪", K::Check, 4, true, &TForm1::N2Click},
    {&TForm1::N4, "N4", "拉伸图像", K::Check, 4, false, nullptr},
    {&TForm1::N5, "N5", "透明放大", K::Check, 4, false, nullptr},
    {&TForm1::N11, "N11", "-", K::Line, 4, false, nullptr},
    {&TForm1::N12, "N12", "启动自动翻页", K::Radio, 5, false, &TForm1::N12Click},
    {&TForm1::N13, "N13", "关闭自动翻页", K::Radio, 5, true, &TForm1::N13Click},
    {&TForm1::N14, "N14", "设置翻页间隔", K::Command, 6, false, &TForm1::N14Click},
    {&TForm1::N15, "N15", "-", K::Line, 6, false, nullptr},
    {&TForm1::N16, "N16", "跳转到开始", K::Command, 6, false, &TForm1::N16Click},
    {&TForm1::N17, "N17", "跳转到最后", K::Command, 6, false, &TForm1::N17Click},
    {&TForm1::N18, "N18", "任意位置跳转", K::Command, 6, false, &TForm1::N18Click},
    {&TForm1::N6, "N6", "-", K::Line, 6, false, nullptr},
    {&TForm1::N20, "N20", "分屏显示", K::Check, 6, false, &TForm1::N20Click},
    {&TForm1::N21, "N21", "分屏设置", K::Command, 6, false, &TForm1::N21Click},
    {&TForm1::N19, "N19", "-", K::Line, 6, false, nullptr},
    {&TForm1::N7, "N7", "打开图片文件", K::Command, 6, false, &TForm1::N7Click},
    {&TForm1::N8, "N8", "打开图片目录", K::Command, 6, false, &TForm1::N8Click},
};

}  // namespace

TForm1::TForm1(TComponent* owner) : TDXForm(owner) {
  SetName("Form1");
  SetCaption("Form1");
  SetBorderStyle(bsNone);
  SetWindowState(wsMaximized);

  CreateDisplay();
  DxDraw2 = new TPanel(this);
  DxDraw2->SetName("DxDraw2");
  DxDraw2->SetVisible(false);
  DxDraw2->SetBounds(104, 72, 257, 273);
  DxDraw2->SetParent(this);
  CreatePictureList();

  OpenPictureDialog1 = new TOpenPictureDialog(this);
  OpenPictureDialog1->SetName("OpenPictureDialog1");
  OpenPictureDialog1->SetFilter(kPictureFilter);

  CreateMenu();
  DXDraw1->SetPopupMenu(PopupMenu1);

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1000);

  WireEvents();
  DXDraw1->EndLoading();
}

TForm1::~TForm1() { BeforeDestruction(); }

void TForm1::CreateDisplay() {
  DXDraw1 = new TDXDraw(this);
  DXDraw1->BeginLoading();  // the form description's settings, then Loaded
  DXDraw1->SetName("DXDraw1");
  DXDraw1->SetParent(this);
  DXDraw1->SetAlign(alClient);
  DXDraw1->SetAutoInitialize(true);
  DXDraw1->SetAutoSize(true);
  DXDraw1->Display().SetWidth(1024);
  DXDraw1->Display().SetHeight(768);
  DXDraw1->Display().SetBitCount(16);
  DXDraw1->Display().SetFixedBitCount(true);
  DXDraw1->Display().SetFixedRatio(true);
  DXDraw1->Display().SetFixedSize(false);
  DXDraw1->SetOptions({doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank,
                       doAllowPalette256, doDirectX7Mode, doHardware, doSelectDriver});
}

void TForm1::CreatePictureList() {
  DXImageList1 = new TDXImageList(this);
  DXImageList1->SetName("DXImageList1");
  // Item 0: an empty picture, whole-picture pattern, video memory, black keyed out.
  DXImageList1->Items().Add();
  DXImageList1->SetDXDraw(DXDraw1);
}

void TForm1::CreateMenu() {
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  for (const TMenuRow& row : kMenu) {
    auto* item = new TMenuItem(this);
    item->SetName(row.Name);
    item->SetCaption(row.Caption);
    item->SetAutoCheck(row.Kind == K::Check);
    item->SetRadioItem(row.Kind == K::Radio);
    item->SetGroupIndex(row.Group);
    item->SetChecked(row.Checked);
    if (row.Handler)
      item->OnClick = [this, handler = row.Handler, caption = row.Caption](TObject* s) {
        RunHandler(caption, [&] { (this->*handler)(s); });
      };
    PopupMenu1->Items().Add(item);
    this->*row.Field = item;
  }
}

void TForm1::WireEvents() {
  Timer1->OnTimer = [this](TObject* s) { RunHandler("slideshow tick", [&] { Timer1Timer(s); }); };
  DXDraw1->OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) {
    RunHandler(KeyName(key), [&] { DXDraw1KeyDown(s, key, shift); });
  };
  OnKeyDown = DXDraw1->OnKeyDown;
  DXDraw1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
    RunHandler("click", [&] { DXDraw1MouseDown(s, b, sh, x, y); });
  };
  DXDraw1->OnMouseMove = [this](TObject* s, TShiftState sh, int32_t x, int32_t y) {
    RunHandler("pointer move", [&] { DXDraw1MouseMove(s, sh, x, y); });
  };
  DXDraw1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
    DXDraw1MouseUp(s, b, sh, x, y);
  };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

void TForm1::RunHandler(const std::string& trigger, const std::function<void()>& handler) {
  FTrace.Begin(trigger);
  try {
    handler();
  } catch (...) {
    TFlagScope open(FErrorReportOpen);
    Application().HandleException(this);
  }
  FDecodeAhead.Retarget(Situation());
}

TViewerSituation TForm1::Situation() const {
  TViewerSituation situation;
  if (!FileList) return situation;
  situation.Files = FileList.get();
  const bool grid = N20->Checked();
  situation.Paging = {FileList->Count(), PageIndex, grid ? GridColumns * GridRows : 0,
                      Timer1->Running(), FPagingDirection};
  situation.Cell = GridCellSize(GridLayout());
  situation.SurfaceFormat = SurfaceFormatOf(DXDraw1->Surface());
  return situation;
}

void TForm1::FormCreate(TObject*) {
  FileList = std::make_unique<TStringList>();
  SetUpPalette();
}

// The display control has not made its palette yet; it takes these tables
// when it does.
void TForm1::SetUpPalette() {
  TPictureCollection& items = DXImageList1->Items();
  items.BuildColorTable();
  std::memcpy(DXDraw1->ColorTable(), items.ColorTable(), sizeof(TColorTable));
  std::memcpy(DXDraw1->RestoreColorTable(), items.ColorTable(), sizeof(TColorTable));
  DXDraw1->RefreshPalette();
}

void TForm1::FormDestroy(TObject*) { FileList.reset(); }

void TForm1::AdvanceIndex() { PageIndex = ::AdvanceIndex(PageIndex, FileList->Count()); }

void TForm1::ScanFolder(const std::string& folder, TStringList& list) {
  ::ScanFolder(folder, list, [] { return Application().Terminated(); });
}

// Single view.

void TForm1::LoadIntoItem(int32_t k, const std::string& fileName) { LoadPicture(k, fileName, {}); }

void TForm1::LoadPicture(int32_t k, const std::string& fileName, TSize cell) {
  TPictureCollectionItem& item = *DXImageList1->Items().Items(k);
  TLoadTimes times;
  bool ahead = false;
  if (IsJpegFileName(fileName)) {
    const TJpegJob job = JpegJobFor(fileName, cell, SurfaceFormatOf(DXDraw1->Surface()));
    ahead = FDecodeAhead.LoadPrepared(item, job, times);
    if (!ahead) LoadJpegIntoPicture(item.Picture(), fileName, cell, &times);
  } else {
    const auto start = std::chrono::steady_clock::now();
    item.Picture().LoadPictureFile(fileName);
    times.ReadMs = MillisecondsSince(start);
  }
  FTrace.Loaded(fileName, times, ahead);
}

// The whole collection, or one item.
void TForm1::RestoreItems(TPictureCollectionItem* only) {
  const auto start = std::chrono::steady_clock::now();
  if (only)
    only->Restore();
  else
    DXImageList1->Items().Restore();
  FTrace.Converted(MillisecondsSince(start));
}

void TForm1::Present() {
  DXDraw1->Flip();
  FTrace.Presented();
}

void TForm1::ShowPictureFile(int32_t x, int32_t y, const std::string& fileName, bool reload) {
  std::optional<TBusyWait> busy;
  if (reload) {
    busy.emplace(FBusyPointer, Handle());
    LoadIntoItem(0, fileName);
    RestoreItems(nullptr);
  }
  DrawPictureAt(x, y);
  Present();
}

void TForm1::RedrawPicture() { DrawPictureAt(OffsetX, OffsetY); }

// Before the display control is initialised there is no back surface to draw on.
void TForm1::DrawPictureAt(int32_t x, int32_t y) {
  TDirectDrawSurface* surface = DXDraw1->Surface();
  if (!surface) return;
  surface->Fill(0);
  TPictureCollectionItem* item = DXImageList1->Items().Items(0);
  if (N4->Checked())
    item->StretchDraw(surface, surface->ClientRect(), 0);
  else
    item->Draw(surface, x, y, 0);
}

// The entry on screen: the index has usually moved on past it already.
const std::string& TForm1::CurrentEntry() const {
  return FileList->Strings(std::max(PageIndex - 1, 0));
}

void TForm1::ShowCurrentPicture() {
  if (FileList->Count() > 0)
    ShowPictureFile(OffsetX, OffsetY, CurrentEntry(), false);
  else if (!OpenPictureDialog1->FileName().empty())
    ShowPictureFile(OffsetX, OffsetY, OpenPictureDialog1->FileName(), false);
}

void TForm1::ShowPage() {
  if (N20->Checked())
    DrawGrid(true);
  else
    ShowPictureFile(OffsetX, OffsetY, FileList->Strings(PageIndex), true);
}

// Clicks and keys.

void TForm1::DXDraw1MouseDown(TObject*, TMouseButton button, TShiftState shift, int32_t, int32_t) {
  if (button != mbLeft) return;
  if (shift.Contains(ssCtrl))
    OpenPictureFile();
  else if (shift.Contains(ssShift))
    OpenFolder();
  else
    LensOn = !LensOn;
}

void TForm1::OpenPictureFile() {
  if (!OpenPictureDialog1->Execute()) return;
  ShowChosenFile();
}

void TForm1::OpenChosenFile(const std::string& fileName) {
  OpenPictureDialog1->SetFileName(fileName);
  ShowChosenFile();
}

void TForm1::ShowChosenFile() {
  ShowPictureFile(0, 0, OpenPictureDialog1->FileName(), true);
  OffsetX = 0;
  OffsetY = 0;
}

void TForm1::OpenFolder() {
  std::string folder;
  if (!SelectDirectory("", "", folder)) return;
  OpenChosenFolder(folder);
}

void TForm1::OpenChosenFolder(const std::string& folder) {
  FPagingDirection = 1;
  FileList->Clear();
  PageIndex = 0;
  ScanFolder(folder, *FileList);
  if (FileList->Count() == 0) return;
  ShowPictureFile(0, 0, FileList->Strings(PageIndex), true);
  AdvanceIndex();
  OffsetX = 0;
  OffsetY = 0;
}

void TForm1::DXDraw1KeyDown(TObject*, WORD& key, TShiftState) {
  if (key == VK_ESCAPE) {
    Application().Terminate();
  } else if ((key == VK_PRIOR || key == VK_NEXT) && FileList->Count() > 0) {
    MovePage(key == VK_PRIOR ? -1 : 1);
    ShowPage();
  } else if (key >= VK_LEFT && key <= VK_DOWN && !N20->Checked()) {
    MoveOffsets(key);
    ShowCurrentPicture();
  }
}

void TForm1::MovePage(int32_t step) {
  FPagingDirection = step;
  PageIndex = std::clamp(PageIndex + step, 0, FileList->Count() - 1);
}

void TForm1::MoveOffsets(WORD key) {
  constexpr int32_t kStep = 15;
  switch (key) {
    case VK_UP:
      OffsetY -= kStep;
      break;
    case VK_DOWN:
      OffsetY += kStep;
      break;
    case VK_LEFT:
      OffsetX -= kStep;
      break;
    case VK_RIGHT:
      OffsetX += kStep;
      break;
    default:
      break;
  }
}

void TForm1::DXDraw1MouseUp(TObject*, TMouseButton, TShiftState, int32_t, int32_t) {}

// Slideshow and jumps.

void TForm1::Timer1Timer(TObject*) {
  if (FErrorReportOpen || FileList->Count() == 0 || GetKeyState(VK_CONTROL) < 0) return;
  try {
    ShowPage();
  } catch (...) {
    // The index stays on the file that failed, so every later tick would report it
    // again and leave the user no moment to stop the slideshow: stop it here.
    N13Click(nullptr);
    throw;
  }
  AdvanceIndex();
}

void TForm1::N12Click(TObject*) {
  N12->SetChecked(true);
  Timer1->SetEnabled(true);
}

void TForm1::N13Click(TObject*) {
  N13->SetChecked(true);
  Timer1->SetEnabled(false);
}

void TForm1::N16Click(TObject*) {
  if (FileList->Count() == 0) return;
  PageIndex = 0;
  ShowPictureFile(0, 0, FileList->Strings(0), true);
  AdvanceIndex();
}

void TForm1::N17Click(TObject*) {
  if (FileList->Count() == 0) return;
  PageIndex = FileList->Count() - 1;
  ShowPictureFile(0, 0, FileList->Strings(PageIndex), true);
}

// Split-screen grid.

TGridLayout TForm1::GridLayout() const {
  return {GridColumns, GridRows, DXDraw1->SurfaceWidth(), DXDraw1->SurfaceHeight()};
}

void TForm1::DrawGrid(bool reload) {
  const int32_t count = FileList->Count();
  if (count == 0) return;
  const int32_t cells = GridColumns * GridRows;
  std::optional<TBusyWait> busy;
  if (reload) {
    busy.emplace(FBusyPointer, Handle());
    ResetGridItems(cells);
    FDecodeAhead.ShareGridPage(Situation());
  }
  TDirectDrawSurface* surface = DXDraw1->Surface();
  if (surface) surface->Fill(0);
  const TGridLayout layout = GridLayout();
  TPictureCollection& items = DXImageList1->Items();
  int64_t entry = int64_t{PageIndex} * cells;
  int32_t k = 1;
  for (int32_t row = 0; row < GridRows && entry < count; ++row) {
    for (int32_t column = 0; column < GridColumns && entry < count; ++column, ++entry, ++k) {
      if (reload) LoadGridPicture(k, FileList->Strings(static_cast<int32_t>(entry)));
      // The grid may have grown since the items were made; such cells stay empty.
      if (k < items.Count())
        items.Items(k)->StretchDraw(surface, GridCellRect(layout, column, row), 0);
    }
  }
  // A page the list runs out on is presented as well, so no older screen stays.
  if (reload) Present();
}

// Item 0 stays for the single view; items 1 to cells hold the page.
void TForm1::ResetGridItems(int32_t cells) {
  TPictureCollection& items = DXImageList1->Items();
  items.Clear();
  for (int32_t k = 0; k <= cells; ++k) items.Add();
}

void TForm1::LoadGridPicture(int32_t k, const std::string& fileName) {
  LoadPicture(k, fileName, GridCellSize(GridLayout()));
  RestoreItems(DXImageList1->Items().Items(k));
}

void TForm1::N20Click(TObject*) {
  if (FileList->Count() == 0) return;
  if (N20->Checked()) {
    PageIndex = 0;
    DrawGrid(true);
    AdvanceIndex();
  } else {
    ShowPictureFile(OffsetX, OffsetY, CurrentEntry(), true);
  }
}

// Lens.

void TForm1::DXDraw1MouseMove(TObject*, TShiftState, int32_t x, int32_t y) {
  if (!LensOn) return;
  const TLensLayout layout{DXDraw1->SurfaceWidth(), DXDraw1->SurfaceHeight(), DXDraw1->BoundsRect(),
                           DxDraw2->Width(),        DxDraw2->Height(),        Magnification};
  const std::optional<TRect> source = LensSourceRect(layout, {x, y});
  if (!source) return;
  const TPoint cursor = Mouse().CursorPos();
  if (AutoTrack) {
    const TPoint place = TrackedLensPosition(layout, {x, y}, cursor);
    DxDraw2->SetBounds(place.X, place.Y, DxDraw2->Width(), DxDraw2->Height());
  }
  RedrawBackground();
  DrawLens(*source);
  Present();
}

TRect TForm1::PanelRectOnDisplay(const TControl& panel, const TControl& display) {
  return RectAt(display.ScreenToClient({panel.Left(), panel.Top()}), panel.Width(), panel.Height());
}

void TForm1::RedrawBackground() {
  if (N20->Checked())
    DrawGrid(false);
  else
    RedrawPicture();
}

// The copy reads and writes the back surface itself; the display services read
// an overlapping source before writing, so the lens shows the picture as drawn.
void TForm1::DrawLens(const TRect& source) {
  TDirectDrawSurface* surface = DXDraw1->Surface();
  const TRect dest = PanelRectOnDisplay(*DxDraw2, *DXDraw1);
  if (!surface || dest.IsEmpty()) return;
  surface->StretchDraw(dest, source, surface, N5->Checked());
}

void TForm1::N3Click(TObject*) {
  LensOn = false;
  // In the grid too the redrawn page is presented, so the lens goes at once.
  RedrawBackground();
  Present();
}

void TForm1::N2Click(TObject*) { AutoTrack = N2->Checked(); }

// Dialogs.

void TForm1::N1Click(TObject*) { Form3->ShowModal(); }

void TForm1::N7Click(TObject* sender) { DXDraw1MouseDown(sender, mbLeft, {ssCtrl}, 0, 0); }

void TForm1::N8Click(TObject* sender) { DXDraw1MouseDown(sender, mbLeft, {ssShift}, 0, 0); }

void TForm1::N10Click(TObject*) { Form2->ShowModal(); }

void TForm1::N14Click(TObject*) { Form4->ShowModal(); }

void TForm1::N18Click(TObject*) { Form5->Show(); }

void TForm1::N21Click(TObject*) { Form6->ShowModal(); }

void CreateViewerForms() {
  Form1 = Application().CreateForm<TForm1>();
  Form3 = Application().CreateForm<TForm3>();
  Form2 = Application().CreateForm<TForm2>();
  Form4 = Application().CreateForm<TForm4>();
  Form5 = Application().CreateForm<TForm5>();
  Form6 = Application().CreateForm<TForm6>();
}
