#include "app/Main.h"

#include "app/ChangeList.h"
#include "app/ConfigScreen.h"
#include "app/ConfigWindow.h"
#include "app/Magnify.h"
#include "app/PageConfig.h"
#include "app/PictureList.h"
#include "platform/ui/Application.h"

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

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetName("Form1");
  SetCaption("Form1");
  SetBorderStyle(bsNone);
  SetWindowState(wsMaximized);

  DXDraw1 = new TWinControl(this);
  DXDraw1->SetName("DXDraw1");
  DXDraw1->SetParent(this);
  DXDraw1->SetAlign(alClient);

  DxDraw2 = new TPanel(this);
  DxDraw2->SetName("DxDraw2");
  DxDraw2->SetVisible(false);
  DxDraw2->SetBounds(104, 72, 257, 273);
  DxDraw2->SetParent(this);

  DXImageList1 = new TComponent(this);
  DXImageList1->SetName("DXImageList1");

  OpenPictureDialog1 = new TOpenPictureDialog(this);
  OpenPictureDialog1->SetName("OpenPictureDialog1");
  OpenPictureDialog1->SetFilter(kPictureFilter);

  CreateMenu();
  DXDraw1->SetPopupMenu(PopupMenu1);

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1000);
  Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

  DXDraw1->OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { DXDraw1KeyDown(s, key, shift); };
  OnKeyDown = DXDraw1->OnKeyDown;
  DXDraw1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
    DXDraw1MouseDown(s, b, sh, x, y);
  };
  DXDraw1->OnMouseMove = [this](TObject* s, TShiftState sh, int32_t x, int32_t y) { DXDraw1MouseMove(s, sh, x, y); };
  DXDraw1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
    DXDraw1MouseUp(s, b, sh, x, y);
  };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TForm1::~TForm1() { BeforeDestruction(); }

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
    if (row.Handler) item->OnClick = [this, handler = row.Handler](TObject* s) { (this->*handler)(s); };
    PopupMenu1->Items().Add(item);
    this->*row.Field = item;
  }
}

void TForm1::FormCreate(TObject*) {
  FileList = std::make_unique<TStringList>();
  // The palette set-up joins here once the display control exists.
}

void TForm1::FormDestroy(TObject*) { FileList.reset(); }

void TForm1::AdvanceIndex() { PageIndex = ::AdvanceIndex(PageIndex, FileList->Count()); }

void TForm1::ScanFolder(const std::string& folder, TStringList& list) {
  ::ScanFolder(folder, list, [] { return Application().Terminated(); });
}

void TForm1::ShowPictureFile(int32_t, int32_t, const std::string&, bool) {}

void TForm1::DXDraw1KeyDown(TObject*, WORD& key, TShiftState) {
  if (key == VK_ESCAPE) Application().Terminate();
}

void TForm1::DXDraw1MouseDown(TObject*, TMouseButton, TShiftState, int32_t, int32_t) {}

void TForm1::DXDraw1MouseMove(TObject*, TShiftState, int32_t, int32_t) {}

void TForm1::DXDraw1MouseUp(TObject*, TMouseButton, TShiftState, int32_t, int32_t) {}

void TForm1::Timer1Timer(TObject*) {}

void TForm1::N1Click(TObject*) { Form3->ShowModal(); }

void TForm1::N2Click(TObject*) { AutoTrack = N2->Checked(); }

void TForm1::N3Click(TObject*) {}

void TForm1::N7Click(TObject* sender) { DXDraw1MouseDown(sender, mbLeft, {ssCtrl}, 0, 0); }

void TForm1::N8Click(TObject* sender) { DXDraw1MouseDown(sender, mbLeft, {ssShift}, 0, 0); }

void TForm1::N10Click(TObject*) { Form2->ShowModal(); }

void TForm1::N12Click(TObject*) {
  N12->SetChecked(true);
  Timer1->SetEnabled(true);
}

void TForm1::N13Click(TObject*) {
  N13->SetChecked(true);
  Timer1->SetEnabled(false);
}

void TForm1::N14Click(TObject*) { Form4->ShowModal(); }

void TForm1::N16Click(TObject*) {}

void TForm1::N17Click(TObject*) {}

void TForm1::N18Click(TObject*) { Form5->Show(); }

void TForm1::N20Click(TObject*) {}

void TForm1::N21Click(TObject*) { Form6->ShowModal(); }
