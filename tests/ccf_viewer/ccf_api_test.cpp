// The library's exports on files in a handheld home, and the control strip's lists.
#include "tests/ccf_viewer/ccf_viewer_util.h"
// Then Qt and the rest.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "ccf/api/tessaly.h"
#include "ccf/viewer/item_list_dialog.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/screen.h"
#include "tests/support/test_home.h"

using namespace ccf_test;
using namespace ccf_viewer_test;

namespace {

std::vector<std::u16string>& Names() {
    static std::vector<std::u16string> names;
    return names;
}
void CollectName(const char16_t* name) {
    Names().emplace_back(name);
}

// Devices by chain: {chain, name, has a panel}.
struct DeviceInChain {
    int chain;
    const char* name;
    bool panel = true;
};

std::vector<std::uint8_t> FileOf(const std::vector<DeviceInChain>& devices, int panels = 1) {
    CCFWriter w(true, false);
    ButtonFields b;
    b.width = 60;
    const std::uint32_t button = w.Button(b);
    std::array<std::vector<std::uint32_t>, 3> chains;
    for (const DeviceInChain& entry : devices) {
        DeviceFields d;
        d.name = w.Name(entry.name);
        if (entry.panel) {
            std::vector<std::uint32_t> list;
            for (int i = 0; i < panels; ++i) list.push_back(w.Panel({{std::int16_t(i * 10), 0, button, 1}}));
            d.firstPanel = w.Chain(list);
        }
        chains[std::size_t(entry.chain - 1)].push_back(w.Device(d));
    }
    for (int chain = 1; chain <= 3; ++chain) w.SetChain(chain, w.Chain(chains[std::size_t(chain - 1)]));
    return w.Bytes();
}

class CCFExports : public ::testing::Test {
protected:
    void SetUp() override {
        Names().clear();
        CCFSetChangeDeviceCallback(nullptr);
        handheld::ClearDialogScripts();
        parent_.resize(240, 320);
    }
    void TearDown() override {
        CCFDeinitUI();
        CCFSetChangeDeviceCallback(nullptr);
        handheld::ClearDialogScripts();
        CCFFlushDeferredWindows();
    }
    const char16_t* Put(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
        home_.WriteFile(path, {bytes.begin(), bytes.end()});
        paths_.push_back(path);
        return paths_.back().c_str();
    }
    int Open(const std::vector<std::uint8_t>& bytes, bool strip = false) {
        return CCFInitUI(handheld::ToHwnd(&parent_), Put(u"\\My Documents\\test.ccf", bytes), strip ? 1 : 0);
    }
    std::u16string Shown() const {
        CCFScreen* viewer = CCFCurrentViewer();
        if (!viewer || !viewer->CurrentDevice()) return u"(none)";
        return CCFWiden(viewer->CurrentDevice()->Device()->name);
    }
    const CCFDevice* ShownDevice() const {
        CCFScreen* viewer = CCFCurrentViewer();
        return viewer && viewer->CurrentDevice() ? viewer->CurrentDevice()->Device() : nullptr;
    }

