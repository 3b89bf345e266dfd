// The slideshow interval dialog.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

class TForm4 : public TForm {
 public:
  LOUPIX_CLASS(TForm4, TForm)
  explicit TForm4(TComponent* owner);

  TLabel* Label1;
  TSpinEdit* SpinEdit1;
  TLabel* Label2;
  TButton* Button1;

  void Button1Click(TObject* sender);
};

extern TForm4* Form4;
