// The state of the stylus and keys as the handheld reports it asynchronously, also while the
// user-interface thread is busy (sending blocks it). The shell keeps it current; tests script it.
#pragma once

#include <functional>

#include "handheld/types.h"

namespace handheld {

inline constexpr int VK_LBUTTON = 0x01;  // the stylus

// Set in GetAsyncKeyState's result while the key is down (the sign bit of the 16-bit state).
inline constexpr unsigned short KEY_STATE_DOWN = 0x8000;

short GetAsyncKeyState(int virtualKey);

// The shell records presses and releases here as they happen.
void SetKeyDown(int virtualKey, bool down);

// Called by GetAsyncKeyState before it reads the recorded state, so that the shell can take input that
// arrived while the user-interface thread was busy off the queue and record it (null: none).
using InputPump = std::function<void()>;
InputPump SetInputPump(InputPump pump);

// Tests and tools: answer GetAsyncKeyState from a script instead (null restores the recorded state).
using KeyStateScript = std::function<bool(int virtualKey)>;
KeyStateScript SetKeyStateScript(KeyStateScript script);

}  // namespace handheld