    orvane_test::TestHome home_{std::filesystem::path("/nonexistent-package")};
    handheld::HandheldScreen screen_;
    QWidget parent_{&screen_};
    std::deque<std::u16string> paths_;
};

TEST_F(CCFExports, EveryExportIsSafeWhenNothingIsOpen) {
    CCFSetChangeDeviceCallback(CollectName);
    CCFDeinitUI();
    EXPECT_EQ(CCFShowHomeDeviceOrMacro(), 0);
    EXPECT_EQ(CCFShowDeviceNextPanel(), 0);
    EXPECT_EQ(CCFShowDevicePriorPanel(), 0);
    CCFShowDeviceOrMacro(u"TV");
    CCFShowDeviceOrMacro(nullptr);
    CCFMakeDeviceAndMacroNameList(CollectName);
    CCFMakeDeviceAndMacroNameList(nullptr);
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(CCFCurrentViewer(), nullptr);
}

TEST_F(CCFExports, FailingToOpenShowsNothingAndLeavesNothingOpen) {
    orvane_test::MessageBoxRecorder boxes;
    ASSERT_EQ(Open(FileOf({{1, "Home"}})), 1);
    ASSERT_EQ(parent_.findChildren<CCFScreen*>().size(), 1);
    EXPECT_EQ(CCFInitUI(handheld::ToHwnd(&parent_), u"\\My Documents\\missing.ccf", 0), 0);
    EXPECT_EQ(CCFCurrentViewer(), nullptr);
    EXPECT_TRUE(parent_.findChildren<CCFScreen*>().empty());
    EXPECT_EQ(CCFShowHomeDeviceOrMacro(), 0);
    EXPECT_EQ(CCFInitUI(handheld::ToHwnd(&parent_), Put(u"\\My Documents\\empty.ccf", {}), 1), 0);
    EXPECT_EQ(CCFInitUI(nullptr, paths_.front().c_str(), 0), 0);
    EXPECT_EQ(CCFInitUI(handheld::ToHwnd(&parent_), nullptr, 0), 0);
    EXPECT_TRUE(parent_.findChildren<QWidget*>().empty());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(CCFExports, OpeningTwiceShowsOnlyTheSecondFile) {
    CCFSetChangeDeviceCallback(CollectName);
    ASSERT_EQ(Open(FileOf({{1, "First home"}})), 1);
    ASSERT_EQ(CCFInitUI(handheld::ToHwnd(&parent_), Put(u"\\My Documents\\two.ccf", FileOf({{1, "Second home"}})), 0),
              1);
    EXPECT_EQ(parent_.findChildren<CCFScreen*>().size(), 1);
    EXPECT_EQ(Shown(), u"Second home");
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"First home", u"Second home"}));
    // The parent is the caller's: closing leaves it, empty.
    CCFDeinitUI();
    EXPECT_TRUE(parent_.findChildren<CCFScreen*>().empty());
    // The callback outlives the file.
    ASSERT_EQ(Open(FileOf({{2, "TV"}})), 1);
    EXPECT_EQ(Names().back(), u"TV");
}

TEST_F(CCFExports, NamesMatchExactlyAndTheFirstInChainOrderWins) {
    ASSERT_EQ(Open(FileOf({{3, "Living room"}, {2, "TV"}, {2, "Living room"}, {1, "Living room"}, {3, "tv"}})), 1);
    CCFScreen* viewer = CCFCurrentViewer();
    const CCFDevice* home = viewer->File()->chains[0].get();
    EXPECT_EQ(ShownDevice(), home);
    CCFShowDeviceOrMacro(u"TV");
    EXPECT_EQ(ShownDevice(), viewer->File()->chains[1].get());
    CCFShowDeviceOrMacro(u"Tv");
    EXPECT_EQ(ShownDevice(), nullptr);
    CCFShowDeviceOrMacro(u"Living room");
    EXPECT_EQ(ShownDevice(), home);
    CCFShowDeviceOrMacro(u"tv");
    EXPECT_EQ(ShownDevice(), viewer->File()->chains[2]->next.get());
    CCFMakeDeviceAndMacroNameList(CollectName);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Living room", u"TV", u"Living room", u"Living room", u"tv"}));
}

TEST_F(CCFExports, TheLastRequestedNameIsACopy) {
    ASSERT_EQ(Open(FileOf({{2, "TV"}})), 1);
    std::u16string caller = u"TV";
    CCFShowDeviceOrMacro(caller.c_str());
    caller.assign(u"XX");
    caller.shrink_to_fit();
    EXPECT_EQ(std::u16string(CCFLastRequestedName()), u"TV");
    EXPECT_EQ(Shown(), u"TV");
}

