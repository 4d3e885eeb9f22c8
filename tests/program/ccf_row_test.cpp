// A CCF file in the device folder as the main window shows it: the CCF row's taps reach the viewer, the
// name the viewer reports appears in the CCF name widget, and an own device afterwards takes everything back.
#include <QListWidget>

#include "app/panel/program_menu.h"
#include "app/shell/gui/device_name_list.h"
#include "ccf/api/tessaly.h"
#include "ccf/viewer/ccf_screen.h"
#include "ccf/viewer/ccf_wnd.h"
#include "handheld/shell/handheld_dialog.h"
#include "tests/ccf/ccf_writer.h"
#include "tests/program/program_fixture.h"

namespace orvane_test {
namespace {

using namespace ccf_test;

// Home group "Home" (one panel), device "Den TV" with three panels, macro "Movie night".
std::vector<unsigned char> DenFile() {
    CCFWriter w(true, false);
    ButtonFields b;
    b.width = 60;
    const std::uint32_t button = w.Button(b);
    auto device = [&](const char* name, int panels) {
        DeviceFields d;
        d.name = w.Name(name);
        std::vector<std::uint32_t> list;
        for (int i = 0; i < panels; ++i) list.push_back(w.Panel({{std::int16_t(i * 10), 0, button, 1}}));
        d.firstPanel = w.Chain(list);
        return w.Device(d);
    };
    w.SetChain(1, device("Home", 1));
    w.SetChain(2, device("Den TV", 3));
    w.SetChain(3, device("Movie night", 1));
    return {w.Bytes().begin(), w.Bytes().end()};
}

class CcfRowTest : public ProgramTest {
protected:
    CcfRowTest() {
        handheld::ClearDialogScripts();
        home_.WriteFile(GetProgramFolder() + u"\\Devices\\Den.ccf", DenFile());
        TheProgramHooks().showCcf = [](std::u16string_view path, handheld::HWND parent) {
            const std::u16string terminated(path);
            return CCFInitUI(parent, terminated.c_str(), 0) != 0;
        };
        TheProgramHooks().closeCcfView = [] { CCFDeinitUI(); };
        DeviceSettings den;
        den.deviceName = u"Den";
        den.deviceType = DT_CCF;
        state_.shownDevices.insert(state_.shownDevices.begin(), den);
    }
    ~CcfRowTest() override {
        CCFDeinitUI();
        window_.reset();
        CCFSetChangeDeviceCallback(nullptr);
        handheld::ClearDialogScripts();
    }

    static const CCFDeviceScreen* Shown() {
        CCFScreen* viewer = CCFCurrentViewer();
        return viewer ? viewer->CurrentDevice() : nullptr;
    }
    void TapWidget(const BitmapWidget& widget) { Tap(window_.get(), widget.Rect().center()); }
    // Answers the next CCF name pop-up with the row named (none: closes it without a choice).
    std::vector<std::u16string> AnswerNameList(const std::u16string& row) {
        std::vector<std::u16string> offered;
        handheld::QueueDialogScript([&offered, row](handheld::HandheldDialog& dialog) {
            auto& list = static_cast<DeviceNameList&>(dialog);
            for (int i = 0; i < list.List()->count(); ++i)
                offered.push_back(list.List()->item(i)->text().toStdU16String());
            const auto found = list.List()->findItems(QString::fromStdU16String(row), Qt::MatchExactly);
            if (found.isEmpty()) {
                dialog.reject();
            } else {
                emit list.List()->itemDoubleClicked(found.front());
            }
        });
        TapWidget(window_->Widgets().ccfName);
        EXPECT_EQ(handheld::PendingDialogScripts(), 0u);
        return offered;
    }
    bool Enabled(int command) const { return MenuItem(window_->Menu(), command)->isEnabled(); }
};

TEST_F(CcfRowTest, CcfFileOpensWithItsHomeDeviceNamedInTheCcfRow) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"Den"));
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"Home");
    EXPECT_EQ(Panel().geometry(), QRect(0, 50, 240, 240));
    // The row lies clear of the panel window, so taps on it reach the main window.
    for (const BitmapWidget* widget : {static_cast<const BitmapWidget*>(&window_->Widgets().ccfName),
                                       static_cast<const BitmapWidget*>(&window_->Widgets().ccfButton1)}) {
        EXPECT_FALSE(Panel().geometry().intersects(widget->Rect()));
    }
    EXPECT_FALSE(Enabled(kCommandSettings));
}

TEST_F(CcfRowTest, PriorNextAndHomeWidgetsDriveTheViewer) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"Den"));
    EXPECT_EQ(AnswerNameList(u"Den TV"), (std::vector<std::u16string>{u"Home", u"Den TV", u"Movie night"}));
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"Den TV");
    const CCFPanel* first = Shown()->CurrentPanel();
    TapWidget(window_->Widgets().ccfNextPanel);
    const CCFPanel* second = Shown()->CurrentPanel();
    EXPECT_NE(second, first);
    EXPECT_FALSE(window_->Widgets().ccfNextPanel.Pressed());  // released with the stylus
    TapWidget(window_->Widgets().ccfNextPanel);
    EXPECT_NE(Shown()->CurrentPanel(), second);
    TapWidget(window_->Widgets().ccfPriorPanel);
    EXPECT_EQ(Shown()->CurrentPanel(), second);

    // Home comes on pen up over the button only.
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, window_->Widgets().ccfButton1.Rect().center());
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(120, 150));
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"Den TV");
    TapWidget(window_->Widgets().ccfButton1);
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"Home");
}

TEST_F(CcfRowTest, NamePopUpClosedWithoutAChoiceKeepsTheShownDevice) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"Den"));
    AnswerNameList(u"Movie night");
    const CCFDeviceScreen* shown = Shown();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"Movie night");
    AnswerNameList(u"");
    EXPECT_EQ(Shown(), shown);
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"Movie night");
}

TEST_F(CcfRowTest, NextDeviceBackToAnOwnDeviceClosesTheViewerAndRestoresTheOwnWidgets) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"Den"));
    TapWidget(window_->Widgets().nextDevice);
    ASSERT_EQ(state_.currentDevice, state_.shownDevices[1].deviceName);
    EXPECT_EQ(CCFCurrentViewer(), nullptr);
    EXPECT_EQ(window_->Widgets().ccfName.Text(), u"");
    EXPECT_EQ(Panel().geometry(), QRect(0, 25, 240, 270));
    for (int command : {kCommandSettings, kCommandHardwareButtons, kCommandEditMode}) EXPECT_TRUE(Enabled(command));
    EXPECT_FALSE(panels_.mainPanel.buttons.empty());

    // The CCF row is covered again: taps where it lay no longer reach a viewer or open its pop-up.
    handheld::QueueDialogScript([](handheld::HandheldDialog& dialog) { dialog.reject(); });
    TapWidget(window_->Widgets().ccfName);
    EXPECT_EQ(handheld::PendingDialogScripts(), 1u);
    TapWidget(window_->Widgets().ccfButton1);
    EXPECT_EQ(CCFCurrentViewer(), nullptr);
}

}  // namespace
}  // namespace orvane_test
