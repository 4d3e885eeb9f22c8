// The viewer's window tree on generated files: places and sizes, stacking, drawing, panels and pen handling.
#include "tests/ccf_viewer/ccf_viewer_util.h"
// Then Qt and the rest.
#include <gtest/gtest.h>

#include "ccf/viewer/ccf_fonts.h"

using namespace ccf_test;
using namespace ccf_viewer_test;

namespace {

// A colour file (or monochrome) whose one device in chain 2 has a panel holding the given items.
struct OnePanel {
    explicit OnePanel(bool color = true) : w(color, false) {}
    std::vector<std::uint8_t> Finish(const std::vector<Child>& items) {
        DeviceFields device;
        device.name = w.Name("Only");
        device.firstPanel = w.Panel(items);
        w.SetChain(2, w.Device(device));
        return w.Bytes();
    }
    CCFWriter w;
};

// Rows holding anything but the fill (the top left pixel).
int InkHeight(const QImage& image) {
    const QRgb background = image.pixel(0, 0);
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return bottom < top ? 0 : bottom - top + 1;
}

// A 100 x 40 button captioned "H" in font code font, in a colour file (text colour index 0: black).
QImage Caption(std::uint8_t font, bool frame = false) {
    OnePanel file;
    CCFWriter& w = file.w;
    std::uint32_t record = 0;
    if (frame) {
        FrameFields f;
        f.width = 100;
        f.height = 40;
        f.name = w.Name("H");
        f.font = font;
        f.colors = {0, 255, 0, 0};
        record = w.Frame(f);
    } else {
        ButtonFields b;
        b.width = 100;
        b.height = 40;
        b.name = w.Name("H");
        b.font = font;
        b.colors = {Colors{0, 255, 0, 0}, Colors{0, 255, 0, 0}, Colors{0, 255, 0, 0}, Colors{0, 255, 0, 0}};
        record = w.Button(b);
    }
    Viewer viewer(file.Finish({{0, 0, record, std::uint8_t(frame ? 0 : 1)}}));
    return viewer.Grab().copy(0, 0, 100, 40);
}

TEST(CCFWindows, ItemsListedInOrderCreatedLastFirstSoTheFirstIsOnTop) {
    OnePanel file;
    ButtonFields b;
    const std::uint32_t a = file.w.Button(b);
    const std::uint32_t c = file.w.Button(b);
    Viewer viewer(file.Finish({{10, 10, a, 1}, {20, 15, c, 1}}));
    CCFPanelScreen* panel = viewer.screen->CurrentDevice()->PanelWindow();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->ChildList().size(), 2u);
    auto* first = static_cast<CCFChildScreen*>(panel->ChildList()[0]);
    auto* second = static_cast<CCFChildScreen*>(panel->ChildList()[1]);
    EXPECT_EQ(first->Item()->x, 10);
    EXPECT_EQ(second->Item()->x, 20);
    // Qt keeps children in the order their windows were made: the last item's first.
    const QObjectList made = panel->children();
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(made[0], second);
    EXPECT_EQ(made[1], first);
    // Made last, the first item lies on top where they overlap.
    EXPECT_EQ(viewer.screen->childAt(25, 20)->parentWidget(), first);
}

TEST(CCFWindows, SizesAreForcedAndItemWindowsTakeTheirContentsSize) {
    for (bool strip : {false, true}) {
        OnePanel file;
        ButtonFields b;
        b.width = 40;
        b.height = 20;
        const std::uint32_t button = file.w.Button(b);
        FrameFields f;
        f.width = 100;
        f.height = 30;
        f.children = {{3, 4, button, 1}};
        const std::uint32_t frame = file.w.Frame(f);
        Viewer viewer(file.Finish({{5, 60, button, 1}, {-4, 100, frame, 0}}), strip);
        EXPECT_EQ(viewer.screen->geometry(), QRect(0, 0, 240, 320));
        CCFDeviceScreen* device = viewer.screen->CurrentDevice();
        EXPECT_EQ(device->geometry(), QRect(0, strip ? 50 : 0, 240, 320));
        CCFPanelScreen* panel = device->PanelWindow();
        EXPECT_EQ(panel->geometry(), QRect(0, 0, 240, 270));
        auto* buttonItem = static_cast<CCFChildScreen*>(panel->ChildList()[0]);
        auto* frameItem = static_cast<CCFChildScreen*>(panel->ChildList()[1]);
        EXPECT_EQ(buttonItem->geometry(), QRect(5, 60, 40, 20));
        EXPECT_EQ(buttonItem->ChildList()[0]->geometry(), QRect(0, 0, 40, 20));
        EXPECT_EQ(frameItem->geometry(), QRect(-4, 100, 100, 30));
        auto* frameWindow = frameItem->ChildList()[0];
        EXPECT_EQ(frameWindow->geometry(), QRect(0, 0, 100, 30));
        EXPECT_EQ(frameWindow->ChildList()[0]->geometry(), QRect(3, 4, 40, 20));
        EXPECT_EQ(viewer.screen->DeviceButton() != nullptr, strip);
        EXPECT_EQ(viewer.screen->MacroButton() != nullptr, strip);
        EXPECT_EQ(viewer.screen->HomeButton() != nullptr, strip);
    }
}

