// The frame's picture widgets: the program's bitmaps by number at the sizes the frame gives them, hit tests
// with edges excluded, press and release looks, toggles, and text widgets.
#include "app/panel/bitmap_widgets.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include "app/panel/frame_widgets.h"

namespace {

bool Same(const QImage& a, const QImage& b) {
    return !a.isNull() && a.convertToFormat(QImage::Format_RGB888) == b.convertToFormat(QImage::Format_RGB888);
}

// Counts the paints that reach it.
class CountingWindow : public QWidget {
public:
    CountingWindow() {
        resize(320, 320);
        show();
        exposed = QTest::qWaitForWindowExposed(this);
        paints = 0;
    }
    void Flush() { QCoreApplication::sendPostedEvents(); }
    bool exposed = false;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(ProgramBitmaps, EveryWidgetsBitmapsExistAtItsSize) {
    FrameWidgets frame(nullptr, 1);
    for (BitmapWidget* widget : frame.All()) {
        for (int orientation : {1, 2}) {
            widget->SetOrientation(orientation);
            const std::vector<int> numbers = widget->BitmapNumbers();
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                // The numbers come in portrait/landscape pairs.
                if (int(i % 2) != (orientation == 1 ? 0 : 1)) continue;
                const QImage bitmap = LoadProgramBitmap(numbers[i]);
                ASSERT_FALSE(bitmap.isNull()) << numbers[i];
                EXPECT_EQ(bitmap.size(), widget->Rect().size()) << numbers[i] << " " << widget->Id().toStdString();
            }
        }
    }
    EXPECT_TRUE(LoadProgramBitmap(157).isNull());
    EXPECT_TRUE(LoadProgramBitmap(0).isNull());
}

TEST(BitmapWidget, TapsOnTheEdgesMiss) {
    PushWidget menu(QStringLiteral("menu"), nullptr, 1, {159, 215, 295, 25, 25}, 163, {159, 295, 30, 25, 25}, 163);
    EXPECT_TRUE(menu.HitTest(216, 296));
    EXPECT_TRUE(menu.HitTest(239, 319));
    EXPECT_FALSE(menu.HitTest(215, 300));
    EXPECT_FALSE(menu.HitTest(240, 300));
    EXPECT_FALSE(menu.HitTest(220, 295));
    EXPECT_FALSE(menu.HitTest(220, 320));
    menu.SetOrientation(2);
    EXPECT_EQ(menu.Rect(), QRect(295, 30, 25, 25));
    EXPECT_TRUE(menu.HitTest(300, 40));
    EXPECT_FALSE(menu.HitTest(220, 300));
}

TEST(PushWidget, PressShowsThePressedBitmapUntilRelease) {
    CountingWindow window;
    ASSERT_TRUE(window.exposed);
    PushWidget next(QStringLiteral("next"), &window, 1, {176, 112, 295, 12, 25}, 177, {178, 295, 116, 25, 12}, 179);
    EXPECT_TRUE(Same(next.CurrentBitmap(), LoadProgramBitmap(176)));
    next.Press();
    window.Flush();
    EXPECT_EQ(window.paints, 1);
    EXPECT_TRUE(Same(next.CurrentBitmap(), LoadProgramBitmap(177)));
    next.SetOrientation(2);
    EXPECT_TRUE(Same(next.CurrentBitmap(), LoadProgramBitmap(179)));
    next.Press();  // already pressed: nothing to repaint
    window.Flush();
    EXPECT_EQ(window.paints, 1);
    next.Release();
    window.Flush();
    EXPECT_EQ(window.paints, 2);
    EXPECT_TRUE(Same(next.CurrentBitmap(), LoadProgramBitmap(178)));
    next.Release();
    window.Flush();
    EXPECT_EQ(window.paints, 2);
}

TEST(ToggleWidget, FlipsOnceForAPressAndReleaseAndShowsEachLook) {
    ToggleWidget toggle(QStringLiteral("function"), nullptr, 1, {168, 190, 295, 25, 25}, 169, {168, 295, 55, 25, 25},
                        169, {160, 160, 164, 164});
    EXPECT_EQ(toggle.On(), 0);
    EXPECT_TRUE(Same(toggle.CurrentBitmap(), LoadProgramBitmap(168)));
    toggle.Press();
    EXPECT_TRUE(Same(toggle.CurrentBitmap(), LoadProgramBitmap(169)));
    EXPECT_EQ(toggle.On(), 0);  // pressed, not yet released
    toggle.Release();
    EXPECT_EQ(toggle.On(), 1);
    EXPECT_TRUE(Same(toggle.CurrentBitmap(), LoadProgramBitmap(160)));
    toggle.Release();  // a release without a press flips nothing
    EXPECT_EQ(toggle.On(), 1);
    toggle.Press();
    EXPECT_TRUE(Same(toggle.CurrentBitmap(), LoadProgramBitmap(164)));
    toggle.Press();
    toggle.Release();
    EXPECT_EQ(toggle.On(), 0);
    EXPECT_FALSE(toggle.Pressed());
}

TEST(TextWidget, SameTextDoesNotRepaintAndLongTextIsCut) {
    CountingWindow window;
    ASSERT_TRUE(window.exposed);
    TextWidget name(QStringLiteral("deviceName"), &window, 1, {170, 17, 297, 95, 20}, {171, 297, 130, 20, 95});
    name.SetText(u"TV");
    window.Flush();
    EXPECT_EQ(window.paints, 1);
    name.SetText(u"TV");
    window.Flush();
    EXPECT_EQ(window.paints, 1);
    const std::u16string longText(300, u'x');
    name.SetText(longText);
    EXPECT_EQ(name.Text().size(), 259u);
    window.Flush();
    EXPECT_EQ(window.paints, 2);
    name.SetText(longText);  // cut the same way: unchanged
    window.Flush();
    EXPECT_EQ(window.paints, 2);
}

// The bounding box of dark pixels inside a rectangle.
QRect DarkPixels(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(TextWidget, TextRunsAlongTheWidgetInBothOrientations) {
    TextWidget name(QStringLiteral("deviceName"), nullptr, 1, {170, 17, 297, 95, 20}, {171, 297, 130, 20, 95});
    name.SetText(u"Receiver");
    for (int orientation : {1, 2}) {
        name.SetOrientation(orientation);
        QImage screen(orientation == 1 ? 240 : 320, orientation == 1 ? 320 : 240, QImage::Format_RGB888);
        screen.fill(Qt::white);
        QPainter painter(&screen);
        painter.setPen(Qt::black);
        name.Draw(painter);
        painter.end();
        const QRect text = DarkPixels(screen, name.Rect().adjusted(2, 2, -2, -2));
        ASSERT_FALSE(text.isEmpty()) << orientation;
        if (orientation == 1) {
            EXPECT_GT(text.width(), text.height());
        } else {
            EXPECT_GT(text.height(), text.width());
        }
        // Centred along the widget.
        const QPoint middle = name.Rect().center();
        EXPECT_NEAR(text.center().x(), middle.x(), 3);
        EXPECT_NEAR(text.center().y(), middle.y(), 3);
    }
}

TEST(FrameWidgets, PlacesEveryWidgetOnTheScreenInBothOrientations) {
    FrameWidgets frame(nullptr, 1);
    ASSERT_EQ(frame.All().size(), 12u);
    EXPECT_EQ(frame.deviceName.Rect(), QRect(17, 297, 95, 20));
    EXPECT_STREQ(frame.sound.ClassName(), "ToggleWidget");
    for (BitmapWidget* widget : frame.All()) EXPECT_TRUE(QRect(0, 0, 240, 320).contains(widget->Rect()));
    frame.SetOrientation(2);
    EXPECT_EQ(frame.previousDevice.Rect(), QRect(295, 225, 25, 12));
    for (BitmapWidget* widget : frame.All()) EXPECT_TRUE(QRect(0, 0, 320, 240).contains(widget->Rect()));
    frame.menu.Press();
    frame.function.Press();
    frame.ReleaseAll();
    EXPECT_FALSE(frame.menu.Pressed());
    EXPECT_EQ(frame.function.On(), 1);
}

}  // namespace
