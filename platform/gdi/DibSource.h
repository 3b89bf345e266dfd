// Reading a packed DIB described by a BITMAPINFO: its layout, colour table and
// masks, and a pixel view over its bits (run-length data decoded first).
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/PixelFormat.h"

namespace gdi {

struct TDibLayout {
  int32_t Width = 0;
  int32_t Height = 0;  // always positive
  bool TopDown = false;
  uint32_t Compression = BI_RGB;
  int64_t RowBytes = 0;
  int64_t ImageBytes = 0;  // the encoded size for run-length data
  TPixelFormat Format;     // ColorTable unset: see Colors
  std::vector<RGBQUAD> Colors;

  TPixelFormat PixelFormat() const;
};

// Checks the header and reads masks and colours. With DIB_PAL_COLORS the table
// holds 16-bit indexes into paletteEntries. False for anything malformed or too big.
bool ParseDibInfo(const BITMAPINFO* info, UINT usage,
                  const std::vector<PALETTEENTRY>& paletteEntries, TDibLayout& layout);

// Pixels of a packed DIB as a view; run-length data is decoded into owned rows.
class TDibSource {
 public:
  bool Open(const BITMAPINFO* info, const void* bits, UINT usage,
            const std::vector<PALETTEENTRY>& paletteEntries);
  TPixelView View() const;
  const TDibLayout& Layout() const { return FLayout; }

 private:
  TDibLayout FLayout;
  std::unique_ptr<uint8_t[]> FDecoded;
  const uint8_t* FBits = nullptr;
};

}  // namespace gdi
