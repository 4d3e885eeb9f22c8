#include "app/model/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/model/safe_file.h"
#include "handheld/files.h"
#include "handheld/home.h"
#include "tests/app_model/file_bytes.h"
#include "tests/support/test_home.h"

namespace {

using app_model_test::FileBytes;

constexpr std::u16string_view kPath = u"\\My Documents\\Test.cfg";

FileBytes Head(std::uint8_t version = 1) {
    return FileBytes().Ascii("KRC").U8(version);
}

FileBytes Entry(std::uint16_t flags, std::u16string_view name, std::u16string_view picture, std::u16string_view sound,
                std::uint32_t color) {
    FileBytes out;
    out.U16(flags).String(name).String(picture).String(sound).U32(color);
    return out;
}

// Two shown devices, a port and a rotation, laid out as the format table says.
std::vector<unsigned char> SampleFile() {
    return Head()
        .U16(1)
        .U16(2)
        .String(u"TV")
        .Append(Entry(5, u"TV", u"\\My Documents\\sky.jpg", u"", 0x00112233).Bytes())
        .Append(Entry(0, u"Home", u"", u"\\Windows\\click.wav", 0x00C8C8C8).Bytes())
        .U32(5)
        .Chars(u"COM3:")
        .U32(2)
        .Bytes();
}

struct ConfigurationTest : ::testing::Test {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    ApplicationSettings settings;
    std::optional<std::u16string> storedPort;
    ~ConfigurationTest() override {
        handheld::SetWriteFailureAfterBytes(std::nullopt);
        EXPECT_TRUE(boxes.Shown().empty()) << "the model reports its problems and leaves showing them to the shell";
    }

    void ExpectDefaults() {
        EXPECT_EQ(settings.optionFlags, 5);
        EXPECT_TRUE(settings.currentDevice.empty());
        EXPECT_TRUE(settings.shownDevices.empty());
        EXPECT_TRUE(settings.portName.empty());
        EXPECT_EQ(settings.buttonRotation, 0u);
    }
    // Parses bytes without a file (and without the driver).
    std::optional<std::u16string> Parse(const std::vector<unsigned char>& bytes) {
        MemoryByteSource source(bytes);
        std::optional<std::u16string> port;
        EXPECT_EQ(configuration::Parse(source, settings, port), configuration::ParseResult::Read);
        return port;
    }
};

TEST_F(ConfigurationTest, ReadsEveryFieldAndWritesTheSameBytesBack) {
    const auto port = Parse(SampleFile());
    EXPECT_EQ(settings.optionFlags, 1);
    EXPECT_EQ(settings.currentDevice, u"TV");
    ASSERT_EQ(settings.shownDevices.size(), 2u);
    EXPECT_EQ(settings.shownDevices[0].flags, 5);
    EXPECT_EQ(settings.shownDevices[0].deviceName, u"TV");
    EXPECT_EQ(settings.shownDevices[0].backgroundPicture, u"\\My Documents\\sky.jpg");
    EXPECT_EQ(settings.shownDevices[0].backgroundColor, 0x00112233u);
    EXPECT_EQ(settings.shownDevices[1].buttonSound, u"\\Windows\\click.wav");
    EXPECT_EQ(port, u"COM3:");
    EXPECT_EQ(settings.buttonRotation, 2u);

    settings.portName = *port;
    EXPECT_EQ(configuration::Encode(settings), SampleFile());
    ASSERT_TRUE(WriteConfiguration(kPath, settings));
    EXPECT_EQ(home.ReadFile(kPath), SampleFile());
}

TEST_F(ConfigurationTest, DefaultsAreWrittenAsTheFormatSays) {
    EXPECT_EQ(configuration::Encode(settings), Head().U16(5).U16(0).U16(0).U32(0).U32(0).Bytes());
    const DeviceSettings fresh;
    EXPECT_EQ(fresh.flags, 0);
    EXPECT_EQ(fresh.backgroundColor, 0x00C8C8C8u);
}

TEST_F(ConfigurationTest, MissingAndEmptyFilesKeepTheDefaultsSilently) {
    const FileResult missing = ReadConfiguration(kPath, settings, storedPort);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.problems.empty());
    ExpectDefaults();
    home.WriteFile(kPath, {});
    const FileResult empty = ReadConfiguration(kPath, settings, storedPort);
    EXPECT_TRUE(empty);
    EXPECT_TRUE(empty.problems.empty());
    EXPECT_FALSE(storedPort.has_value());
    ExpectDefaults();
}

TEST_F(ConfigurationTest, AWrongMagicOrVersionIsInvalidAndChangesNothing) {
    for (const auto& bytes : {Head(2).U16(1).U16(0).U16(0).Bytes(), FileBytes().Ascii("KCR").U8(1).U16(1).Bytes()}) {
        home.WriteFile(kPath, bytes);
        const FileResult read = ReadConfiguration(kPath, settings, storedPort);
        EXPECT_FALSE(read);
        ExpectDefaults();
        EXPECT_EQ(read.problems, (Problems{{u"ERR_3", u"Invalid config file", ProblemIcon::Error}}));
    }
}

