// The shell's small system icons (16 x 16): one icon per kind of file, known by its index in the system's
// icon list. Programs ask for a file's index and keep one copy of each distinct icon.
#pragma once

#include <QIcon>
#include <string_view>

namespace handheld {

inline constexpr int kSmallIconPx = 16;

enum SystemIcon : int {
    kIconFolder = 0,
    kIconDocument,
    kIconDevice,   // ".kdr"
    kIconCcf,      // ".ccf"
    kIconPicture,  // ".bmp", ".jpg", ".jpeg", ".gif", ".png"
    kIconSound,    // ".wav"
    kIconProgram,  // ".exe", ".dll"
    kSystemIconCount
};

// The system icon index of a handheld path: by the folder flag, else by the extension (ignoring case).
int SystemIconIndex(std::u16string_view path, bool isFolder);
// The picture of a system icon index; callers keep one copy per index.
QIcon SystemSmallIcon(int index);

}  // namespace handheld
