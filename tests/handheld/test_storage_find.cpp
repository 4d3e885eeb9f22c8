// Find, copy, move, delete, folders and mapping on the handheld storage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "handheld/files.h"
#include "handheld/home.h"
#include "handheld/text.h"
#include "tests/support/test_home.h"

namespace fs = std::filesystem;
using namespace handheld;
using orvane_test::Bytes;
using orvane_test::TestHome;
using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

// Every name FindFirstFileW/FindNextFileW report for the pattern, in their order; the last error after the
// search is left in `endError`.
std::vector<std::string> FindAll(const char16_t* pattern, DWORD* endError = nullptr) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileW(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) {
        if (endError) *endError = GetLastError();
        return names;
    }
    do {
        names.push_back(ToUtf8(data.cFileName));
    } while (FindNextFileW(search, &data));
    if (endError) *endError = GetLastError();
    EXPECT_TRUE(FindClose(search));
    return names;
}

// A folder with files of several names and one sub-folder.
class HandheldFind : public testing::Test {
protected:
    void SetUp() override {
        for (const char16_t* name : {u"b.kdr", u"A.KDR", u"c.ccf", u"readme", u"a.kdr.bak"}) {
            home_.WriteFile(std::u16string(u"\\My Documents\\") + name, Bytes(ToUtf8(name)));
        }
        fs::create_directory(home_.Storage() / "My Documents" / "Sub");
        // A new home's picture and sound folders would join the listings; these tests list their own entries.
        fs::remove_all(home_.Storage() / "My Documents" / "VUDirazu back");
        fs::remove_all(home_.Storage() / "My Documents" / "VUDirazu sounds");
    }
    TestHome home_;
};

struct WriteFailureGuard {
    ~WriteFailureGuard() { SetWriteFailureAfterBytes(std::nullopt); }
};

