#include "app/filechooser/folder_listing.h"

#include <algorithm>
#include <chrono>

#include "handheld/owners.h"
#include "handheld/text.h"

namespace {

constexpr char16_t kAllFilesText[] = u"All files(*.*)";
constexpr char16_t kAllFilesPattern[] = u"*.*";
// FILETIME counts 100 ns intervals since 1601-01-01; the Unix epoch is this many seconds later.
constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

std::u16string Bounded(std::u16string text, std::size_t maxChars) {
    if (text.size() > maxChars) text.resize(maxChars);
    return text;
}

std::u16string Ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// The handheld's locale orders names without regard to case ("alpha" before "Zeta"); names that differ only
// in case keep a fixed order. The same on every host, whatever its own locale.
int LocaleCompare(const std::u16string& a, const std::u16string& b) {
    const int folded = handheld::ToUpper(a).compare(handheld::ToUpper(b));
    return folded != 0 ? folded : a.compare(b);
}

bool IsFolder(const handheld::WIN32_FIND_DATAW& data) {
    return (data.dwFileAttributes & handheld::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

template <class Visit>
void ForEachMatch(std::u16string_view folder, std::u16string_view pattern, Visit visit) {
    const std::u16string search = JoinPath(folder, pattern);
    handheld::WIN32_FIND_DATAW data{};
    const handheld::UniqueFind found(handheld::FindFirstFileW(search.c_str(), &data));
    if (!found) return;
    do {
        visit(data);
    } while (handheld::FindNextFileW(found.get(), &data));
}

}  // namespace

std::vector<FileTypeFilter> ParseFileFilter(const char16_t* filter) {
    if (filter == nullptr) return {{kAllFilesText, kAllFilesPattern}};
    std::vector<FileTypeFilter> pairs;
    const char16_t* p = filter;
    while (*p != u'\0') {
        FileTypeFilter pair;
        pair.displayText = p;
        p += pair.displayText.size() + 1;
        pair.patterns = p;
        p += pair.patterns.size();
        pairs.push_back(std::move(pair));
        if (*p == u'\0' && pairs.back().patterns.empty()) break;  // the list ended after a lone display text
        ++p;
    }
    return pairs;
}

std::vector<std::u16string> SplitPatterns(std::u16string_view patterns) {
    std::vector<std::u16string> out;
    std::size_t start = 0;
    while (start <= patterns.size() && out.size() < kMaxPatternsPerType) {
        const std::size_t end = std::min(patterns.find(u';', start), patterns.size());
        if (end > start) out.emplace_back(patterns.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::u16string ChooserStartFolder(const char16_t* initialFolder) {
    std::u16string folder = initialFolder != nullptr && *initialFolder != u'\0' ? initialFolder : kDefaultChooserFolder;
    while (folder.size() > 1 && folder.back() == u'\\') folder.pop_back();
    return folder;
}

std::u16string FolderDisplayName(std::u16string_view folder) {
    const std::size_t slash = folder.find_last_of(u'\\');
    if (folder == u"\\" || folder.empty()) return u"My Device";
    return std::u16string(slash == std::u16string_view::npos ? folder : folder.substr(slash + 1));
}

std::u16string ParentFolder(std::u16string_view folder) {
    std::u16string_view cut = folder;
    if (cut.size() > 1 && cut.back() == u'\\') cut.remove_suffix(1);
    const std::size_t slash = cut.find_last_of(u'\\');
    if (slash == std::u16string_view::npos || slash == 0) return u"\\";
    return std::u16string(cut.substr(0, slash));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || path.back() != u'\\') path += u'\\';
    path += name;
    return path;
}

std::u16string SizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kBytesPerKilobyte = 1024;
    const std::u16string text = bytes < kBytesPerKilobyte ? Ascii(std::to_string(bytes)) + u" B"
                                                          : Ascii(std::to_string(bytes / kBytesPerKilobyte)) + u" K";
    return Bounded(text, FileEntry::kMaxSizeChars);
}

std::u16string ShortDateText(const handheld::FILETIME& time) {
    using namespace std::chrono;
    const std::int64_t ticks =
        static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
    const sys_seconds when{seconds{ticks / kFileTimeTicksPerSecond - kSecondsFrom1601To1970}};
    const year_month_day date{floor<days>(when)};
    const int yy = (static_cast<int>(date.year()) % 100 + 100) % 100;
    std::string text = std::to_string(static_cast<unsigned>(date.month())) + "/" +
                       std::to_string(static_cast<unsigned>(date.day())) + "/" + (yy < 10 ? "0" : "") +
                       std::to_string(yy);
    return Bounded(Ascii(text), FileEntry::kMaxDateChars);
}

std::vector<FileEntry> ListFolder(std::u16string_view folder, std::u16string_view patterns) {
    std::vector<FileEntry> entries;
    auto add = [&](const handheld::WIN32_FIND_DATAW& data, bool isFile) {
        FileEntry entry;
        entry.name = Bounded(data.cFileName, FileEntry::kMaxNameChars);
        // Overlapping patterns ("*.kdr;*.*") find a name twice; it is listed once.
        if (std::any_of(entries.begin(), entries.end(), [&](const FileEntry& e) { return e.name == entry.name; }))
            return;
        entry.isFile = isFile;
        if (isFile) entry.sizeText = SizeText((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
        entry.dateText = ShortDateText(data.ftCreationTime);
        entries.push_back(std::move(entry));
    };
    // Folders are listed whatever the type, or no folder could be entered from the list while a type
    // such as "*.kdr" is chosen.
    if (!SplitPatterns(patterns).empty()) {
        ForEachMatch(folder, u"*.*", [&](const handheld::WIN32_FIND_DATAW& data) {
            if (IsFolder(data)) add(data, false);
        });
    }
    for (const std::u16string& pattern : SplitPatterns(patterns)) {
        ForEachMatch(folder, pattern, [&](const handheld::WIN32_FIND_DATAW& data) {
            if (!IsFolder(data)) add(data, true);
        });
    }
    std::stable_sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) {
        if (a.isFile != b.isFile) return !a.isFile;
        return LocaleCompare(a.name, b.name) < 0;
    });
    return entries;
}

std::vector<std::u16string> ListSubfolders(std::u16string_view folder) {
    std::vector<std::u16string> names;
    ForEachMatch(folder, u"*.*", [&](const handheld::WIN32_FIND_DATAW& data) {
        if (IsFolder(data)) names.emplace_back(data.cFileName);
    });
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return LocaleCompare(a, b) < 0; });
    return names;
}
