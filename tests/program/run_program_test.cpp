// The whole program on a test home: start-up order (device manager first when nothing is shown, the folder
// scan before the opening, ".kdr" before ".ccf"), one program per home, the configuration written only by a
// run that read it, and a tap through the desktop frame reaching the transmit pin and the IR log.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>

#include "app/model/configuration.h"
#include "app/model/device_library.h"
#include "handheld/input.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/handheld_dialog.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/single_instance.h"
#include "tests/program/program_fixture.h"

namespace {

using orvane_test::ProgramTest;

class RunProgramTest : public ProgramTest {
protected:
    RunProgramTest() {
        TheAppState() = AppState{};
        options_.qtMessageBoxes = false;
        // The start-up hint would wait for its reader; what the program asks for is checked with the main menu.
        TheProgramHooks().showHint = [this](handheld::HWND, int hint, int) { hintsShown_.push_back(hint); };
    }
    ~RunProgramTest() override { handheld::SetKeyStateScript(nullptr); }

    std::filesystem::path HostPath(const std::string& programRelative) const {
        return home_.Storage() / "Program Files" / "Orvane" / programRelative;
    }
    std::vector<unsigned char> ConfigurationBytes() const {
        return home_.ReadFile(GetProgramFolder() + u"\\Orvane.cfg");
    }
    void StoreSettings(const ApplicationSettings& settings) { ASSERT_TRUE(WriteConfiguration(settings)); }
    ApplicationSettings StoredSettings() const {
        ApplicationSettings settings;
        std::optional<std::u16string> port;
        EXPECT_TRUE(ReadConfiguration(settings, port));
        return settings;
    }
    // Runs the program; check sees it started, then it is closed as by "Exit".
    int Run(std::function<void(MainWindow&)> check) {
        options_.started = [check = std::move(check)](MainWindow& window) {
            if (check) check(window);
            window.RunCommand(kCommandExit);
        };
        return RunProgram(options_);
    }

    static QPoint CentreOfIn(const MainWindow& window, std::u16string_view name) {
        const FaceButton* button = window.Panels().mainPanel.FindButton(name);
        return button ? QPoint(button->x + button->width / 2, button->y + button->height / 2) : QPoint(-1, -1);
    }
    ProgramOptions options_;
    std::vector<int> hintsShown_;
};

TEST_F(RunProgramTest, WithHintsOnTheStartAsksForItsHintOnce) {
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(hintsShown_, std::vector<int>{35});
}

TEST_F(RunProgramTest, EmptyShownListRunsTheDeviceManagerBeforeAnythingIsOpened) {
    ApplicationSettings settings = StoredSettings();
    settings.shownDevices.clear();
    settings.currentDevice.clear();
    StoreSettings(settings);
    int managerResource = 0;
    bool panelEmptyMeanwhile = false;
    handheld::QueueDialogScript([&](handheld::HandheldDialog& dialog) {
        managerResource = dialog.ResourceId();
        panelEmptyMeanwhile = TheAppState().device.records.empty();
        dialog.reject();
    });
    bool started = false;
    EXPECT_EQ(Run([&](MainWindow&) { started = true; }), 0);
    EXPECT_TRUE(started);
    EXPECT_EQ(managerResource, 113);
    EXPECT_TRUE(panelEmptyMeanwhile);
}

TEST_F(RunProgramTest, CurrentDeviceWhoseFileIsGoneGivesWayToTheFirstShownDevice) {
    ApplicationSettings settings = StoredSettings();
    settings.currentDevice = u"Player";
    StoreSettings(settings);
    std::filesystem::remove(HostPath("Devices/Player.kdr"));
    std::u16string opened;
    EXPECT_EQ(Run([&](MainWindow& window) {
                  opened = TheAppState().currentDevice;
                  EXPECT_FALSE(window.Widgets().deviceName.Text().empty());
              }),
              0);
    EXPECT_EQ(opened, u"TV");
    EXPECT_EQ(StoredSettings().currentDevice, u"TV");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(RunProgramTest, NameWithBothKdrAndCcfFilesOpensTheKdr) {
    std::ofstream(HostPath("Devices/TV.ccf"), std::ios::binary) << "not a CCF file at all";
    int ccfShown = 0;
    TheProgramHooks().showCcf = [&](std::u16string_view, handheld::HWND) { return ++ccfShown > 0; };
    DeviceType type = DT_CCF;
    EXPECT_EQ(Run([&](MainWindow&) { type = TheAppState().device.deviceType; }), 0);
    EXPECT_EQ(type, DT_RECEIVER);
    EXPECT_EQ(ccfShown, 0);
}

TEST_F(RunProgramTest, ShutdownWritesTheSettingsOfThisRun) {
    std::u16string chosenPort;
    EXPECT_EQ(Run([&](MainWindow& window) {
                  ASSERT_TRUE(window.Open(u"My Amp"));
                  // The first port of the handheld's default registry, chosen from the submenu.
                  window.RunCommand(40066);
                  chosenPort = TheAppState().portName;
              }),
              0);
    EXPECT_FALSE(chosenPort.empty());
    EXPECT_EQ(StoredSettings().currentDevice, u"My Amp");
    // The stored port is handed over apart from the other settings.
    ApplicationSettings stored;
    std::optional<std::u16string> storedPort;
    ASSERT_TRUE(ReadConfiguration(stored, storedPort));
    EXPECT_EQ(storedPort.value_or(u""), chosenPort);
}

TEST_F(RunProgramTest, SecondStartOnTheSameHomeEndsWithMinusOneAndTouchesNothing) {
    const handheld::SingleInstance first(QStringLiteral("ORVANE.Orvane"));
    ASSERT_TRUE(first.First());
    int frontRequests = 0;
    QObject::connect(&first, &handheld::SingleInstance::FrontRequested, [&] { ++frontRequests; });
    const auto stored = ConfigurationBytes();
    bool started = false;
    EXPECT_EQ(Run([&](MainWindow&) { started = true; }), kSecondInstanceExitCode);
    EXPECT_FALSE(started);
    EXPECT_EQ(ConfigurationBytes(), stored);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frontRequests > 0; }, 5000));

    // Another program name (as another home would be) is not held by the first.
    const handheld::SingleInstance other(QStringLiteral("ORVANE.Other"));
    EXPECT_TRUE(other.First());
}

