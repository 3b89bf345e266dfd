#include "app/ChangeList.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* owner) : TForm(owner) {
  SetName("Form5");
  SetUpDialog(*this, "任意位置跳转", 350, 327, SongFont());
  SetFormStyle(fsStayOnTop);
  ListBox1 = Place<TListBox>(this, "ListBox1", 0, 0, 350, 327);
  ListBox1->SetAlign(alClient);
  ListBox1->SetItemHeight(12);
  ListBox1->OnDblClick = [this](TObject* s) {
    Form1->RunHandler("jump list", [&] { ListBox1DblClick(s); });
  };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TForm5::FormShow(TObject*) { ListBox1->Items().Assign(*Form1->FileList); }

void TForm5::ListBox1DblClick(TObject*) {
  int32_t line = ListBox1->ItemIndex();
  if (line < 0 || line >= Form1->FileList->Count()) return;
  Form1->PageIndex = line;
  Form1->ShowPictureFile(0, 0, Form1->FileList->Strings(line), true);
  Form1->AdvanceIndex();
}