HANDLE OpenNote(const char16_t* path, DWORD access, DWORD share) {
    return CreateFileW(path, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

TEST_F(HandheldFind, PatternsMatchIgnoringCaseInUpperCaseOrder) {
    const struct {
        const char16_t* pattern;
        std::vector<std::string> names;
    } cases[] = {
        {u"\\My Documents\\*", {"A.KDR", "a.kdr.bak", "b.kdr", "c.ccf", "readme", "Sub"}},
        {u"\\my documents\\*.*", {"A.KDR", "a.kdr.bak", "b.kdr", "c.ccf", "readme", "Sub"}},
        {u"\\My Documents\\*.kdr", {"A.KDR", "b.kdr"}},
        {u"\\My Documents\\?.KDR", {"A.KDR", "b.kdr"}},
        {u"\\My Documents\\*.kdr*", {"A.KDR", "a.kdr.bak", "b.kdr"}},
        {u"\\My Documents\\readme.*", {"readme"}},
        {u"\\My Documents\\s*", {"Sub"}},
        {u"\\My Documents\\B.KDR", {"b.kdr"}},
        {u"\\My Documents\\??????", {"readme"}},
        {u"\\*", {"My Documents", "Program Files", "Windows"}},
    };
    for (const auto& c : cases) {
        DWORD endError = 0;
        EXPECT_THAT(FindAll(c.pattern, &endError), ElementsAreArray(c.names)) << ToUtf8(c.pattern);
        EXPECT_EQ(endError, ERROR_NO_MORE_FILES) << ToUtf8(c.pattern);
    }
}

TEST_F(HandheldFind, ReportsFoldersAndSizes) {
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileW(u"\\My Documents\\sub", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(FindClose(search));
    search = FindFirstFileW(u"\\My Documents\\readme", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(data.nFileSizeLow, 6u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    EXPECT_TRUE(FindClose(search));
}

TEST_F(HandheldFind, NothingFoundAndBadSearches) {
    const struct {
        const char16_t* pattern;
        DWORD error;
    } cases[] = {
        {u"\\My Documents\\*.xyz", ERROR_FILE_NOT_FOUND},
        {u"\\Windows\\*", ERROR_FILE_NOT_FOUND},  // empty: "." and ".." are never reported
        {u"\\My Documents\\", ERROR_FILE_NOT_FOUND},
        {u"\\No Folder\\*", ERROR_PATH_NOT_FOUND},
        {u"\\My Documents\\readme\\*", ERROR_PATH_NOT_FOUND},
        {u"\\..\\*", ERROR_PATH_NOT_FOUND},
        {u"*.kdr", ERROR_PATH_NOT_FOUND},
        {u"\\My Documents\\a/b*", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        WIN32_FIND_DATAW data{};
        SetLastError(0);
        EXPECT_EQ(FindFirstFileW(c.pattern, &data), INVALID_HANDLE_VALUE) << ToUtf8(c.pattern);
        EXPECT_EQ(GetLastError(), c.error) << ToUtf8(c.pattern);
    }
    WIN32_FIND_DATAW data{};
    EXPECT_FALSE(FindNextFileW(INVALID_HANDLE_VALUE, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(HandheldFind, HostNamesTheHandheldCannotOpenAreLeftOut) {
    const fs::path folder = home_.Storage() / "My Documents";
    std::ofstream(folder / "bad:name.kdr") << "x";
    std::ofstream(folder / "bad\\name.kdr") << "x";
    fs::create_symlink("/etc/passwd", folder / "link.kdr");
    EXPECT_THAT(FindAll(u"\\My Documents\\*.kdr"), ElementsAre("A.KDR", "b.kdr"));
}

TEST_F(HandheldFind, CopyKeepsAnExistingTargetWhenAsked) {
    SetLastError(0);
    EXPECT_FALSE(CopyFileW(u"\\My Documents\\b.kdr", u"\\My Documents\\c.ccf", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\c.ccf"), Bytes("c.ccf"));

    EXPECT_TRUE(CopyFileW(u"\\My Documents\\b.kdr", u"\\My Documents\\C.CCF", FALSE));
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\c.ccf"), Bytes("b.kdr"));
    EXPECT_TRUE(CopyFileW(u"\\My Documents\\b.kdr", u"\\Windows\\New.kdr", TRUE));
    EXPECT_EQ(home_.ReadFile(u"\\Windows\\new.kdr"), Bytes("b.kdr"));
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\b.kdr"), Bytes("b.kdr"));
    EXPECT_THAT(FindAll(u"\\Windows\\*"), ElementsAre("New.kdr"));
}

TEST_F(HandheldFind, CopyFailures) {
    const struct {
        const char16_t* from;
        const char16_t* to;
        DWORD error;
    } cases[] = {
        {u"\\My Documents\\missing", u"\\Windows\\x", ERROR_FILE_NOT_FOUND},
        {u"\\No Folder\\x", u"\\Windows\\x", ERROR_PATH_NOT_FOUND},
        {u"\\My Documents\\b.kdr", u"\\No Folder\\x", ERROR_PATH_NOT_FOUND},
        {u"\\My Documents\\b.kdr", u"\\My Documents\\Sub", ERROR_ACCESS_DENIED},
        {u"\\My Documents\\Sub", u"\\Windows\\x", ERROR_ACCESS_DENIED},
        {u"\\My Documents\\b.kdr", u"\\My Documents\\B.kdr", ERROR_SHARING_VIOLATION},  // onto itself
        {u"\\My Documents\\b.kdr", u"\\..\\x", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(CopyFileW(c.from, c.to, FALSE)) << ToUtf8(c.from) << " -> " << ToUtf8(c.to);
        EXPECT_EQ(GetLastError(), c.error) << ToUtf8(c.from) << " -> " << ToUtf8(c.to);
    }
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\b.kdr"), Bytes("b.kdr"));
    EXPECT_THAT(FindAll(u"\\Windows\\*"), ElementsAre());
}

TEST_F(HandheldFind, CopyRespectsOpenFiles) {
    HANDLE source = OpenNote(u"\\My Documents\\b.kdr", GENERIC_READ, 0);
    ASSERT_NE(source, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyFileW(u"\\My Documents\\b.kdr", u"\\Windows\\x", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CloseHandle(source));

    HANDLE target = OpenNote(u"\\My Documents\\c.ccf", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(target, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyFileW(u"\\My Documents\\b.kdr", u"\\My Documents\\c.ccf", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CloseHandle(target));
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\c.ccf"), Bytes("c.ccf"));
}

TEST_F(HandheldFind, FailedCopyLeavesTheTargetAsItWas) {
    WriteFailureGuard guard;
    home_.WriteFile(u"\\My Documents\\big", Bytes(std::string(200000, 'x')));
    SetWriteFailureAfterBytes(100000);
    EXPECT_FALSE(CopyFileW(u"\\My Documents\\big", u"\\My Documents\\c.ccf", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_FALSE(CopyFileW(u"\\My Documents\\big", u"\\Windows\\new", TRUE));
    SetWriteFailureAfterBytes(std::nullopt);
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\c.ccf"), Bytes("c.ccf"));
    EXPECT_THAT(FindAll(u"\\Windows\\*"), ElementsAre());
    EXPECT_THAT(FindAll(u"\\My Documents\\*"),
                ElementsAre("A.KDR", "a.kdr.bak", "b.kdr", "big", "c.ccf", "readme", "Sub"));
}

TEST_F(HandheldFind, MoveNeverReplacesATarget) {
    SetLastError(0);
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\b.kdr", u"\\My Documents\\c.ccf"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\b.kdr"), Bytes("b.kdr"));
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\c.ccf"), Bytes("c.ccf"));

    // The caller deletes first, then moves.
    EXPECT_TRUE(DeleteFileW(u"\\My Documents\\c.ccf"));
    EXPECT_TRUE(MoveFileW(u"\\My Documents\\b.kdr", u"\\My Documents\\c.ccf"));
    EXPECT_EQ(home_.ReadFile(u"\\My Documents\\c.ccf"), Bytes("b.kdr"));
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\b.kdr"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(HandheldFind, MoveRenamesByCaseAndMovesFolders) {
    EXPECT_TRUE(MoveFileW(u"\\My Documents\\b.kdr", u"\\My Documents\\B.Kdr"));
    EXPECT_THAT(FindAll(u"\\My Documents\\b*"), ElementsAre("B.Kdr"));

    home_.WriteFile(u"\\My Documents\\Sub\\inner.kdr", Bytes("inner"));
    HANDLE inner = CreateFileW(u"\\My Documents\\Sub\\inner.kdr", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
    ASSERT_NE(inner, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\Sub", u"\\Windows\\Moved"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CloseHandle(inner));
    EXPECT_TRUE(MoveFileW(u"\\My Documents\\Sub", u"\\Windows\\Moved"));
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\moved"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(MoveFileW(u"\\Windows\\Moved", u"\\Windows\\Moved\\Inner"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\missing", u"\\Windows\\x"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\readme", u"\\No Folder\\x"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(HandheldFind, OpenFilesCannotBeMovedOrDeleted) {
    HANDLE file = OpenNote(u"\\My Documents\\readme", GENERIC_READ, 0);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileW(u"\\My Documents\\README"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\readme", u"\\Windows\\readme"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(DeleteFileW(u"\\My Documents\\README"));
    EXPECT_FALSE(DeleteFileW(u"\\My Documents\\README"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(HandheldFind, DeleteRefusesFoldersAndReadOnlyFiles) {
    const fs::path readOnly = home_.Storage() / "My Documents" / "c.ccf";
    fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\c.ccf"), FILE_ATTRIBUTE_READONLY);
    const struct {
        const char16_t* path;
        DWORD error;
    } cases[] = {
        {u"\\My Documents\\Sub", ERROR_ACCESS_DENIED},
        {u"\\My Documents\\c.ccf", ERROR_ACCESS_DENIED},
        {u"\\", ERROR_ACCESS_DENIED},
        {u"\\No Folder\\x", ERROR_PATH_NOT_FOUND},
        {nullptr, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(DeleteFileW(c.path));
        EXPECT_EQ(GetLastError(), c.error) << (c.path ? ToUtf8(c.path) : "null");
    }
    EXPECT_TRUE(fs::exists(readOnly));
}

TEST_F(HandheldFind, FoldersAreMadeAndRemoved) {
    EXPECT_TRUE(CreateDirectoryW(u"\\My Documents\\New", nullptr));
    EXPECT_EQ(GetFileAttributesW(u"\\MY DOCUMENTS\\NEW\\"), FILE_ATTRIBUTE_DIRECTORY);
    const struct {
        bool create;
        const char16_t* path;
        DWORD error;
    } failures[] = {
        {true, u"\\My Documents\\new", ERROR_ALREADY_EXISTS},
        {true, u"\\My Documents\\readme", ERROR_ALREADY_EXISTS},
        {true, u"\\No Folder\\New", ERROR_PATH_NOT_FOUND},
        {true, u"\\My Documents\\a|b", ERROR_PATH_NOT_FOUND},
        {false, u"\\My Documents", ERROR_DIR_NOT_EMPTY},
        {false, u"\\My Documents\\readme", ERROR_DIRECTORY},
        {false, u"\\My Documents\\missing", ERROR_FILE_NOT_FOUND},
        {false, u"\\", ERROR_ACCESS_DENIED},
    };
    for (const auto& c : failures) {
        SetLastError(0);
        EXPECT_FALSE(c.create ? CreateDirectoryW(c.path, nullptr) : RemoveDirectoryW(c.path)) << ToUtf8(c.path);
        EXPECT_EQ(GetLastError(), c.error) << ToUtf8(c.path);
    }
    EXPECT_TRUE(RemoveDirectoryW(u"\\my documents\\new"));
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\New"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(u"\\"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\readme"), FILE_ATTRIBUTE_NORMAL);
}

namespace {

// Maps a whole file read-only as the language table does, closing both handles at once.
const void* MapWholeFile(const char16_t* path, DWORD* error) {
    HANDLE file = CreateFileForMappingW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    *error = GetLastError();
    if (mapping) CloseHandle(mapping);
    CloseHandle(file);
    return view;
}

}  // namespace

TEST_F(HandheldFind, MappedViewOutlivesItsHandles) {
    std::string contents(70000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i * 7);
    home_.WriteFile(u"\\Windows\\table.bin", Bytes(contents));
    DWORD error = 0;
    const void* view = MapWholeFile(u"\\windows\\TABLE.BIN", &error);
    ASSERT_NE(view, nullptr) << error;
    EXPECT_EQ(std::memcmp(view, contents.data(), contents.size()), 0);
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_ADDRESS);
}

TEST_F(HandheldFind, EmptyOrMissingFileGivesNoView) {
    home_.WriteFile(u"\\Windows\\empty", {});
    DWORD error = 0;
    EXPECT_EQ(MapWholeFile(u"\\Windows\\empty", &error), nullptr);
    EXPECT_EQ(error, ERROR_FILE_INVALID);
    EXPECT_EQ(MapWholeFile(u"\\Windows\\missing", &error), nullptr);
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
}

TEST_F(HandheldFind, MappedFileCannotBeCutUnderItsView) {
    DWORD error = 0;
    const void* view = MapWholeFile(u"\\My Documents\\readme", &error);
    ASSERT_NE(view, nullptr) << error;
    EXPECT_EQ(CreateFileW(u"\\My Documents\\readme", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_USER_MAPPED_FILE);
    EXPECT_EQ(std::memcmp(view, "readme", 6), 0);
    EXPECT_TRUE(UnmapViewOfFile(view));
    HANDLE file = CreateFileW(u"\\My Documents\\readme", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(HandheldFind, MappingAsksForReadAccessAndReadOnlyPages) {
    HANDLE writeOnly =
        CreateFileForMappingW(u"\\My Documents\\readme", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writeOnly, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileMappingW(writeOnly, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(writeOnly));

    HANDLE file = CreateFileForMappingW(u"\\My Documents\\readme", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    constexpr DWORD kPageReadWrite = 0x04;
    EXPECT_EQ(CreateFileMappingW(file, nullptr, kPageReadWrite, 0, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 100, nullptr), nullptr);  // larger than the file
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 1, 0), nullptr);  // not on a 64 KiB boundary
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MapViewOfFile(file, FILE_MAP_READ, 0, 0, 0), nullptr);  // a file is not a mapping
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));
}