TEST(CCFWindows, CaptionsFollowTheFontCode) {
    EXPECT_EQ(InkHeight(Caption(0)), 0);
    const int h14 = InkHeight(Caption(1));
    const int h18 = InkHeight(Caption(3));
    const int h24 = InkHeight(Caption(6));
    EXPECT_GT(h14, 0);
    EXPECT_LT(h14, h18);
    EXPECT_LT(h18, h24);
    // A capital of the 18-pixel font stands well inside its cell.
    EXPECT_GE(h18, 11);
    EXPECT_LE(h18, 18);
    // Codes without a font of the set draw in the default font, the same for every such code.
    const QImage nine = Caption(9);
    EXPECT_GT(InkHeight(nine), 0);
    EXPECT_EQ(nine, Caption(200));
    EXPECT_NE(nine, Caption(3));
    // Frames only ask the code whether to draw: in the default font.
    EXPECT_EQ(InkHeight(Caption(0, true)), 0);
    EXPECT_EQ(Caption(6, true), Caption(1, true));
    EXPECT_EQ(Caption(6, true), nine);
}

TEST(CCFWindows, FillColourShowsWhereTheImageIsMissingOrSmaller) {
    for (bool color : {false, true}) {
        OnePanel file(color);
        CCFWriter& w = file.w;
        // A 9 x 3 image of value 1 (black in the 2-level kind... white) under a 40 x 20 button.
        const std::uint32_t image = w.Bitmap(1, 9, 3, std::vector<std::uint8_t>(27, 1));
        ButtonFields small;
        small.bitmaps = {image, image, image, image};
        // Monochrome: grey level 2 (B0B0B0) in the 4-level palette... but the image makes the kind 2-level,
        // where 2 lies past the palette: black. Index 1 is white in both kinds.
        small.colors = {Colors{0, 1, 0, 0}, Colors{0, 1, 0, 0}, Colors{0, 1, 0, 0}, Colors{0, 1, 0, 0}};
        ButtonFields none;
        none.colors = {Colors{0, 2, 0, 0}, Colors{0, 2, 0, 0}, Colors{0, 2, 0, 0}, Colors{0, 2, 0, 0}};
        ButtonFields beyond = small;
        beyond.colors = {Colors{0, 2, 0, 0}, Colors{0, 2, 0, 0}, Colors{0, 2, 0, 0}, Colors{0, 2, 0, 0}};
        Viewer viewer(
            file.Finish({{0, 0, w.Button(small), 1}, {0, 40, w.Button(none), 1}, {0, 80, w.Button(beyond), 1}}));
        const QImage shot = viewer.Grab();
        // Image pixels and the fill around them.
        EXPECT_EQ(shot.pixel(4, 1), qRgb(255, 255, 255));
        EXPECT_EQ(shot.pixel(30, 10), qRgb(255, 255, 255));
        EXPECT_EQ(shot.pixel(4, 15), qRgb(255, 255, 255));
        // No image: the colour set's own kind (4 levels, or 256 entries), all fill.
        const QRgb grey = color ? qRgb(0xFF, 0xFF, 0xFF) : qRgb(0xB0, 0xB0, 0xB0);
        if (!color) EXPECT_EQ(shot.pixel(20, 50), grey);
        EXPECT_NE(shot.pixel(20, 50), qRgb(0, 0, 0));
        // Index 2 of a 2-entry palette is black.
        EXPECT_EQ(shot.pixel(30, 90), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(4, 81), qRgb(255, 255, 255));
    }
}

