// Files on the handheld storage: creation modes, sharing, reading, writing, the file pointer, handles.
#include <gtest/gtest.h>

#include <thread>

#include "handheld/files.h"
#include "handheld/home.h"
#include "handheld/text.h"
#include "tests/support/test_home.h"

using namespace handheld;
using orvane_test::Bytes;
using orvane_test::TestHome;

namespace {

constexpr const char16_t* kNote = u"\\My Documents\\Note.txt";

// Closes the handle at the end of the scope.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        ASSERT_TRUE(CloseHandle(handle_));
        handle_ = INVALID_HANDLE_VALUE;
    }
    void Reset() {
        if (handle_ != INVALID_HANDLE_VALUE) Close();
    }

private:
    HANDLE handle_;
};

Handle Open(const char16_t* path, DWORD access, DWORD share, DWORD disposition) {
    return Handle(CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string Read(HANDLE file, DWORD count) {
    std::string buffer(count, '\0');
    DWORD read = 12345;
    EXPECT_TRUE(ReadFile(file, buffer.data(), count, &read, nullptr));
    buffer.resize(read);
    return buffer;
}

// Switches the write-failure hook off again whatever the test does.
struct WriteFailureGuard {
    ~WriteFailureGuard() { SetWriteFailureAfterBytes(std::nullopt); }
};

}  // namespace

TEST(HandheldFiles, CreateNewOnAnExistingFileFailsAndLeavesItUntouched) {
    TestHome home;
    home.WriteFile(kNote, Bytes("keep me"));
    SetLastError(0);
    Handle file = Open(u"\\my documents\\NOTE.TXT", GENERIC_WRITE, 0, CREATE_NEW);
    EXPECT_FALSE(file.valid());
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(home.ReadFile(kNote), Bytes("keep me"));
}

TEST(HandheldFiles, CreationModesOnExistingAndMissingFiles) {
    const struct {
        DWORD disposition;
        bool fileExists;
        bool opens;
        DWORD error;
        std::string contentAfter;  // "-" when no file should exist
    } cases[] = {
        {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "-"},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "-"},
        {0, true, false, ERROR_INVALID_PARAMETER, "old"},
        {6, false, false, ERROR_INVALID_PARAMETER, "-"},
    };
    for (const auto& c : cases) {
        TestHome home;
        if (c.fileExists) home.WriteFile(kNote, Bytes("old"));
        SetLastError(12345);
        Handle file = Open(kNote, GENERIC_READ | GENERIC_WRITE, 0, c.disposition);
        const std::string label = "disposition " + std::to_string(c.disposition) + (c.fileExists ? " on a file" : "");
        EXPECT_EQ(file.valid(), c.opens) << label;
        EXPECT_EQ(GetLastError(), c.error) << label;
        file.Reset();
        if (c.contentAfter == "-") {
            EXPECT_FALSE(std::filesystem::exists(home.Storage() / "My Documents" / "Note.txt")) << label;
        } else {
            EXPECT_EQ(home.ReadFile(kNote), Bytes(c.contentAfter)) << label;
        }
    }
}

TEST(HandheldFiles, MissingFolderAndFoldersThemselves) {
    TestHome home;
    SetLastError(0);
    EXPECT_FALSE(Open(u"\\No Such Folder\\x.txt", GENERIC_WRITE, 0, CREATE_ALWAYS).valid());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Open(u"\\No Such Folder\\x.txt", GENERIC_READ, 0, OPEN_EXISTING).valid());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Open(u"\\Windows", GENERIC_READ, 0, OPEN_EXISTING).valid());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Open(u"\\", GENERIC_READ, 0, OPEN_EXISTING).valid());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(std::filesystem::exists(home.Storage() / "No Such Folder"));
}

