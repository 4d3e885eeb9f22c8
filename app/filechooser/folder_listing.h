// What the file chooser lists: the entries of one folder of the handheld that match a type's patterns, and
// the path arithmetic of moving between folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "handheld/files.h"

// One listed file or folder.
struct FileEntry {
    static constexpr std::size_t kMaxNameChars = 260;
    static constexpr std::size_t kMaxSizeChars = 12;
    static constexpr std::size_t kMaxDateChars = 12;

    std::u16string name;
    std::u16string sizeText;  // empty for a folder
    std::u16string dateText;
    bool isFile = true;
    int iconIndex = -1;  // index in the chooser's image list; -1 until the entry is first drawn
};

// A display text and its patterns (several separated by ";"), as the caller's filter gives them.
struct FileTypeFilter {
    std::u16string displayText;
    std::u16string patterns;
};

// Longest handheld path the chooser accepts, in characters without the terminator.
inline constexpr std::size_t kMaxChooserPathChars = 259;
inline constexpr std::size_t kMaxPatternsPerType = 20;
inline constexpr char16_t kDefaultChooserFolder[] = u"\\My Documents";

// The pairs of a filter list: zero-terminated strings, display text then pattern, ended by an empty string.
// Null gives "All files(*.*)" with "*.*"; a display text without its pattern gets an empty one.
std::vector<FileTypeFilter> ParseFileFilter(const char16_t* filter);
// At most kMaxPatternsPerType patterns of a ";"-separated list, empty ones dropped.
std::vector<std::u16string> SplitPatterns(std::u16string_view patterns);

// The folder to open: "\My Documents" when none is given; a trailing "\" (other than the root's) dropped.
std::u16string ChooserStartFolder(const char16_t* initialFolder);
// The text after the last "\"; "My Device" for the root.
std::u16string FolderDisplayName(std::u16string_view folder);
// The folder one level up: "\A\B" gives "\A", "\A" gives "\" and the root stays the root.
std::u16string ParentFolder(std::u16string_view folder);
// folder + "\" + name without doubling the separator.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// " B" below 1024 bytes, else whole kilobytes and " K".
std::u16string SizeText(std::uint64_t bytes);
// The handheld's short date (month/day/two-digit year) of a file time.
std::u16string ShortDateText(const handheld::FILETIME& time);

// The subfolders of the folder and its files matching any of the patterns (each name once): folders first,
// then files, each group in the locale's order of names. No patterns: nothing. A folder that cannot be
// listed gives no entries.
std::vector<FileEntry> ListFolder(std::u16string_view folder, std::u16string_view patterns);
// The subfolders of a folder in the locale's order of names.
std::vector<std::u16string> ListSubfolders(std::u16string_view folder);