TEST(CCFWindows, NextAndPriorStopAtTheEndsAndKeepHiddenPanels) {
    CCFWriter w(false, false);
    ButtonFields b;
    const std::uint32_t button = w.Button(b);
    const std::uint32_t p1 = w.Panel({{0, 0, button, 1}});
    const std::uint32_t p2 = w.Panel({{0, 0, button, 1}, {50, 0, button, 1}}, true);
    const std::uint32_t p3 = w.Panel({});
    w.Chain({p1, p2, p3});
    DeviceFields d;
    d.firstPanel = p1;
    w.SetChain(2, w.Device(d));
    Viewer viewer(w.Bytes());
    const auto current = [&] { return viewer.screen->CurrentDevice()->CurrentPanel()->recordOffset; };
    ASSERT_EQ(current(), p1);
    EXPECT_EQ(viewer.screen->PriorPanel(), 1);
    EXPECT_EQ(current(), p1);
    EXPECT_EQ(viewer.screen->NextPanel(), 1);
    EXPECT_EQ(current(), p2);
    EXPECT_EQ(viewer.screen->CurrentDevice()->PanelWindow()->ChildList().size(), 2u);
    EXPECT_EQ(viewer.screen->NextPanel(), 1);
    EXPECT_EQ(current(), p3);
    EXPECT_EQ(viewer.screen->NextPanel(), 0);
    EXPECT_EQ(current(), p3);
    EXPECT_EQ(viewer.screen->PriorPanel(), 1);
    EXPECT_EQ(current(), p2);
    // One panel window at a time.
    EXPECT_EQ(Windows<CCFPanelScreen>(viewer.screen.get()).size(), 1u);
}

TEST(CCFWindows, DeviceWithoutPanelsOrWithAnUnknownPanelShowsAnEmptyArea) {
    CCFWriter w(true, false);
    const std::uint32_t empty = w.Device({});
    ButtonFields b;
    const std::uint32_t button = w.Button(b);
    const std::uint32_t list = w.ActionList({{3, 0, 12345}});
    b.actions = list;
    const std::uint32_t jumper = w.Button(b);
    DeviceFields d;
    d.firstPanel = w.Panel({{0, 0, jumper, 1}, {0, 100, button, 1}});
    const std::uint32_t device = w.Device(d);
    w.Link(empty, device);
    w.SetAction(list, 0, device, 12345);
    w.SetChain(2, empty);
    Viewer viewer(w.Bytes());
    ASSERT_NE(viewer.screen->CurrentDevice(), nullptr);
    EXPECT_EQ(viewer.screen->CurrentDevice()->PanelWindow(), nullptr);
    EXPECT_EQ(viewer.screen->NextPanel(), 0);
    EXPECT_EQ(viewer.screen->PriorPanel(), 0);
    EXPECT_EQ(viewer.screen->ShowDevice(device, 0), 1u);
    ASSERT_NE(viewer.screen->CurrentDevice()->PanelWindow(), nullptr);
    Tap(viewer.screen.get(), {5, 5});
    CCFFlushDeferredWindows();
    EXPECT_EQ(viewer.screen->CurrentDevice()->Device()->recordOffset, device);
    EXPECT_EQ(viewer.screen->CurrentDevice()->PanelWindow(), nullptr);
    EXPECT_EQ(viewer.screen->ShowDevice(device + 1, 0), 0u);
    EXPECT_EQ(viewer.screen->CurrentDevice()->Device()->recordOffset, device);
}

CCFButtonScreen* pressedDuringList = nullptr;
int stateSeenDuringList = -1;

