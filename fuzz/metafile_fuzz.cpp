// .wmf and .emf data through TMetafile::ReadFromStream, then drawing it on a bitmap.
#include <cstddef>
#include <cstdint>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Metafile.h"
#include "platform/framework/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCustomMemoryStream stream(const_cast<uint8_t*>(data), static_cast<int64_t>(size));
  TMetafile metafile;
  try {
    metafile.ReadFromStream(stream);
  } catch (const Exception&) {
    return 0;
  }
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(32, 32);
  target.Canvas().StretchDraw(Rect(0, 0, 32, 32), &metafile);
  return 0;
}
