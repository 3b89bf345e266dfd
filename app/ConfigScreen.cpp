#include "app/ConfigScreen.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(TComponent* owner) : TForm(owner) {
  SetName("Form6");
  SetUpDialog(*this, "分屏设置", 314, 61, SongFont());
  Label1 = Place<TLabel>(this, "Label1", 10, 12, 72, 12);
  Label1->SetCaption("放大窗口宽度");
  Label2 = Place<TLabel>(this, "Label2", 10, 38, 72, 12);
  Label2->SetCaption("放大窗口高度");
  SpinEdit1 = Place<TSpinEdit>(this, "SpinEdit1", 98, 11, 121, 21);
  SpinEdit1->SetMinValue(1);
  SpinEdit1->SetMaxValue(10);
  SpinEdit1->SetValue(3);
  SpinEdit2 = Place<TSpinEdit>(this, "SpinEdit2", 98, 35, 121, 21);
  SpinEdit2->SetMinValue(1);
  SpinEdit2->SetMaxValue(10);
  SpinEdit2->SetValue(3);
  Button1 = Place<TButton>(this, "Button1", 230, 20, 75, 25);
  Button1->SetCaption("确定");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TForm6::Button1Click(TObject*) {
  Form1->GridColumns = SpinEdit1->Value();
  Form1->GridRows = SpinEdit2->Value();
}
