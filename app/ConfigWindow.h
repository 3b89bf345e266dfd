// The lens size dialog.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

class TForm2 : public TForm {
 public:
  LOUPIX_CLASS(TForm2, TForm)
  explicit TForm2(TComponent* owner);

  TLabel* Label1;
  TLabel* Label2;
  TSpinEdit* SpinEdit1;
  TSpinEdit* SpinEdit2;
  TButton* Button1;

  void Button1Click(TObject* sender);
};

extern TForm2* Form2;
