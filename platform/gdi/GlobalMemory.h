// Global memory blocks: process-wide, addressed by handles that are never reused.
#pragma once

#include "platform/gdi/Gdi.h"

namespace gdi {

// True for a live block (the clipboard only takes blocks).
bool IsGlobalBlock(HGLOBAL block);

}  // namespace gdi
