#include "app/ConfigWindow.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* owner) : TForm(owner) {
  SetName("Form2");
  SetUpDialog(*this, "设置", 311, 62, SongFont());
  Label1 = Place<TLabel>(this, "Label1", 10, 12, 72, 12);
  Label1->SetCaption("放大窗口宽度");
  Label2 = Place<TLabel>(this, "Label2", 10, 38, 72, 12);
  Label2->SetCaption("放大窗口高度");
  SpinEdit1 = Place<TSpinEdit>(this, "SpinEdit1", 98, 11, 121, 21);
  SpinEdit1->SetValue(257);
  SpinEdit2 = Place<TSpinEdit>(this, "SpinEdit2", 98, 35, 121, 21);
  SpinEdit2->SetValue(273);
  Button1 = Place<TButton>(this, "Button1", 230, 20, 75, 25);
  Button1->SetCaption("确定");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TForm2::Button1Click(TObject*) {
  Form1->DxDraw2->SetWidth(SpinEdit1->Value());
  Form1->DxDraw2->SetHeight(SpinEdit2->Value());
}
