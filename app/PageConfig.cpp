#include "app/PageConfig.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* owner) : TForm(owner) {
  SetName("Form4");
  SetUpDialog(*this, "时间设置", 334, 57, SongFont());
  Label1 = Place<TLabel>(this, "Label1", 16, 21, 48, 12);
  Label1->SetCaption("时间间隔");
  SpinEdit1 = Place<TSpinEdit>(this, "SpinEdit1", 75, 18, 121, 21);
  SpinEdit1->SetValue(1000);
  Label2 = Place<TLabel>(this, "Label2", 200, 22, 24, 12);
  Label2->SetCaption("毫秒");
  Button1 = Place<TButton>(this, "Button1", 248, 16, 75, 25);
  Button1->SetCaption("应用");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TForm4::Button1Click(TObject*) { Form1->Timer1->SetInterval(SpinEdit1->Value()); }
