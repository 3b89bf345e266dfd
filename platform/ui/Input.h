// The pointer and the keyboard as the program can ask about them at any time.
#pragma once

#include <functional>
#include <optional>

#include "platform/ui/Messages.h"

// The mouse pointer in screen coordinates.
class TMouse {
 public:
  TPoint CursorPos() const;
  // Moves the pointer; the position is also kept as the answer to CursorPos
  // until the next real pointer event (so tests on a headless screen can set it).
  void SetCursorPos(TPoint point);
  void ClearOverride() { FOverride.reset(); }

 private:
  std::optional<TPoint> FOverride;
};
TMouse& Mouse();

// Negative (top bit set) while the key is held down, else 0. Shift, Ctrl and Alt
// are asked of the keyboard at the moment of the call; tests may answer instead.
int16_t GetKeyState(int virtualKey);
// Replaces the key-state answer (nullptr restores the real one).
void SetKeyStateHandler(std::function<bool(int virtualKey)> isDown);
