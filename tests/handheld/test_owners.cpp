// The owners release exactly once, whichever way a scope is left, and hand over on move.
#include <gtest/gtest.h>

#include "handheld/files.h"
#include "handheld/owners.h"
#include "handheld/registry.h"
#include "tests/support/test_home.h"

using namespace handheld;
using orvane_test::TestHome;

namespace {

HANDLE OpenNote() {
    return CreateFileW(u"\\My Documents\\Owned.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
}

TEST(Owners, HandleIsClosedOnceAtScopeEndAndMovesWithoutClosing) {
    TestHome home;
    HANDLE raw = OpenNote();
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    {
        UniqueHandle first(raw);
        UniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_TRUE(second);
        // Unshared: a second open fails while the owner still holds the file.
        HANDLE again = OpenNote();
        EXPECT_EQ(again, INVALID_HANDLE_VALUE);
    }
    // Already closed by the owner: a second close is refused as stale.
    EXPECT_FALSE(CloseHandle(raw));
    UniqueHandle reopened(OpenNote());
    EXPECT_TRUE(reopened);
}

TEST(Owners, EmptyValuesAreNeverClosed) {
    TestHome home;
    UniqueHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid);
    UniqueFind none;
    EXPECT_FALSE(none);
    UniqueView view;
    EXPECT_FALSE(view);
}

TEST(Owners, RegistryKeyThroughOutParameterAndRelease) {
    TestHome home;
    UniqueRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, KEY_READ, key.out()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    HKEY raw = key.release();
    EXPECT_FALSE(key);
    EXPECT_EQ(RegCloseKey(raw), ERROR_SUCCESS);
}

}  // namespace