TEST_F(RunProgramTest, MissingButtonLibraryEndsSilentlyLeavingTheConfigurationAlone) {
    std::filesystem::remove(HostPath("KRBtnLib.dll"));
    const auto stored = ConfigurationBytes();
    bool started = false;
    EXPECT_EQ(Run([&](MainWindow&) { started = true; }), 0);
    EXPECT_FALSE(started);
    EXPECT_EQ(ConfigurationBytes(), stored);
}

TEST_F(RunProgramTest, TapThroughTheDesktopFrameReachesThePinAndTheIrLog) {
    QTemporaryDir logFolder;
    options_.irLogPath = QDir(logFolder.path()).filePath(QStringLiteral("ir.jsonl")).toStdString();
    // The stylus is let go at once: the code is sent with its two guaranteed passes.
    handheld::SetKeyStateScript([](int) { return false; });
    EXPECT_EQ(Run([&](MainWindow& window) {
                  ASSERT_TRUE(window.Open(u"TV"));
                  QWidget* frame = window.window();
                  ASSERT_NE(qobject_cast<handheld::DesktopFrame*>(frame), nullptr);
                  const QPoint at = window.Panel()->mapTo(frame, CentreOfIn(window, u"PW"));
                  QTest::mouseClick(frame->childAt(at), Qt::LeftButton, {}, frame->childAt(at)->mapFrom(frame, at));
              }),
              0);
    EXPECT_GT(Rises(), 0u);
    std::ifstream log(options_.irLogPath);
    std::string line, extra;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_FALSE(std::getline(log, extra)) << "one code, one line";
    EXPECT_NE(line.find("\"device\":\"TV\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"button\":\"PW\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"t_ms\":"), std::string::npos);
    EXPECT_NE(line.find("\"passes\":[{\"edges\":[["), std::string::npos);
    const std::size_t durations = line.find("\"durations_us\":[");
    ASSERT_NE(durations, std::string::npos);
    // The demo's 9 ms header burst, as the pin's carrier cycles measure it.
    EXPECT_NEAR(std::stoi(line.substr(durations + 16)), 9000, 300);
}

}  // namespace

namespace {

TEST_F(RunProgramTest, BareShowsTheHandheldsScreenAloneAtItsOwnSize) {
    options_.bare = true;
    QWidget* topLevel = nullptr;
    QSize size;
    EXPECT_EQ(Run([&](MainWindow& window) {
                  topLevel = window.window();
                  size = topLevel->size();
                  EXPECT_NE(qobject_cast<handheld::HandheldScreen*>(topLevel), nullptr);
              }),
              0);
    EXPECT_EQ(size, QSize(240, 320));
}

TEST_F(RunProgramTest, AboutBoxAndHelpPageOpenInsideTheScreen) {
    home_.WriteFile(GetProgramFolder() + u"\\Orvane.htm",
                    orvane_test::Bytes("<html><body><p>Tap a button to send its code.</p></body></html>"));
    QString aboutTitle, help;
    int pictures = 0;
    QSize aboutSize;
    handheld::QueueDialogScript([&](handheld::HandheldDialog& dialog) {
        aboutTitle = dialog.Title();
        aboutSize = dialog.size();
        for (int id : {149, 150, 152}) {
            if (auto* label = dialog.Control<QLabel>(id); label && !label->pixmap().isNull()) ++pictures;
        }
        EXPECT_EQ(dialog.Control<QLabel>(1002)->text(), QStringLiteral("v 3.5.1"));
        dialog.accept();
    });
    handheld::QueueDialogScript([&](handheld::HandheldDialog& dialog) {
        help = dialog.Control<QTextBrowser>(1003)->toPlainText();
        dialog.accept();
    });
    EXPECT_EQ(Run([&](MainWindow& window) {
                  window.RunCommand(kCommandAbout);
                  window.RunCommand(kCommandHelp);
              }),
              0);
    EXPECT_EQ(aboutTitle, QStringLiteral("About Zanth Remote"));
    EXPECT_EQ(aboutSize, QSize(240, 320));
    EXPECT_EQ(pictures, 3);
    EXPECT_EQ(help, QStringLiteral("Tap a button to send its code."));
}

}  // namespace

namespace {

TEST_F(RunProgramTest, ShutdownClosesTheCcfViewAndTheDeviceManagersOpeningGoesThroughTheWindow) {
    int closes = 0, closesWhileRunning = 0;
    TheProgramHooks().closeCcfView = [&] { ++closes; };
    std::u16string shown;
    EXPECT_EQ(Run([&](MainWindow& window) {
                  // The device manager's OK opens through the one opener the window installed.
                  EXPECT_TRUE(OpenDeviceByName(handheld::ToHwnd(window.Panel()), u"Player", nullptr));
                  shown = window.Widgets().deviceName.Text();
                  closesWhileRunning = closes;
              }),
              0);
    EXPECT_EQ(shown, u"Player");
    EXPECT_EQ(closes, closesWhileRunning + 1);
    EXPECT_FALSE(OpenDeviceByName(nullptr, u"TV", nullptr)) << "no opener is left behind the window";
}

}  // namespace
