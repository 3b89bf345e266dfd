// .ico data through TIcon::ReadFromStream, then drawing the icon on a bitmap.
#include <cstddef>
#include <cstdint>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Icon.h"
#include "platform/framework/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCustomMemoryStream stream(const_cast<uint8_t*>(data), static_cast<int64_t>(size));
  TIcon icon;
  try {
    icon.ReadFromStream(stream);
  } catch (const Exception&) {
    return 0;
  }
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(16, 16);
  target.Canvas().StretchDraw(Rect(0, 0, 16, 16), &icon);
  return 0;
}
