#include "handheld/shell/screen.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cstdlib>

#include "handheld/shell/desktop_frame.h"

namespace {

using handheld::Orientation;

TEST(HandheldScreen, SizeFollowsOrientation) {
    handheld::HandheldScreen portrait(Orientation::Portrait, nullptr);
    EXPECT_EQ(portrait.size(), QSize(240, 320));
    handheld::HandheldScreen landscape(Orientation::Landscape, nullptr);
    EXPECT_EQ(landscape.size(), QSize(320, 240));
    EXPECT_EQ(handheld::CurrentScreen(), &landscape);
    EXPECT_EQ(handheld::CurrentOrientation(), Orientation::Landscape);
}

TEST(HandheldScreen, StartsAsTheProfileSays) {
    handheld::HandheldProfile profile;
    profile.orientationAtStart = Orientation::Landscape;
    handheld::SetProfile(profile);
    handheld::HandheldScreen screen;
    EXPECT_EQ(screen.orientation(), Orientation::Landscape);
    profile.orientationAtStart = Orientation::Portrait;
    handheld::SetProfile(profile);
}

TEST(HandheldScreen, TurningResizesAndTellsOnlyOnChange) {
    handheld::HandheldScreen screen(Orientation::Portrait, nullptr);
    QSignalSpy turned(&screen, &handheld::HandheldScreen::ScreenTurned);
    screen.Rotate();
    EXPECT_EQ(screen.size(), QSize(320, 240));
    screen.SetOrientation(Orientation::Landscape);  // already so: nothing to tell
    screen.Rotate();
    EXPECT_EQ(screen.size(), QSize(240, 320));
    ASSERT_EQ(turned.count(), 2);
    EXPECT_EQ(turned[0][0].value<Orientation>(), Orientation::Landscape);
    EXPECT_EQ(turned[1][0].value<Orientation>(), Orientation::Portrait);
}

TEST(HandheldScreen, NoCurrentScreenAfterItIsGone) {
    { handheld::HandheldScreen screen(Orientation::Portrait, nullptr); }
    EXPECT_EQ(handheld::CurrentScreen(), nullptr);
}

TEST(DesktopFrame, FitsTheScreenAndTurnsWithIt) {
    handheld::DesktopFrame frame;
    const QSize portrait = frame.Screen()->size();
    const QSize ledStrip(0, handheld::DesktopFrame::kLedStripPx);
    EXPECT_EQ(frame.size(), portrait + ledStrip);
    frame.Rotate();
    EXPECT_EQ(frame.size(), portrait.transposed() + ledStrip);
    EXPECT_EQ(frame.Screen()->pos(), QPoint(0, 0));
}

TEST(DesktopFrame, ZoomOptionIsTakenOutOfTheArguments) {
    const char* saved = std::getenv("QT_SCALE_FACTOR");
    const std::string savedValue = saved ? saved : "";
    unsetenv("QT_SCALE_FACTOR");
    struct Case {
        std::vector<std::string> args;
        int zoom;
        std::vector<std::string> rest;
    };
    const Case cases[] = {
        {{"orvane", "--zoom", "3", "--x"}, 3, {"orvane", "--x"}},
        {{"orvane", "--zoom=1"}, 1, {"orvane"}},
        {{"orvane", "--zoom", "0"}, handheld::kDefaultDesktopZoom, {"orvane"}},  // refused, default kept
        {{"orvane", "--zoom=many", "a"}, handheld::kDefaultDesktopZoom, {"orvane", "a"}},
        {{"orvane"}, handheld::kDefaultDesktopZoom, {"orvane"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage = c.args;
        std::vector<char*> argv;
        for (auto& s : storage) argv.push_back(s.data());
        argv.push_back(nullptr);
        int argc = int(c.args.size());
        EXPECT_EQ(handheld::TakeZoomOption(argc, argv.data()), c.zoom) << c.args.back();
        EXPECT_EQ(std::vector<std::string>(argv.begin(), argv.begin() + argc), c.rest);
        EXPECT_EQ(std::string(std::getenv("QT_SCALE_FACTOR")), std::to_string(c.zoom));
        unsetenv("QT_SCALE_FACTOR");
    }
    if (saved) setenv("QT_SCALE_FACTOR", savedValue.c_str(), 1);
}

}  // namespace
