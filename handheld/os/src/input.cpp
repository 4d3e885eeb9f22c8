#include "handheld/input.h"

#include <array>
#include <atomic>
#include <mutex>

namespace handheld {

namespace {
// Written by the shell's input thread or event filter, read by the user-interface thread during a send.
std::array<std::atomic<bool>, 256> keyDown{};
std::mutex scriptMutex;
KeyStateScript keyScript;
InputPump inputPump;  // set and run on the user-interface thread only
}  // namespace

short GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(keyDown.size())) return 0;
    {
        std::lock_guard lock(scriptMutex);
        if (keyScript) return keyScript(virtualKey) ? static_cast<short>(KEY_STATE_DOWN) : 0;
    }
    if (inputPump) inputPump();
    const bool down = keyDown[virtualKey].load();
    return down ? static_cast<short>(KEY_STATE_DOWN) : 0;
}

void SetKeyDown(int virtualKey, bool down) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(keyDown.size())) return;
    keyDown[virtualKey].store(down);
}

InputPump SetInputPump(InputPump pump) {
    std::swap(pump, inputPump);
    return pump;
}

KeyStateScript SetKeyStateScript(KeyStateScript script) {
    std::lock_guard lock(scriptMutex);
    std::swap(script, keyScript);
    return script;
}

}  // namespace handheld