TEST(HandheldFiles, SharingFollowsBothShareModes) {
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    const struct {
        DWORD firstAccess, firstShare, secondAccess, secondShare, secondDisposition;
        bool secondOpens;
    } cases[] = {
        {R | W, 0, R, SR, OPEN_EXISTING, false},
        {R, 0, R, SR | SW, OPEN_EXISTING, false},
        {R, SR, R, SR, OPEN_EXISTING, true},
        {R, SR, W, SR | SW, OPEN_EXISTING, false},
        {R, SR | SW, W, SR, OPEN_EXISTING, true},
        {W, SR | SW, R, SR, OPEN_EXISTING, false},
        {R, SR, R, SR, CREATE_ALWAYS, false},                // truncating writes
        {R, SR | SW, R, SR | SW, TRUNCATE_EXISTING, false},  // without write access: refused before sharing
        {0, 0, R, 0, OPEN_EXISTING, true},                   // a handle without data access shares with anyone
        {R, 0, 0, 0, OPEN_EXISTING, true},
    };
    for (const auto& c : cases) {
        TestHome home;
        home.WriteFile(kNote, Bytes("content"));
        Handle first = Open(kNote, c.firstAccess, c.firstShare, OPEN_EXISTING);
        ASSERT_TRUE(first.valid());
        SetLastError(0);
        Handle second = Open(kNote, c.secondAccess, c.secondShare, c.secondDisposition);
        const std::string label = "first " + std::to_string(c.firstAccess >> 30) + "/" + std::to_string(c.firstShare) +
                                  " second " + std::to_string(c.secondAccess >> 30) + "/" +
                                  std::to_string(c.secondShare) + " disposition " + std::to_string(c.secondDisposition);
        EXPECT_EQ(second.valid(), c.secondOpens) << label;
        if (!c.secondOpens && c.secondDisposition != TRUNCATE_EXISTING) {
            EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION) << label;
        }
        EXPECT_EQ(home.ReadFile(kNote), Bytes("content")) << label;
    }
}

