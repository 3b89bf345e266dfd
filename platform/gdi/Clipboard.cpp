// An in-process clipboard: one global block per format, owned once set.
#include <map>

#include "platform/gdi/GlobalMemory.h"

namespace {

struct TClipboard {
  bool Open = false;
  std::map<UINT, HANDLE> Data;

  void Clear() {
    for (const auto& [format, block] : Data) GlobalFree(static_cast<HGLOBAL>(block));
    Data.clear();
  }
};

// Deliberately never destroyed, like the block table it refers to.
TClipboard& Clipboard() {
  static auto* clipboard = new TClipboard;
  return *clipboard;
}

}  // namespace

BOOL OpenClipboard(HWND) {
  TClipboard& clipboard = Clipboard();
  if (clipboard.Open) return FALSE_;
  clipboard.Open = true;
  return TRUE_;
}

BOOL CloseClipboard() {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.Open) return FALSE_;
  clipboard.Open = false;
  return TRUE_;
}

BOOL EmptyClipboard() {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.Open) return FALSE_;
  clipboard.Clear();
  return TRUE_;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  TClipboard& clipboard = Clipboard();
  const auto block = static_cast<HGLOBAL>(data);
  if (!clipboard.Open || !gdi::IsGlobalBlock(block)) return nullptr;
  HANDLE& slot = clipboard.Data[format];
  if (slot && slot != data) GlobalFree(static_cast<HGLOBAL>(slot));
  slot = data;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.Open) return nullptr;
  const auto it = clipboard.Data.find(format);
  return it == clipboard.Data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  const TClipboard& clipboard = Clipboard();
  const auto it = clipboard.Data.find(format);
  return it != clipboard.Data.end() && gdi::IsGlobalBlock(static_cast<HGLOBAL>(it->second))
             ? TRUE_
             : FALSE_;
}
