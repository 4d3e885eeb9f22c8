#include "app/model/program_folder.h"

#include "handheld/files.h"
#include "handheld/home.h"
#include "handheld/trace.h"

namespace {
// The longest path the platform's file calls take, in characters.
constexpr handheld::DWORD kMaxLongPathChars = 32768;
}  // namespace

std::u16string ProgramModulePath() {
    // Grow the buffer until the path fits: a cut path would give a wrong folder, not an error.
    for (handheld::DWORD capacity = handheld::MAX_PATH + 1; capacity <= kMaxLongPathChars; capacity *= 2) {
        std::u16string buffer(capacity, u'\0');
        const handheld::DWORD length = handheld::GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) break;
        if (length < capacity) {
            buffer.resize(length);
            return buffer;
        }
    }
    HH_TRACE("files", "no module path: the program folder is empty");
    return std::u16string();
}

std::u16string ProgramFolderOf(std::u16string_view modulePath) {
    const std::size_t lastBackslash = modulePath.rfind(u'\\');
    if (lastBackslash == std::u16string_view::npos) return std::u16string();
    return std::u16string(modulePath.substr(0, lastBackslash));
}

const std::u16string& GetProgramFolder() {
    static const std::u16string folder = ProgramFolderOf(ProgramModulePath());
    return folder;
}