TEST(HandheldFiles, ClosingTheHandleEndsTheViolation) {
    TestHome home;
    home.WriteFile(kNote, Bytes("x"));
    Handle first = Open(kNote, GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_TRUE(first.valid());
    EXPECT_FALSE(Open(u"\\MY DOCUMENTS\\note.txt", GENERIC_READ, 0, OPEN_EXISTING).valid());
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    first.Close();
    EXPECT_TRUE(Open(kNote, GENERIC_READ, 0, OPEN_EXISTING).valid());
}

TEST(HandheldFiles, ReadsAreShortAtTheEndOfTheFile) {
    TestHome home;
    home.WriteFile(kNote, Bytes("0123456789"));
    Handle file = Open(kNote, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_TRUE(file.valid());
    EXPECT_EQ(Read(file.get(), 4), "0123");
    EXPECT_EQ(Read(file.get(), 100), "456789");
    EXPECT_EQ(Read(file.get(), 100), "");
}

TEST(HandheldFiles, ReadAndWriteNeedTheirAccess) {
    TestHome home;
    home.WriteFile(kNote, Bytes("abc"));
    char buffer[4] = {};
    DWORD count = 99;
    {
        Handle writeOnly = Open(kNote, GENERIC_WRITE, 0, OPEN_EXISTING);
        ASSERT_TRUE(writeOnly.valid());
        EXPECT_FALSE(ReadFile(writeOnly.get(), buffer, 3, &count, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        EXPECT_EQ(count, 0u);
    }
    Handle readOnly = Open(kNote, GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_TRUE(readOnly.valid());
    count = 99;
    EXPECT_FALSE(WriteFile(readOnly.get(), "xyz", 3, &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(FlushFileBuffers(readOnly.get()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(home.ReadFile(kNote), Bytes("abc"));
}

TEST(HandheldFiles, WriteFailureHookReachesTheCaller) {
    TestHome home;
    WriteFailureGuard guard;
    Handle file = Open(kNote, GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_TRUE(file.valid());
    SetWriteFailureAfterBytes(5);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.get(), "abc", 3, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_FALSE(WriteFile(file.get(), "defg", 4, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 2u);
    EXPECT_FALSE(WriteFile(file.get(), "h", 1, &written, nullptr));
    EXPECT_EQ(written, 0u);
    SetWriteFailureAfterBytes(std::nullopt);
    EXPECT_TRUE(WriteFile(file.get(), "!", 1, &written, nullptr));
    EXPECT_TRUE(WriteFile(file.get(), nullptr, 0, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(FlushFileBuffers(file.get()));
    file.Close();
    EXPECT_EQ(home.ReadFile(kNote), Bytes("abcde!"));
}

TEST(HandheldFiles, FilePointerAndSize) {
    TestHome home;
    home.WriteFile(kNote, Bytes("0123456789"));
    Handle file = Open(kNote, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_TRUE(file.valid());
    DWORD high = 77;
    EXPECT_EQ(GetFileSize(file.get(), &high), 10u);
    EXPECT_EQ(high, 0u);

    EXPECT_EQ(SetFilePointer(file.get(), 3, nullptr, FILE_BEGIN), 3u);
    EXPECT_EQ(Read(file.get(), 2), "34");
    EXPECT_EQ(SetFilePointer(file.get(), -1, nullptr, FILE_CURRENT), 4u);
    EXPECT_EQ(SetFilePointer(file.get(), -2, nullptr, FILE_END), 8u);

    // A seek before the start fails and leaves the pointer where it was.
    EXPECT_EQ(SetFilePointer(file.get(), -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(Read(file.get(), 1), "8");
    EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // The high word: 2^32 + 5 bytes from the start, reported back in two halves.
    LONG distanceHigh = 1;
    SetLastError(12345);
    EXPECT_EQ(SetFilePointer(file.get(), 5, &distanceHigh, FILE_BEGIN), 5u);
    EXPECT_EQ(distanceHigh, 1);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    // Past the end is allowed; writing there fills the gap with zeros.
    EXPECT_EQ(SetFilePointer(file.get(), 12, nullptr, FILE_BEGIN), 12u);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.get(), "Z", 1, &written, nullptr));
    EXPECT_EQ(GetFileSize(file.get(), nullptr), 13u);
    file.Close();
    EXPECT_EQ(home.ReadFile(kNote), Bytes(std::string("0123456789\0\0Z", 13)));
}

TEST(HandheldFiles, BadHandlesFailWithoutHarm) {
    TestHome home;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(u"\\*", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    // Closed last, so that no later kernel object can take its address.
    HANDLE closed = CreateFileW(kNote, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(closed, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(closed));

    const struct {
        HANDLE handle;
        DWORD error;
    } cases[] = {
        {nullptr, ERROR_INVALID_HANDLE},
        {INVALID_HANDLE_VALUE, ERROR_INVALID_HANDLE},
        {closed, ERROR_INVALID_HANDLE},
        {search, ERROR_NOT_SUPPORTED},  // a live handle of another kind
    };
    for (const auto& c : cases) {
        char buffer[4];
        DWORD count = 99;
        SetLastError(0);
        EXPECT_FALSE(ReadFile(c.handle, buffer, 4, &count, nullptr));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(count, 0u);
        EXPECT_FALSE(WriteFile(c.handle, "x", 1, &count, nullptr));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(GetFileSize(c.handle, nullptr), INVALID_FILE_SIZE);
        EXPECT_EQ(SetFilePointer(c.handle, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
        EXPECT_FALSE(FlushFileBuffers(c.handle));
    }
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(CloseHandle(search));  // any kernel object
}

TEST(HandheldLastError, IsKeptPerThread) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    DWORD seenByOtherThread = 12345;
    std::thread other([&] {
        seenByOtherThread = GetLastError();
        SetLastError(ERROR_ACCESS_DENIED);
    });
    other.join();
    EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}
