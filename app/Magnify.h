// The magnification dialog.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

class TForm3 : public TForm {
 public:
  LOUPIX_CLASS(TForm3, TForm)
  explicit TForm3(TComponent* owner);

  TSpinEdit* SpinEdit1;
  TButton* Button1;

  void Button1Click(TObject* sender);
};

extern TForm3* Form3;
