// The jump list: every picture of the opened folder, double-click to show one.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TForm5 : public TForm {
 public:
  LOUPIX_CLASS(TForm5, TForm)
  explicit TForm5(TComponent* owner);

  TListBox* ListBox1;

  void FormShow(TObject* sender);
  void ListBox1DblClick(TObject* sender);
};

extern TForm5* Form5;
