// A memory stream over a global memory block: locks the block while it lives and
// never frees it (the clipboard owns such blocks).
#pragma once

#include "platform/framework/Stream.h"
#include "platform/gdi/WinTypes.h"

class TGlobalMemoryStream : public TCustomMemoryStream {
 public:
  LOUPIX_CLASS(TGlobalMemoryStream, TCustomMemoryStream)
  explicit TGlobalMemoryStream(HGLOBAL block);
  ~TGlobalMemoryStream() override;
  TGlobalMemoryStream(const TGlobalMemoryStream&) = delete;
  TGlobalMemoryStream& operator=(const TGlobalMemoryStream&) = delete;

 private:
  HGLOBAL FHandle;
};