TEST(CCFWindows, PressedLookBeforeTheListAndAJumpReplacesTheAreaWhileThePenIsDown) {
    RecordEffects effects;
    CCFWriter w(true, false);
    const std::uint32_t codeA = w.IRCode(w.Name("A"), 0, 109, {{16, 8}}, {});
    const std::uint32_t codeB = w.IRCode(w.Name("B"), 0, 109, {{40, 300}}, {});
    const std::uint32_t list = w.ActionList({{1, 0, codeA}, {4, 0, 100}, {3, 0, 0}, {1, 0, codeB}});
    ButtonFields b;
    b.actions = list;
    const std::uint32_t button = w.Button(b);
    DeviceFields first;
    first.name = w.Name("First");
    first.firstPanel = w.Panel({{10, 10, button, 1}});
    const std::uint32_t one = w.Device(first);
    DeviceFields second;
    second.name = w.Name("Second");
    second.firstPanel = w.Panel({});
    const std::uint32_t two = w.Device(second);
    w.Link(one, two);
    w.SetAction(list, 2, two, 0);
    w.SetChain(2, one);
    Viewer viewer(w.Bytes(), true);

    auto* target = qobject_cast<CCFButtonScreen*>(viewer.screen->childAt(15, 65));
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->State(), CCFButtonScreen::kStateNormal);
    pressedDuringList = target;
    stateSeenDuringList = -1;
    // Recording effects (restored at the end of the test), the delay looking at the button.
    CCFActionEffects watch;
    watch.sleep = [](std::uint32_t) { stateSeenDuringList = pressedDuringList->State(); };
    watch.send = [](IrCode& code) {
        Recorded().sentFirstDurations.push_back(code.durations[0]);
        return true;
    };
    SetCCFActionEffects(watch);

    QPointer<CCFButtonScreen> watched(target);
    const QPointF local(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    // Pen still down: the list has run, both codes went out, and the device area is the second device's.
    EXPECT_EQ(stateSeenDuringList, CCFButtonScreen::kStatePressed);
    EXPECT_EQ(Recorded().sentFirstDurations.size(), 2u);
    EXPECT_EQ(viewer.screen->CurrentDevice()->Device()->recordOffset, two);
    EXPECT_EQ(viewer.shown, (std::vector<std::u16string>{U("First"), U("Second")}));
    EXPECT_EQ(viewer.screen->DeviceButton()->Caption(), U("Second"));
    EXPECT_TRUE(viewer.screen->DeviceButton()->Expanded());
    // The old button is out of sight and goes when control is back in the event loop, not before.
    ASSERT_TRUE(watched);
    EXPECT_FALSE(watched->isVisibleTo(viewer.screen.get()));
    CCFFlushDeferredWindows();
    EXPECT_FALSE(watched);
    EXPECT_EQ(viewer.screen->childAt(15, 65), viewer.screen->CurrentDevice()->PanelWindow());
}

TEST(CCFWindows, PenUpRestoresTheNormalState) {
    OnePanel file;
    ButtonFields b;
    b.bitmaps = {};
    b.colors = {Colors{0, 1, 0, 0}, Colors{0, 1, 0, 0}, Colors{0, 1, 0, 0}, Colors{0, 1, 0, 0}};
    Viewer viewer(file.Finish({{0, 0, file.w.Button(b), 1}}));
    auto* button = qobject_cast<CCFButtonScreen*>(viewer.screen->childAt(5, 5));
    ASSERT_NE(button, nullptr);
    button->PenDown();
    EXPECT_EQ(button->State(), CCFButtonScreen::kStatePressed);
    button->PenUp();
    EXPECT_EQ(button->State(), CCFButtonScreen::kStateNormal);
}

TEST(CCFWindows, EveryFormOfTheSampleFileBuildsDrawsAndTaps) {
    RecordEffects effects;
    for (bool color : {false, true}) {
        for (bool bit17 : {false, true}) {
            SampleFile sample = MakeSampleFile(color, bit17);
            Viewer viewer(sample.bytes, true);
            // The home group's device has a panel: it is the home device.
            ASSERT_NE(viewer.screen->CurrentDevice(), nullptr);
            EXPECT_EQ(viewer.screen->CurrentDevice()->Device()->recordOffset, sample.homeDevice);
            EXPECT_EQ(viewer.shown, std::vector<std::u16string>{U("Home")});
            EXPECT_EQ(viewer.screen->ShowDevice(sample.tv, sample.tvPanel2), 1u);
            EXPECT_EQ(viewer.screen->CurrentDevice()->CurrentPanel()->recordOffset, sample.tvPanel2);
            EXPECT_EQ(viewer.screen->ShowDevice(sample.tv, 0), 1u);
            const QImage shot = viewer.Grab();
            EXPECT_EQ(shot.size(), QSize(240, 320));
            // Every point of the device area tapped: lists run, jumps replace windows under the pen.
            for (int y = 55; y < 320; y += 9) {
                for (int x = 1; x < 240; x += 9) Tap(viewer.screen.get(), {x, y});
                CCFFlushDeferredWindows();
            }
            EXPECT_NE(viewer.screen->CurrentDevice(), nullptr);
            EXPECT_EQ(viewer.screen->ShowDevice(sample.macro, 0), 1u);
            EXPECT_TRUE(viewer.screen->MacroButton()->Expanded());
            EXPECT_FALSE(viewer.screen->DeviceButton()->Expanded());
            EXPECT_EQ(viewer.screen->MacroButton()->Caption(), U("Watch TV"));
        }
    }
    EXPECT_FALSE(Recorded().sentFirstDurations.empty());
}

}  // namespace