TEST_F(CCFExports, WithoutAHomeDeviceTheFirstDeviceIsShownAndHomeEmptiesTheViewer) {
    CCFSetChangeDeviceCallback(CollectName);
    ASSERT_EQ(Open(FileOf({{1, "Bare", false}, {2, "TV"}, {2, "VCR"}}), true), 1);
    EXPECT_EQ(Shown(), u"TV");
    EXPECT_TRUE(CCFCurrentViewer()->DeviceButton()->Expanded());
    EXPECT_EQ(CCFCurrentViewer()->DeviceButton()->Caption(), u"TV");
    EXPECT_EQ(CCFShowHomeDeviceOrMacro(), 0);
    EXPECT_EQ(Shown(), u"(none)");
    EXPECT_EQ(CCFShowDeviceNextPanel(), 0);
    EXPECT_EQ(Names(), std::vector<std::u16string>{u"TV"});
}

TEST_F(CCFExports, PanelsStepThroughTheShownDevice) {
    ASSERT_EQ(Open(FileOf({{1, "Home"}}, 3)), 1);
    EXPECT_EQ(CCFShowDevicePriorPanel(), 1);
    EXPECT_EQ(CCFShowDeviceNextPanel(), 1);
    EXPECT_EQ(CCFShowDeviceNextPanel(), 1);
    EXPECT_EQ(CCFShowDeviceNextPanel(), 0);
    const CCFPanel* third = CCFCurrentViewer()->CurrentDevice()->CurrentPanel();
    EXPECT_EQ(third, ShownDevice()->firstPanel->next->next.get());
    EXPECT_EQ(CCFShowHomeDeviceOrMacro(), 1);
    EXPECT_EQ(CCFCurrentViewer()->CurrentDevice()->CurrentPanel(), ShownDevice()->firstPanel.get());
}

void CloseOnSecond(const char16_t* name) {
    CollectName(name);
    if (std::u16string(name) == u"Second") CCFDeinitUI();
}

TEST_F(CCFExports, ClosingFromACallbackInsideAListLetsTheListFinish) {
    RecordEffects effects;
    CCFWriter w(true, false);
    const std::uint32_t code = w.IRCode(w.Name("B"), 0, 109, {{40, 300}}, {});
    const std::uint32_t list = w.ActionList({{3, 0, 0}, {1, 0, code}, {3, 0, 0}});
    ButtonFields b;
    b.actions = list;
    DeviceFields first;
    first.name = w.Name("First");
    first.firstPanel = w.Panel({{0, 0, w.Button(b), 1}});
    const std::uint32_t one = w.Device(first);
    DeviceFields second;
    second.name = w.Name("Second");
    const std::uint32_t two = w.Device(second);
    w.Link(one, two);
    w.SetAction(list, 0, two, 0);
    w.SetAction(list, 2, one, 0);
    w.SetChain(2, one);
    ASSERT_EQ(Open(w.Bytes()), 1);
    CCFSetChangeDeviceCallback(CloseOnSecond);
    QPointer<CCFScreen> viewer = CCFCurrentViewer();
    Tap(viewer, {5, 5});
    EXPECT_EQ(CCFCurrentViewer(), nullptr);
    // The list ran to its end; the closed viewer reported nothing more.
    EXPECT_EQ(Recorded().sentFirstDurations.size(), 1u);
    EXPECT_EQ(Names(), std::vector<std::u16string>{u"Second"});
    EXPECT_TRUE(parent_.findChildren<CCFScreen*>().size() <= 1);
    CCFFlushDeferredWindows();
    EXPECT_FALSE(viewer);
    EXPECT_TRUE(parent_.findChildren<QWidget*>().empty());
}

// --- the control strip ----------------------------------------------------------------------------------

void ChooseRow(int row, bool ok, QString* title = nullptr, int* count = nullptr, int* selected = nullptr) {
    handheld::QueueDialogScript([=](handheld::HandheldDialog& dialog) {
        auto* list = dialog.Control<QListWidget>(CItemListDialog::kListId);
        ASSERT_NE(list, nullptr);
        if (title) *title = dialog.Title();
        if (count) *count = list->count();
        if (selected) *selected = list->currentRow();
        list->setCurrentRow(row);
        if (ok) {
            dialog.Control<QPushButton>(CItemListDialog::kOkId)->click();
        } else {
            dialog.reject();
        }
    });
}

