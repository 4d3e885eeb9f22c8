#include "app/model/device_library.h"

#include <gtest/gtest.h>

#include "handheld/files.h"
#include "tests/dialogs/device_home.h"

namespace {

using dialogs_test::DeviceHome;
using dialogs_test::NamesOf;
using dialogs_test::Shown;
using orvane_test::Bytes;
using Names = std::vector<std::u16string>;

class DeviceLibraryTest : public testing::Test {
protected:
    DeviceHome devices;
    std::vector<DeviceSettings> shown;
    std::u16string current;
};

TEST_F(DeviceLibraryTest, ScanListsDevicesAndLeavesDamagedOnesOut) {
    devices.AddDevice(u"TV", DT_RECEIVER);
    devices.AddDevice(u"DVD", DT_PLAYER);
    devices.AddFile(u"Broken.kdr", Bytes("XYZ not a device file at all, but long enough for a header......"));
    devices.AddFile(u"Hall.ccf", Bytes("CCF"));
    devices.AddFile(u"notes.txt", Bytes("text"));
    const DeviceScan scan = ScanDeviceFolder(devices.Folder(), shown, current);
    EXPECT_TRUE(scan.folderFound);
    ASSERT_EQ(NamesOf(scan.available), (Names{u"DVD", u"TV", u"Hall"}));
    EXPECT_EQ(scan.available[0].deviceType, DT_PLAYER);
    EXPECT_EQ(scan.available[1].deviceType, DT_RECEIVER);
    EXPECT_EQ(scan.available[2].deviceType, DT_CCF);
    // The damaged header's problem is kept once, and only it, for the caller to show; the scan shows nothing.
    ASSERT_EQ(scan.problems.size(), 1u);
    EXPECT_EQ(scan.problems[0].key, u"ERR_12");
    EXPECT_TRUE(devices.boxes.Shown().empty());
    // The folder path works with or without its backslash.
    EXPECT_EQ(
        ScanDeviceFolder(devices.Folder().substr(0, devices.Folder().size() - 1), shown, current).available.size(), 3u);
    EXPECT_FALSE(ScanDeviceFolder(u"\\No devices here", shown, current).folderFound);
}

TEST_F(DeviceLibraryTest, ScanDropsRemovedShownDevicesAndSettlesTheCurrentName) {
    devices.AddDevice(u"TV", DT_RECEIVER);
    devices.AddDevice(u"Amp", DT_CUSTOM);
    shown = Shown({u"Gone", u"TV", u"tv", u"Amp"});
    current = u"Gone";
    ScanDeviceFolder(devices.Folder(), shown, current);
    EXPECT_EQ(NamesOf(shown), (Names{u"TV", u"Amp"}));  // names are exact: "tv" is no device here
    EXPECT_EQ(shown[0].backgroundColor, 0x123456u);     // kept entries keep their settings
    EXPECT_EQ(current, u"TV");
    current = u"Amp";
    ScanDeviceFolder(devices.Folder(), shown, current);
    EXPECT_EQ(current, u"Amp");
    shown = Shown({u"Gone"});
    ScanDeviceFolder(devices.Folder(), shown, current);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(current.empty());
}

TEST_F(DeviceLibraryTest, ApplyTakesTheTicks) {
    shown = Shown({u"TV", u"DVD"});
    current = u"DVD";
    const ListedDevice rows[] = {{u"Amp", true}, {u"DVD", false}, {u"TV", true}, {u"Hall", true}};
    ApplyShownDevices(rows, shown, current);
    EXPECT_EQ(NamesOf(shown), (Names{u"TV", u"Amp", u"Hall"}));
    EXPECT_EQ(shown[0].backgroundColor, 0x123456u);
    EXPECT_EQ(shown[1].backgroundColor, DeviceSettings::kDefaultBackgroundColor);
    EXPECT_EQ(current, u"TV");
    const ListedDevice none[] = {{u"Amp", false}, {u"TV", false}, {u"Hall", false}};
    ApplyShownDevices(none, shown, current);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(current.empty());
}

TEST_F(DeviceLibraryTest, NextAndPreviousStopAtTheEnds) {
    std::vector<std::u16string> opened;
    std::vector<MenuStateCallback> callbacks;
    const auto previousOpener = SetDeviceOpener([&](handheld::HWND, std::u16string_view name, MenuStateCallback cb) {
        opened.emplace_back(name);
        callbacks.push_back(cb);
        return name != u"Hall";
    });
    const MenuStateCallback menuState = [](int) {};
    shown = Shown({u"TV", u"DVD", u"Hall"});
    current = u"TV";
    EXPECT_FALSE(PreviousDevice(nullptr, menuState, shown, current));
    EXPECT_EQ(current, u"TV");
    EXPECT_TRUE(NextDevice(nullptr, menuState, shown, current));
    EXPECT_EQ(current, u"DVD");
    EXPECT_FALSE(NextDevice(nullptr, menuState, shown, current));  // Hall is current, but did not open
    EXPECT_EQ(current, u"Hall");
    EXPECT_FALSE(NextDevice(nullptr, menuState, shown, current));  // the last: no wrap-around
    EXPECT_EQ(current, u"Hall");
    EXPECT_TRUE(PreviousDevice(nullptr, menuState, shown, current));
    EXPECT_EQ(current, u"DVD");
    current = u"Elsewhere";
    EXPECT_FALSE(NextDevice(nullptr, menuState, shown, current));
    EXPECT_FALSE(PreviousDevice(nullptr, menuState, shown, current));
    EXPECT_EQ(opened, (Names{u"DVD", u"Hall", u"DVD"}));
    EXPECT_EQ(callbacks.front(), menuState);
    SetDeviceOpener(previousOpener);
    current = u"TV";
    EXPECT_FALSE(NextDevice(nullptr, nullptr, shown, current));  // no opener: nothing opens
}

TEST_F(DeviceLibraryTest, DeviceNamesStayFileNamesInTheFolder) {
    const std::u16string& folder = devices.Folder();
    EXPECT_EQ(CheckDeviceName(folder, u"Living room TV"), DeviceNameCheck::Valid);
    EXPECT_EQ(CheckDeviceName(folder, u""), DeviceNameCheck::Empty);
    for (char16_t c : std::u16string(u"\\/:*?\"<>|\x01\x1f\t")) {
        EXPECT_EQ(CheckDeviceName(folder, u"a" + std::u16string(1, c) + u"b"), DeviceNameCheck::ForbiddenCharacter)
            << int(c);
    }
    EXPECT_EQ(CheckDeviceName(folder, u"..\\..\\Windows\\x"), DeviceNameCheck::ForbiddenCharacter);
    const std::size_t room = kMaxDevicePathChars - folder.size() - 4;  // ".kdr"
    EXPECT_EQ(CheckDeviceName(folder, std::u16string(room, u'n')), DeviceNameCheck::Valid);
    EXPECT_EQ(CheckDeviceName(folder, std::u16string(room + 1, u'n')), DeviceNameCheck::PathTooLong);
}

TEST_F(DeviceLibraryTest, RenameMovesTheFileAndEverythingFollowsIt) {
    devices.AddDevice(u"TV", DT_RECEIVER);
    devices.AddDevice(u"DVD", DT_PLAYER);
    shown = Shown({u"DVD", u"TV"});
    current = u"TV";
    Device open;
    open.path = devices.PathOf(u"TV");
    EXPECT_EQ(RenameDevice(devices.Folder(), u"TV", u"Bedroom TV", shown, current, open), RenameResult::Renamed);
    EXPECT_FALSE(devices.Exists(devices.PathOf(u"TV")));
    EXPECT_EQ(devices.Load(u"Bedroom TV").deviceType, DT_RECEIVER);
    EXPECT_EQ(NamesOf(shown), (Names{u"DVD", u"Bedroom TV"}));
    EXPECT_EQ(shown[1].backgroundColor, 0x123456u);
    EXPECT_EQ(current, u"Bedroom TV");
    EXPECT_EQ(open.path, devices.PathOf(u"Bedroom TV"));  // a later save goes to the renamed file

    // Onto an existing device: refused by the file system, nothing changes.
    EXPECT_EQ(RenameDevice(devices.Folder(), u"DVD", u"Bedroom TV", shown, current, open), RenameResult::MoveFailed);
    EXPECT_TRUE(devices.Exists(devices.PathOf(u"DVD")));
    EXPECT_EQ(NamesOf(shown), (Names{u"DVD", u"Bedroom TV"}));
    // Names that would leave the folder or cannot be files: refused before anything is touched.
    EXPECT_EQ(RenameDevice(devices.Folder(), u"DVD", u"..\\..\\..\\Windows\\DVD", shown, current, open),
              RenameResult::NameRefused);
    EXPECT_EQ(RenameDevice(devices.Folder(), u"DVD", u"", shown, current, open), RenameResult::NameRefused);
    EXPECT_FALSE(devices.Exists(u"\\Windows\\DVD.kdr"));
    EXPECT_EQ(RenameDevice(devices.Folder(), u"DVD", u"DVD", shown, current, open), RenameResult::Unchanged);
    // A device whose file is gone cannot be renamed.
    EXPECT_EQ(RenameDevice(devices.Folder(), u"Nothing", u"Else", shown, current, open), RenameResult::MoveFailed);
    EXPECT_EQ(current, u"Bedroom TV");
}

TEST_F(DeviceLibraryTest, DeleteRemovesTheFileFirst) {
    devices.AddDevice(u"TV", DT_RECEIVER);
    shown = Shown({u"TV", u"DVD"});
    Device open;
    open.path = devices.PathOf(u"TV");
    EXPECT_FALSE(DeleteDevice(devices.Folder(), u"DVD", shown, open));  // no file: the entry stays
    EXPECT_EQ(NamesOf(shown), (Names{u"TV", u"DVD"}));
    EXPECT_TRUE(DeleteDevice(devices.Folder(), u"TV", shown, open));
    EXPECT_FALSE(devices.Exists(devices.PathOf(u"TV")));
    EXPECT_EQ(NamesOf(shown), (Names{u"DVD"}));
    EXPECT_TRUE(open.path.empty());  // no later save brings the deleted file back
}

TEST_F(DeviceLibraryTest, TemplateCopiesBecomeCustomDevices) {
    devices.AddDevice(u"Player", DT_PLAYER, true);
    const std::u16string source = devices.PathOf(u"Player");
    ASSERT_EQ(CreateDeviceFromTemplate(source, devices.Folder(), u"With codes", false), TemplateCopyResult::Created);
    const Device withCodes = devices.Load(u"With codes");
    EXPECT_EQ(withCodes.deviceType, DT_CUSTOM);
    EXPECT_EQ(withCodes.name, u"Player");  // the header keeps the template's name
    EXPECT_EQ(withCodes.records.size(), 32u);
    EXPECT_EQ(withCodes.records.front().EntryCount(), 1u);

    ASSERT_EQ(CreateDeviceFromTemplate(source, devices.Folder(), u"A name much longer than twenty", true),
              TemplateCopyResult::Created);
    const Device bare = devices.Load(u"A name much longer than twenty");
    EXPECT_EQ(bare.deviceType, DT_CUSTOM);
    EXPECT_EQ(bare.records.front().EntryCount(), 0u);
    EXPECT_EQ(devices.Load(u"Player").records.front().EntryCount(), 1u);  // the template is untouched

    // The target exists: nothing is replaced.
    EXPECT_EQ(CreateDeviceFromTemplate(source, devices.Folder(), u"With codes", true), TemplateCopyResult::CopyFailed);
    EXPECT_EQ(devices.Load(u"With codes").records.front().EntryCount(), 1u);
    EXPECT_EQ(CreateDeviceFromTemplate(u"\\My Documents\\missing.kdr", devices.Folder(), u"X", false),
              TemplateCopyResult::CopyFailed);

    // A copy that cannot be read is not left behind to be reported at every scan.
    devices.home.WriteFile(u"\\My Documents\\damaged.kdr", Bytes("KCR but nothing more"));
    Problems problems;
    EXPECT_EQ(CreateDeviceFromTemplate(u"\\My Documents\\damaged.kdr", devices.Folder(), u"Damaged", false, &problems),
              TemplateCopyResult::CopyUnreadable);
    EXPECT_FALSE(devices.Exists(devices.PathOf(u"Damaged")));
    EXPECT_FALSE(problems.empty());  // the reader said why, for the dialog to show
}

}  // namespace
