#include "handheld/shell/hardware_key_map.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "handheld/hotkeys.h"
#include "handheld/input.h"
#include "handheld/registry.h"
#include "handheld/shell/hwnd.h"
#include "tests/support/test_home.h"

namespace {

// Records hot-key messages and key presses with their handheld codes.
class KeyWatcher : public QWidget {
public:
    std::vector<int> hotKeys;
    std::vector<handheld::UINT> presses;

protected:
    bool event(QEvent* event) override {
        if (event->type() == handheld::HotKeyEvent::EventType()) {
            hotKeys.push_back(static_cast<handheld::HotKeyEvent*>(event)->Id());
            return true;
        }
        return QWidget::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override { presses.push_back(event->nativeVirtualKey()); }
};

TEST(HardwareKeyMap, EveryApplicationKeyOfTheRegistryArrowsAndEnterHaveADesktopKey) {
    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    handheld::ReloadRegistry();
    handheld::HKEY keys = nullptr;
    ASSERT_EQ(
        handheld::RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Shell\\Keys", 0, handheld::KEY_READ, &keys),
        handheld::ERROR_SUCCESS);
    int listed = 0;
    for (handheld::DWORD i = 0;; ++i) {
        char16_t name[261] = {};
        handheld::DWORD length = 261;
        if (handheld::RegEnumKeyExW(keys, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            handheld::ERROR_SUCCESS)
            break;
        const auto code = static_cast<handheld::UINT>(std::stoul(QString::fromUtf16(name).toStdString(), nullptr, 16));
        EXPECT_NE(handheld::DesktopKeyOf(code & 0xFF), 0) << QString::fromUtf16(name).toStdString();
        ++listed;
    }
    handheld::RegCloseKey(keys);
    EXPECT_EQ(listed, 5);
    for (handheld::UINT code : {37u, 38u, 39u, 40u, 13u}) {
        EXPECT_EQ(handheld::HandheldKeyOf(handheld::DesktopKeyOf(code)), code);
    }
}

TEST(HardwareKeyMap, RegisteredKeyReachesItsOwnerAsHotKeyOthersAsKeyPressesWithTheirCode) {
    handheld::InstallHardwareKeyMap();
    handheld::ClearHotKeys();
    KeyWatcher owner;
    KeyWatcher focus;
    ASSERT_TRUE(handheld::RegisterHotKey(handheld::ToHwnd(&owner), 0xC3, handheld::MOD_WIN, 0xC3));

    handheld::PressHardwareKey(0xC3, &focus);
    handheld::PressHardwareKey(37, &focus);
    handheld::PressHardwareKey(0xC4, &focus);
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.hotKeys, std::vector<int>{0xC3});
    EXPECT_EQ(focus.presses, (std::vector<handheld::UINT>{37, 0xC4}));
    EXPECT_TRUE(focus.hotKeys.empty());

    // Once unregistered, the key is an ordinary press again.
    handheld::UnregisterHotKey(handheld::ToHwnd(&owner), 0xC3);
    handheld::PressHardwareKey(0xC3, &focus);
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.hotKeys.size(), 1u);
    EXPECT_EQ(focus.presses.back(), 0xC3u);
    EXPECT_EQ(handheld::GetAsyncKeyState(0xC3), 0);  // released again
}

}  // namespace
