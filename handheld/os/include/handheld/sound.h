// Sound playback as the handheld offers it: PlaySoundW on a wave file, synchronous by default.
#pragma once

#include <functional>
#include <string_view>

#include "handheld/types.h"

namespace handheld {

inline constexpr DWORD SND_SYNC = 0x0000;
inline constexpr DWORD SND_ASYNC = 0x0001;
inline constexpr DWORD SND_NODEFAULT = 0x0002;
inline constexpr DWORD SND_FILENAME = 0x00020000;

// Plays a sound file named by a handheld path. Only synchronous playback of files is offered: the call
// returns when the sound has finished. FALSE when the file can't be read or decoded, or no audio device
// can be opened; nothing is played then (there is no default sound) and nothing hangs.
BOOL PlaySoundW(LPCWSTR sound, void* module, DWORD flags);

// Tools and tests: told of every PlaySoundW call (the path as given and whether it was played), and
// whether real audio output is attempted at all (on by default; off, a file is still decoded).
using SoundObserver = std::function<void(std::u16string_view path, bool played)>;
SoundObserver SetSoundObserver(SoundObserver observer);
void SetAudioOutputEnabled(bool enabled);

}  // namespace handheld
