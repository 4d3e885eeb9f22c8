// orvanectl ccf render and ccf tap, run as a user runs them.
#include "tests/ccf_viewer/ccf_viewer_util.h"
// Then Qt and the rest.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <fstream>

#include "tests/support/run_tool.h"

using namespace ccf_test;

namespace {

struct TwoDevices {
    std::vector<std::uint8_t> bytes;
    std::uint32_t tv = 0, vcr = 0;
};

// TV: a red-filled "Power" button at (10, 60) sending a code, then jumping to VCR (two panels).
TwoDevices MakeFile() {
    CCFWriter w(true, false);
    TwoDevices file;
    const std::uint32_t code = w.IRCode(w.Name("Power"), 0, 109, {{16, 8}, {16, 300}}, {});
    const std::uint32_t list = w.ActionList({{1, 0, code}, {4, 0, 250}, {3, 0, 0}});
    ButtonFields power;
    power.name = w.Name("Power");
    power.font = 3;
    power.actions = list;
    // Fill index 249 (a red in the colour palette is not assumed: the test reads the PNG back).
    power.colors = {Colors{0, 249, 0, 0}, Colors{0, 249, 0, 0}, Colors{0, 249, 0, 0}, Colors{0, 249, 0, 0}};
    DeviceFields tv;
    tv.name = w.Name("TV");
    tv.firstPanel = w.Panel({{10, 60, w.Button(power), 1}});
    file.tv = w.Device(tv);
    DeviceFields vcr;
    vcr.name = w.Name("VCR");
    vcr.firstPanel = w.Chain({w.Panel({}), w.Panel({})});
    file.vcr = w.Device(vcr);
    w.Link(file.tv, file.vcr);
    w.SetAction(list, 2, file.vcr, 0);
    w.SetChain(2, file.tv);
    file.bytes = w.Bytes();
    return file;
}

class CCFTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = (dir_.path() + "/two.ccf").toStdString();
        const TwoDevices file = MakeFile();
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
    }
    QJsonObject Json(const orvane_test::ToolRun& run) {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    }
    QTemporaryDir dir_;
    std::string path_;
};

TEST_F(CCFTool, RenderPaintsTheViewerAndDescribesItsWindows) {
    const std::string png = (dir_.path() + "/shot.png").toStdString();
    const std::string pressed = (dir_.path() + "/pressed.png").toStdString();
    const QJsonObject tree = Json(orvane_test::RunTool("orvanectl", {"ccf", "render", path_, "--out", png, "--json"}));
    EXPECT_EQ(tree["device"].toString(), "TV");
    EXPECT_EQ(tree["panel"].toInt(), 0);
    const QJsonArray windows = tree["windows"].toArray();
    ASSERT_EQ(windows.size(), 1);
    const QJsonObject button = windows[0].toObject();
    EXPECT_EQ(button["class"].toString(), "CCFButtonScreen");
    EXPECT_EQ(button["x"].toInt(), 10);
    EXPECT_EQ(button["y"].toInt(), 60);
    EXPECT_EQ(button["width"].toInt(), 40);
    EXPECT_EQ(button["name"].toString(), "Power");
    EXPECT_EQ(button["font"].toInt(), 3);
    EXPECT_EQ(button["state"].toInt(), 2);

    // With the strip the device area moves 50 pixels down; a press shows state 3 without running the list.
    const QJsonObject stripTree = Json(orvane_test::RunTool(
        "orvanectl", {"ccf", "render", path_, "--strip", "--press", "15,115", "--out", pressed, "--json"}));
    EXPECT_EQ(stripTree["windows"].toArray()[0].toObject()["y"].toInt(), 110);
    EXPECT_EQ(stripTree["windows"].toArray()[0].toObject()["state"].toInt(), 3);
    EXPECT_EQ(stripTree["device"].toString(), "TV");

    const QImage shot(QString::fromStdString(png));
    ASSERT_EQ(shot.size(), QSize(240, 320));
    // An 8-bit RGB PNG: bit depth 8, colour type 2 in the header.
    std::ifstream in(png, std::ios::binary);
    std::vector<char> header(26);
    in.read(header.data(), 26);
    EXPECT_EQ(header[24], 8);
    EXPECT_EQ(header[25], 2);
    EXPECT_EQ(shot.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(11, 61), QColor(CCFColorRef(CCFGetColor(CCFBitmapKind::kBitmap256, 249))).rgb());

    const QJsonObject panel1 =
        Json(orvane_test::RunTool("orvanectl", {"ccf", "render", path_, "--device", "VCR", "--panel", "1", "--json"}));
    EXPECT_EQ(panel1["device"].toString(), "VCR");
    EXPECT_EQ(panel1["panel"].toInt(), 1);
    EXPECT_NE(orvane_test::RunTool("orvanectl", {"ccf", "render", path_, "--device", "VCR", "--panel", "2"}).exitCode,
              0);
    EXPECT_NE(orvane_test::RunTool("orvanectl", {"ccf", "render", path_, "--device", "vcr"}).exitCode, 0);
}

TEST_F(CCFTool, TapRunsTheListAndReportsWhatHappened) {
    const QJsonObject result =
        Json(orvane_test::RunTool("orvanectl", {"ccf", "tap", path_, "15,65", "15,65", "--json"}));
    const QJsonArray taps = result["taps"].toArray();
    ASSERT_EQ(taps.size(), 2);
    const QJsonObject first = taps[0].toObject();
    const QJsonArray events = first["events"].toArray();
    ASSERT_EQ(events.size(), 2);
    const QJsonObject send = events[0].toObject()["send"].toObject();
    // 109 divides the clock to about 38 kHz: a period of 26 us, and the first mark of 16 periods.
    EXPECT_NEAR(send["carrier_hz"].toDouble(), 38462, 1500);
    ASSERT_GE(send["durations_us"].toArray().size(), 3);
    EXPECT_NEAR(send["durations_us"].toArray()[0].toDouble(), 416, 30);
    EXPECT_EQ(events[1].toObject()["delay_ms"].toInt(), 250);
    EXPECT_EQ(first["changes"].toArray(), QJsonArray{"VCR"});
    EXPECT_EQ(first["device"].toString(), "VCR");
    // The second tap lands on VCR's empty panel.
    const QJsonObject second = taps[1].toObject();
    EXPECT_TRUE(second["events"].toArray().isEmpty());
    EXPECT_EQ(second["device"].toString(), "VCR");
}

}  // namespace
