#include "app/Magnify.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner) : TForm(owner) {
  SetName("Form3");
  SetUpDialog(*this, "设置放大倍数", 225, 51, TFont{"MS Sans Serif", 11, DEFAULT_CHARSET});
  SpinEdit1 = Place<TSpinEdit>(this, "SpinEdit1", 16, 16, 121, 22);
  SpinEdit1->SetMinValue(1);
  SpinEdit1->SetMaxValue(100);
  SpinEdit1->SetValue(4);
  Button1 = Place<TButton>(this, "Button1", 160, 16, 57, 25);
  Button1->SetCaption("应用");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TForm3::Button1Click(TObject*) {
  Form1->Magnification = SpinEdit1->Value();
  SetModalResult(mrOk);
}
