// orvanectl render, run as a user would on a handheld with the demo devices: the PNG is the panel the program
// paints, pixel for pixel, and the JSON describes the panel and the frame as built.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "app/panel/device_opening.h"
#include "app/panel/panel_window.h"
#include "app/shell/gui/program.h"
#include "app/shell/language_table.h"
#include "app/shell/stored_files.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

class RenderCommand : public testing::Test {
protected:
    orvane_test::ToolRun Render(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--handheld", home_.Directory().string(), "render"});
        return orvane_test::RunTool("orvanectl", arguments);
    }
    std::string Png(const char* name) const { return (home_.Directory() / name).string(); }

    // The panel of a demo device as the program paints it, in this process.
    QImage Painted(std::u16string_view device, int orientation, bool functionPanel) {
        const auto library = handheld::ResourceLibrary::Load(GetProgramFolder() + u"\\KRBtnLib.dll");
        const LibraryArtwork artwork(library.get());
        AppState state;
        ApplicationSettings settings;
        ReadConfigurationAtStart(settings, nullptr);
        TakeSettings(state, settings);
        DevicePanels panels;
        DeviceOpening opening;
        opening.library = &artwork;
        if (!OpenDevice(device, state, panels, opening)) return {};
        const CaptionTextPainter text;
        return ToRgbImage(
            PaintedPanel(functionPanel ? panels.functionPanel : panels.mainPanel, orientation, true, &text));
    }

    orvane_test::TestHome home_;
};

TEST_F(RenderCommand, PanelPngIsThePaintedPanelAsEightBitRgb) {
    const auto run = Render({"TV", "--out", Png("tv.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QFile file(QString::fromStdString(Png("tv.png")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 26);
    EXPECT_EQ(bytes[24], 8);  // bit depth
    EXPECT_EQ(bytes[25], 2);  // colour type: RGB
    const QImage png = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(png.size(), QSize(240, 270));
    EXPECT_EQ(png, Painted(u"TV", kOrientationPortrait, false));

    const auto turned = Render({"My Amp", "--landscape", "--function-panel", "--out", Png("amp.png")});
    ASSERT_EQ(turned.exitCode, 0) << turned.err;
    const QImage landscape(QString::fromStdString(Png("amp.png")));
    EXPECT_EQ(landscape.size(), QSize(270, 240));
    EXPECT_EQ(landscape.convertToFormat(QImage::Format_RGB888), Painted(u"My Amp", kOrientationLandscape, true));
}

TEST_F(RenderCommand, PressedEditAndHitMatchThePanel) {
    ASSERT_EQ(Render({"TV", "--out", Png("normal.png")}).exitCode, 0);
    ASSERT_EQ(Render({"TV", "--pressed", "CH1", "--out", Png("pressed.png")}).exitCode, 0);
    ASSERT_EQ(Render({"TV", "--edit", "--out", Png("edit.png")}).exitCode, 0);
    const QImage normal(QString::fromStdString(Png("normal.png")));
    const QImage pressed(QString::fromStdString(Png("pressed.png")));
    const QImage edit(QString::fromStdString(Png("edit.png")));
    EXPECT_NE(normal.pixelColor(10, 20), pressed.pixelColor(10, 20));  // on CH1
    EXPECT_EQ(normal.pixelColor(200, 150), pressed.pixelColor(200, 150));
    EXPECT_EQ(edit.pixelColor(0, 268), QColor(255, 255, 255));
    EXPECT_NE(normal.pixelColor(0, 268), QColor(255, 255, 255));

    EXPECT_EQ(Render({"TV", "--hit", "24,22"}).out, "{\"name\":\"CH1\"}\n");
    EXPECT_EQ(Render({"TV", "--hit", "0,0"}).out, "{\"name\":\"\"}\n");
    EXPECT_EQ(Render({"TV", "--hit", "24"}).exitCode, 2);
    EXPECT_EQ(Render({"TV", "--pressed", "NOPE"}).exitCode, 1);
    EXPECT_EQ(Render({"Nowhere"}).exitCode, 1);
    EXPECT_EQ(Render({}).exitCode, 2);
}

TEST_F(RenderCommand, JsonListsThePanelAndTheFrameAsBuilt) {
    const auto panel = Render({"My Amp", "--json"});
    ASSERT_EQ(panel.exitCode, 0) << panel.err;
    EXPECT_EQ(panel.out.rfind("{\"orientation\":1,\"panel\":\"main\",\"buttons\":[{\"name\":\"CUSTOM$0\",", 0), 0u)
        << panel.out;
    EXPECT_NE(panel.out.find("\"skin\":\"F_RIGHT\",\"shape\":\"F_RIGHT\",\"label\":\"\",\"color\":"),
              std::string::npos);
    EXPECT_NE(panel.out.find("\"caption\":\"Input\",\"state\":1}"), std::string::npos);

    const auto screen = Render({"--screen", "--landscape", "--json", "--out", Png("screen.png"), "TV"});
    ASSERT_EQ(screen.exitCode, 0) << screen.err;
    EXPECT_NE(screen.out.find("{\"id\":\"menu\",\"class\":\"PushWidget\",\"bitmaps\":[159,159,163,163],\"x\":295,"
                              "\"y\":30,\"width\":25,\"height\":25}"),
              std::string::npos)
        << screen.out;
    EXPECT_NE(screen.out.find("\"panelWindow\":{\"x\":25,\"y\":0,\"width\":270,\"height\":240}"), std::string::npos);
    const QImage image(QString::fromStdString(Png("screen.png")));
    EXPECT_EQ(image.size(), QSize(320, 240));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(198, 198, 198));
}

}  // namespace
