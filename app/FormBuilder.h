// Small helpers that lay out the forms as their descriptions say.
#pragma once

#include <string>

#include "platform/ui/Forms.h"

// A control made on a form, placed at (left, top) with the given size.
template <typename T>
T* Place(TCustomForm* form, const std::string& name, int32_t left, int32_t top, int32_t width,
         int32_t height) {
  T* control = new T(form);
  control->SetName(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(form);
  return control;
}

// A fixed-size dialog with a close box, centred on the main window when shown.
inline void SetUpDialog(TCustomForm& form, const std::string& caption, int32_t clientWidth,
                        int32_t clientHeight, const TFont& font) {
  form.SetCaption(caption);
  form.SetBorderStyle(bsDialog);
  form.SetPosition(poMainFormCenter);
  form.SetClientWidth(clientWidth);
  form.SetClientHeight(clientHeight);
  form.SetFont(font);
}

// The Song face most dialogs use.
inline TFont SongFont() { return TFont{"宋体", 12, GB2312_CHARSET}; }