TEST_F(CCFExports, StripListsChooseDevicesAndMacros) {
    ASSERT_EQ(Open(FileOf({{1, "Home"}, {2, "TV"}, {2, "VCR"}, {3, "Watch"}}), true), 1);
    CCFScreen* viewer = CCFCurrentViewer();
    CCFControlPanelButton* devices = viewer->DeviceButton();
    CCFControlPanelButton* macros = viewer->MacroButton();
    EXPECT_EQ(devices->geometry(), QRect(158, 21, 82, 29));
    EXPECT_EQ(macros->geometry(), QRect(0, 21, 82, 29));
    EXPECT_EQ(viewer->HomeButton()->geometry(), QRect(186, 0, 54, 21));

    QString title;
    int count = 0, selected = -1;
    ChooseRow(1, true, &title, &count, &selected);
    Tap(viewer, {200, 30});
    EXPECT_EQ(title.toStdString(), "Device");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(Shown(), u"VCR");
    EXPECT_EQ(std::u16string(CCFLastRequestedName()), u"VCR");
    EXPECT_EQ(devices->geometry(), QRect(87, 21, 153, 29));
    EXPECT_EQ(devices->Caption(), u"VCR");

    // The macro button with the device button expanded: no list, the first macro.
    Tap(viewer, {10, 30});
    EXPECT_FALSE(devices->Expanded());
    EXPECT_TRUE(macros->Expanded());
    EXPECT_EQ(Shown(), u"Watch");
    EXPECT_EQ(macros->Caption(), u"Watch");

    // And back: the first device.
    Tap(viewer, {200, 30});
    EXPECT_FALSE(macros->Expanded());
    EXPECT_EQ(Shown(), u"TV");
    EXPECT_EQ(devices->Caption(), u"TV");
    EXPECT_EQ(handheld::PendingDialogScripts(), 0u);

    // Home collapses both; then the macro button opens its list.
    Tap(viewer, {200, 10});
    EXPECT_FALSE(macros->Expanded());
    EXPECT_FALSE(devices->Expanded());
    EXPECT_EQ(Shown(), u"Home");
    ChooseRow(0, true, &title, &count);
    Tap(viewer, {10, 30});
    EXPECT_EQ(title.toStdString(), "Macro");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Shown(), u"Watch");
    EXPECT_EQ(macros->Caption(), u"Watch");
    EXPECT_EQ(devices->Caption(), u"");
}

TEST_F(CCFExports, AListClosedWithoutChoosingOrEmptyLeavesTheViewerEmpty) {
    ASSERT_EQ(Open(FileOf({{1, "Home"}, {2, "TV"}}), true), 1);
    CCFScreen* viewer = CCFCurrentViewer();
    ChooseRow(0, false);
    Tap(viewer, {200, 30});
    EXPECT_EQ(Shown(), u"(none)");
    EXPECT_EQ(std::u16string(CCFLastRequestedName()), u"");

    // No macros: the list closes at once, before any script could answer it.
    Tap(viewer, {200, 10});
    EXPECT_EQ(Shown(), u"Home");
    ChooseRow(0, true);
    Tap(viewer, {10, 30});
    EXPECT_EQ(handheld::PendingDialogScripts(), 1u);
    EXPECT_EQ(Shown(), u"(none)");
}

TEST_F(CCFExports, TheListDialogOpensWithItsOnlyEntrySelected) {
    ASSERT_EQ(Open(FileOf({{2, "Only"}})), 1);
    int selected = -1, count = 0;
    ChooseRow(0, true, nullptr, &count, &selected);
    EXPECT_EQ(CItemListDialog::ChooseName(&parent_, CCFCurrentViewer()->File(), CItemListDialog::kKindDevices),
              u"Only");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(selected, 0);
    CItemListDialog other(&parent_, CCFCurrentViewer()->File(), 7);
    EXPECT_EQ(other.Title().toStdString(), "Dialog");
    EXPECT_EQ(other.List()->count(), 0);
}

}  // namespace
