// Renders the learning and picking dialogs as the handheld shows them, in both orientations. Each picture fills
// the screen with its title line; with ORVANE_SCREENSHOT_DIR set the pictures are also written there.
#include <QColorDialog>
#include <QImage>
#include <QLineEdit>
#include <QSlider>
#include <cstdlib>

#include "app/ir/gui/button_properties_dialog.h"
#include "app/ir/gui/color_chooser.h"
#include "app/ir/gui/pause_dialog.h"
#include "app/panel/select_button_dialog.h"
#include "app/panel/select_label_dialog.h"
#include "tests/learn/learn_home.h"

namespace learn_test {
namespace {

using handheld::Orientation;

QImage CheckAndKeep(handheld::HandheldScreen& screen, const char* name) {
    const QImage image = screen.grab().toImage();
    const QSize expected = handheld::ScreenSize(screen.orientation());
    EXPECT_EQ(image.size(), expected) << name;
    EXPECT_EQ(image.pixelColor(2, handheld::kDialogTitleLineY), QColor(Qt::black)) << name;
    if (const char* folder = std::getenv("ORVANE_SCREENSHOT_DIR")) {
        const QString orientation = screen.orientation() == Orientation::Portrait ? "portrait" : "landscape";
        EXPECT_TRUE(image.save(QStringLiteral("%1/%2-%3.png").arg(folder, name, orientation)));
    }
    return image;
}

class Screenshots : public LearnHome {};

TEST_F(Screenshots, LearningAndPickingDialogsInBothOrientations) {
    AddDevice(u"Lab", DT_RECEIVER);
    ASSERT_TRUE(Open(u"Lab"));
    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        if (screen.orientation() != orientation) screen.Rotate();
        screen.show();
        {
            ButtonPropertiesDialog properties(nullptr, state, panels, u"PW");
            properties.Control<QLineEdit>(ButtonPropertiesDialog::kNameEdit)->setText("Power");
            properties.show();
            const QImage image = CheckAndKeep(screen, "button-properties");
            // The preview: the rounded rectangle in the button's colour at its place.
            const QRect preview = properties.PreviewRect();
            const std::uint32_t color = Record(u"PW")->color;
            EXPECT_EQ(image.pixelColor(preview.center().x(), preview.top() + 2),
                      QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
        }
        {
            PauseDialog pause(nullptr);
            pause.Slider()->setValue(1500);
            pause.show();
            CheckAndKeep(screen, "pause");
        }
        {
            ColorChooserDialog chooser(nullptr, QColor(255, 0, 50));
            chooser.show();
            CheckAndKeep(screen, "color-chooser");
        }
        {
            SelectButtonDialog select(nullptr, state, panels, *artwork, QPoint(12, 34), {});
            select.show();
            const QImage image = CheckAndKeep(screen, "select-button");
            const auto [top, bottom] = select.PreviewArea();
            EXPECT_EQ(image.pixelColor(12, top + 2), QColor(0xC8, 0xC8, 0xC8));
        }
        {
            SelectLabelDialog labels(nullptr, *artwork, u"LABELPW");
            labels.show();
            CheckAndKeep(screen, "select-label");
        }
    }
}

}  // namespace
}  // namespace learn_test
