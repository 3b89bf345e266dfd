// The grid size dialog.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

class TForm6 : public TForm {
 public:
  LOUPIX_CLASS(TForm6, TForm)
  explicit TForm6(TComponent* owner);

  TLabel* Label1;
  TLabel* Label2;
  TSpinEdit* SpinEdit1;
  TSpinEdit* SpinEdit2;
  TButton* Button1;

  void Button1Click(TObject* sender);
};

extern TForm6* Form6;