TEST_F(ConfigurationTest, ACutFileKeepsWhatCameBeforeTheCut) {
    const auto full = SampleFile();
    const std::size_t firstEntryEnd = 4 + 2 + 2 + 6 + Entry(5, u"TV", u"\\My Documents\\sky.jpg", u"", 0).Size();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        settings = ApplicationSettings();
        const auto port = Parse(std::vector<unsigned char>(full.begin(), full.begin() + cut));
        EXPECT_EQ(settings.optionFlags, cut >= 6 ? 1 : 5) << cut;
        EXPECT_EQ(settings.currentDevice, cut >= 14 ? u"TV" : u"") << cut;
        const std::size_t expectedShown = cut < firstEntryEnd ? 0 : (cut < full.size() - 4 - 10 - 4 ? 1 : 2);
        EXPECT_EQ(settings.shownDevices.size(), expectedShown) << cut;
        EXPECT_EQ(port.has_value(), cut >= full.size() - 4) << cut;
        EXPECT_EQ(settings.buttonRotation, 0u) << cut;
    }
}

TEST_F(ConfigurationTest, OverlongStringsKeep260CharactersAndTheFieldsAfterThemStayInPlace) {
    const std::u16string longPicture(300, u'p');
    const std::u16string longPort(270, u'C');
    const auto bytes = Head()
                           .U16(0)
                           .U16(2)
                           .String(std::u16string(261, u'd'))
                           .Append(Entry(1, u"A", longPicture, u"s", 7).Bytes())
                           .Append(Entry(4, u"B", u"", u"", 9).Bytes())
                           .U32(static_cast<std::uint32_t>(longPort.size()))
                           .Chars(longPort)
                           .U32(3)
                           .Bytes();
    const auto port = Parse(bytes);
    EXPECT_EQ(settings.currentDevice, std::u16string(260, u'd'));
    ASSERT_EQ(settings.shownDevices.size(), 2u);
    EXPECT_EQ(settings.shownDevices[0].backgroundPicture, longPicture.substr(0, 260));
    EXPECT_EQ(settings.shownDevices[0].buttonSound, u"s");
    EXPECT_EQ(settings.shownDevices[0].backgroundColor, 7u);
    EXPECT_EQ(settings.shownDevices[1].deviceName, u"B");
    EXPECT_EQ(settings.shownDevices[1].backgroundColor, 9u);
    EXPECT_EQ(port, longPort.substr(0, 260));
    EXPECT_EQ(settings.buttonRotation, 3u);

    // The writer keeps within what the reader takes.
    settings.portName = longPort;
    const auto written = configuration::Encode(settings);
    ApplicationSettings again;
    MemoryByteSource source(written);
    std::optional<std::u16string> againPort;
    configuration::Parse(source, again, againPort);
    EXPECT_EQ(again.currentDevice, settings.currentDevice);
    EXPECT_EQ(again.shownDevices[0].backgroundPicture, settings.shownDevices[0].backgroundPicture);
    EXPECT_EQ(againPort, longPort.substr(0, 260));
    EXPECT_EQ(again.buttonRotation, 3u);
}

TEST_F(ConfigurationTest, AStatedLengthBeyondTheFileIsACutNotARead) {
    const auto bytes = Head().U16(0).U16(1).String(u"TV").U16(0).U16(0xFFFF).Chars(u"abc").Bytes();
    Parse(bytes);
    EXPECT_EQ(settings.currentDevice, u"TV");
    EXPECT_TRUE(settings.shownDevices.empty());

    settings = ApplicationSettings();
    const auto port = Parse(Head().U16(0).U16(0).U16(0).U32(0xFFFFFFFF).Chars(u"COM1:").Bytes());
    EXPECT_FALSE(port.has_value());
}

TEST_F(ConfigurationTest, EntriesAreWrittenInListOrder) {
    for (const char16_t* name : {u"Zeta", u"Alpha"}) {
        DeviceSettings entry;
        entry.deviceName = name;
        settings.shownDevices.push_back(entry);
    }
    ASSERT_TRUE(WriteConfiguration(kPath, settings));
    ApplicationSettings read;
    ASSERT_TRUE(ReadConfiguration(kPath, read, storedPort));
    ASSERT_EQ(read.shownDevices.size(), 2u);
    EXPECT_EQ(read.shownDevices[0].deviceName, u"Zeta");
    EXPECT_EQ(read.shownDevices[1].deviceName, u"Alpha");
}

TEST_F(ConfigurationTest, AFailedWriteKeepsThePreviousFile) {
    home.WriteFile(kPath, SampleFile());
    settings.currentDevice = u"Other";
    for (std::uint64_t budget : {0, 3, 20}) {
        handheld::SetWriteFailureAfterBytes(budget);
        EXPECT_FALSE(WriteConfiguration(kPath, settings)) << budget;
        handheld::SetWriteFailureAfterBytes(std::nullopt);
        EXPECT_EQ(home.ReadFile(kPath), SampleFile());
        const auto temporary = handheld::HostPath(TemporaryPathFor(kPath));
        EXPECT_FALSE(std::filesystem::exists(*temporary));
    }
}

TEST_F(ConfigurationTest, TheBackupOfAnInterruptedSaveIsPutBackAndReadWithItsPort) {
    home.WriteFile(BackupPathFor(kPath), SampleFile());
    ASSERT_TRUE(ReadConfiguration(kPath, settings, storedPort));
    EXPECT_EQ(settings.currentDevice, u"TV");
    EXPECT_EQ(storedPort, u"COM3:") << "handed back, not applied: settings.portName is the caller's to set";
    EXPECT_TRUE(settings.portName.empty());
    EXPECT_EQ(home.ReadFile(kPath), SampleFile());
    const auto backup = handheld::HostPath(BackupPathFor(kPath));
    EXPECT_FALSE(std::filesystem::exists(*backup));
}

TEST_F(ConfigurationTest, TheFileLiesBesideTheProgram) {
    EXPECT_EQ(configuration::ConfigurationPath(), u"\\Program Files\\Orvane\\Orvane.cfg");
}

}  // namespace
