// BMP data through TBitmap::ReadFromStream, then reading pixels, drawing, writing
// and reading the written data back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"

namespace {

// Claims up to the framework's 1 GiB bound are sound but slow to allocate; the
// bound itself is covered by the unit tests, so larger claims are skipped here.
constexpr uint64_t kMaxClaimedBytes = uint64_t{4} << 20;

int64_t Field(const uint8_t* data, size_t at, size_t bytes) {
  uint32_t value = 0;
  std::memcpy(&value, data + at, bytes);
  return bytes == 2 ? value : static_cast<int32_t>(value);
}

uint64_t ClaimedBytes(const uint8_t* data, size_t size) {
  if (size < 26) return 0;
  const bool core = Field(data, 14, 4) == 12;
  const uint64_t width = static_cast<uint64_t>(std::llabs(Field(data, 18, core ? 2 : 4)));
  const uint64_t height =
      static_cast<uint64_t>(std::llabs(Field(data, core ? 20 : 22, core ? 2 : 4)));
  return width * height * 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ClaimedBytes(data, size) > kMaxClaimedBytes) return 0;
  TCustomMemoryStream stream(const_cast<uint8_t*>(data), static_cast<int64_t>(size));
  TBitmap bitmap;
  try {
    bitmap.ReadFromStream(stream);
  } catch (const Exception&) {
    return 0;
  }
  if (bitmap.Empty()) return 0;
  volatile TColor sink = bitmap.Canvas().Pixels(bitmap.Width() - 1, bitmap.Height() - 1);
  (void)sink;
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(8, 8);
  target.Canvas().StretchDraw(Rect(0, 0, 8, 8), &bitmap);
  TMemoryStream written;
  bitmap.WriteToStream(written);
  written.SetPosition(0);
  TBitmap again;
  again.ReadFromStream(written);  // what we write must read back
  if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) std::abort();
  return 0;
}
