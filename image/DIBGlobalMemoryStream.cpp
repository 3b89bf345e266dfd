#include "image/DIBGlobalMemoryStream.h"

#include "platform/gdi/Gdi.h"

TGlobalMemoryStream::TGlobalMemoryStream(HGLOBAL block) : FHandle(block) {
  void* memory = GlobalLock(block);
  // A block that cannot be locked reads as empty.
  SetPointer(memory, memory ? static_cast<int64_t>(GlobalSize(block)) : 0);
}

TGlobalMemoryStream::~TGlobalMemoryStream() {
  if (Memory()) GlobalUnlock(FHandle);
}
