// A display control set up as the viewer uses it: filling a 1024x768 form, a
// 1024x768 16-bit display mode, and not initialized until the test asks.
#pragma once

#include "display/DXDraw.h"
#include "platform/ui/Forms.h"

template <typename TControl>
TControl* PlaceDXDraw(TForm& form, const TDXDrawOptions& options) {
  form.SetBounds(0, 0, 1024, 768);
  auto* dxDraw = new TControl(&form);  // owned by the form
  dxDraw->SetParent(&form);
  dxDraw->SetAutoInitialize(false);
  dxDraw->SetBounds(0, 0, 1024, 768);
  dxDraw->Display().SetWidth(1024);
  dxDraw->Display().SetHeight(768);
  dxDraw->Display().SetBitCount(16);
  dxDraw->SetOptions(options);
  return dxDraw;
}
