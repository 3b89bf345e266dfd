// Base of forms that carry a display control: each gets its own task-bar button,
// the application's hidden window none, and minimising goes through the window
// system's own handling.
#pragma once

#include "platform/ui/Forms.h"

class TDXForm : public TForm {
 public:
  LOUPIX_CLASS(TDXForm, TForm)
  explicit TDXForm(TComponent* owner);
  ~TDXForm() override;

  // TDXForm objects alive in the process.
  static int LiveFormCount();

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};
