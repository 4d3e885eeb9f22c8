#include "app/model/device_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/model/device.h"
#include "app/model/safe_file.h"
#include "handheld/files.h"
#include "handheld/home.h"
#include "tests/app_model/file_bytes.h"
#include "tests/support/test_home.h"

namespace {

using app_model_test::DeviceHeader;
using app_model_test::EntryBytes;
using app_model_test::FileBytes;
using app_model_test::RecordBytes;

constexpr std::u16string_view kPath = u"\\My Documents\\TV.kdr";

bool Exists(std::u16string_view path) {
    const auto host = handheld::HostPath(path);
    return host && std::filesystem::exists(*host);
}

// Three records as the format tables lay them out: a learned pair, a macro with a pause, and one without
// commands.
std::vector<std::vector<unsigned char>> SampleRecords() {
    return {
        RecordBytes(u"CH1", u"Channel 1", u"CHANAL", u"LABEL1", 0xFFFF, 0x00FF3264, 0, 1, 1, 0,
                    {{0x1A03, {9000, -4500, 560, -560}}, {0x1A03, {560, -1690}}}),
        RecordBytes(u"FUNC3", u"Film", u"F_LEFT", u"LABELF3", 0x1234, 0x000AC8FF, 0xC1, 1, 91, 1,
                    {{0, {}}, {0, {}}, {0x1A00, {100, -100, 200}}, {500, {}}, {0x1A01, {300}}}),
        RecordBytes(u"PW", u"", u"PW", u"LABELPW", 0xFFFF, 0x003200FF, 0, 145, 225, 0, {}),
    };
}

std::vector<unsigned char> SampleFile() {
    FileBytes file = DeviceHeader(u"Living room", 0);
    for (const auto& record : SampleRecords()) file.Append(record);
    return file.Bytes();
}

const Problem kCantReadHeader{u"ERR_11", u"Can't read file header", ProblemIcon::Information};
const Problem kNotADevice{u"ERR_12", u"This file don't content KR device", ProblemIcon::Exclamation};
const Problem kNameTooLong{u"ERR_13", u"Too long device name", ProblemIcon::Information};
const Problem kDamagedRecord{u"ERR_9", u"Out of memory"};
const Problem kRecordCut{u"ERR_8", u"Can't read all bytes"};
const Problem kCantCreate{u"ERR_14", u"Can't create or rewrite file \"", ProblemIcon::Error, std::u16string(kPath)};
const Problem kCantWriteHeader{u"ERR_15", u"Can't write file header"};
const Problem kCantWrite{u"ERR_17", u"Can't write file \"", ProblemIcon::Error, std::u16string(kPath)};

struct DeviceFileTest : ::testing::Test {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    ~DeviceFileTest() override {
        handheld::SetWriteFailureAfterBytes(std::nullopt);
        EXPECT_TRUE(boxes.Shown().empty()) << "the model reports its problems and leaves showing them to the shell";
    }

    static void ExpectOnly(const FileResult& result, const Problem& problem) {
        ASSERT_EQ(result.problems.size(), 1u);
        EXPECT_EQ(result.problems[0].key, problem.key);
        EXPECT_EQ(result.problems[0].defaultText, problem.defaultText);
        EXPECT_EQ(result.problems[0].icon, problem.icon);
        EXPECT_EQ(result.problems[0].quotedPath, problem.quotedPath);
    }
};

TEST_F(DeviceFileTest, ReadsEveryFieldAndWritesTheSameBytesBack) {
    home.WriteFile(kPath, SampleFile());
    Device device;
    const FileResult loaded = device.Load(kPath, false);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded.problems.empty());
    EXPECT_EQ(device.formatVersion, 1);
    EXPECT_EQ(device.deviceType, DT_RECEIVER);
    EXPECT_EQ(device.name, u"Living room");
    EXPECT_EQ(device.path, kPath);
    ASSERT_EQ(device.records.size(), 3u);

    const ButtonRecord& func = device.records[1];
    EXPECT_EQ(func.name, u"FUNC3");
    EXPECT_EQ(func.commandName, u"Film");
    EXPECT_EQ(func.skin, u"F_LEFT");  // skin comes before label in the file
    EXPECT_EQ(func.label, u"LABELF3");
    EXPECT_EQ(func.reserved, 0x1234);
    EXPECT_EQ(func.color, 0x000AC8FFu);
    EXPECT_EQ(func.hardwareKey, 0xC1);
    EXPECT_EQ(func.x, 1);
    EXPECT_EQ(func.y, 91);
    EXPECT_EQ(func.panel, 1);
    ASSERT_EQ(func.EntryCount(), 5u);
    EXPECT_EQ(func.commands.at(3).codeInfo(), 500);
    EXPECT_EQ(func.commands.at(3).entrySize(), 4);
    EXPECT_EQ(func.commands.at(2).entrySize(), 16);
    EXPECT_EQ(device.records[2].EntryCount(), 0u);

    ASSERT_TRUE(device.Save(false, u"\\My Documents\\Copy.kdr"));
    EXPECT_EQ(home.ReadFile(u"\\My Documents\\Copy.kdr"), SampleFile());
    EXPECT_EQ(device.path, u"\\My Documents\\Copy.kdr");
}

TEST_F(DeviceFileTest, WritesOnlyTheSetsEntriesInIndexOrderAndReadsThemBackRenumbered) {
    Device device;
    device.deviceType = DT_CUSTOM;
    device.name = u"Box";
    ButtonRecord record;
    record.name = u"CUSTOM$0";
    const std::uint8_t sample[4] = {1, 0, 0, 0};
    record.SetEntry(5, sample, 4, 0x1A, 0x05);
    record.SetEntry(0, sample, 4, 0x1A, 0x00);
    record.SetEntry(1, nullptr, 0, 0x00, 0x64);
    device.AppendRecord(record);
    ASSERT_TRUE(device.Save(true, kPath));

    FileBytes expected = DeviceHeader(u"Box", 100);
    expected.Append(
        RecordBytes(u"CUSTOM$0", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {{0x1A00, {1}}, {0x0064, {}}, {0x1A05, {1}}}));
    EXPECT_EQ(home.ReadFile(kPath), expected.Bytes());

    Device loaded;
    ASSERT_TRUE(loaded.Load(kPath, false));
    ASSERT_EQ(loaded.records.size(), 1u);
    EXPECT_EQ(loaded.records[0].EntryCount(), 3u);
    EXPECT_EQ(loaded.records[0].commands.at(2).codeInfo(), 0x1A05);
}

TEST_F(DeviceFileTest, HeaderOnlyAndEmptyDevices) {
    home.WriteFile(kPath, SampleFile());
    Device device;
    device.AppendRecord(ButtonRecord());
    ASSERT_TRUE(device.Load(kPath, true));
    EXPECT_TRUE(device.records.empty());
    EXPECT_EQ(device.name, u"Living room");

    home.WriteFile(kPath, DeviceHeader(u"", 1, 7).Bytes());
    const FileResult loaded = device.Load(kPath, false);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded.problems.empty());
    EXPECT_TRUE(device.records.empty());
    EXPECT_EQ(device.name, u"");
    EXPECT_EQ(device.deviceType, DT_PLAYER);
    EXPECT_EQ(device.formatVersion, 7);  // kept as read
}

TEST_F(DeviceFileTest, SizeWordBit15IsIgnoredAndAnOddNameLengthDropsTheHalfCharacter) {
    auto record = RecordBytes(u"CH1", u"", u"", u"", 0xFFFF, 5, 0, 0, 0, 0, {});
    record[1] |= 0x80;
    FileBytes file = DeviceHeader(u"TV", 0);
    std::vector<unsigned char> bytes = file.Append(record).Append(record).Bytes();
    bytes[7] = 5;  // an odd name length keeps two characters
    home.WriteFile(kPath, bytes);
    Device device;
    ASSERT_TRUE(device.Load(kPath, false));
    EXPECT_EQ(device.name, u"TV");
    ASSERT_EQ(device.records.size(), 2u);
    EXPECT_EQ(device.records[1].color, 5u);
}

TEST_F(DeviceFileTest, CcfPathsOnlyMarkTheDevice) {
    const struct {
        std::u16string path;
        bool ccf;
    } cases[] = {
        {u"\\Devices\\Home.ccf", true},   {u"\\Devices\\Home.CCF", true}, {u"x.cCf", true}, {u".ccf", false},
        {u"\\Devices\\Home.ccf2", false},
    };
    for (const auto& c : cases) {
        Device device;
        device.name = u"Kept";
        device.path = u"\\kept";
        device.deviceType = DT_RECEIVER;
        device.AppendRecord(ButtonRecord());
        const FileResult loaded = device.Load(c.path, false);
        EXPECT_EQ(loaded.succeeded, c.ccf) << std::string(c.path.begin(), c.path.end());
        EXPECT_TRUE(loaded.problems.empty());
        EXPECT_EQ(device.deviceType == DT_CCF, c.ccf);
        EXPECT_TRUE(device.records.empty());
        EXPECT_EQ(device.name, u"Kept");
        EXPECT_EQ(device.path, u"\\kept");
    }
}

TEST_F(DeviceFileTest, AMissingFileFailsWithoutAMessage) {
    Device device;
    const FileResult loaded = device.Load(u"\\My Documents\\None.kdr", false);
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(loaded.problems.empty());
}

TEST_F(DeviceFileTest, HeaderFaultsShowTheirMessages) {
    const struct {
        std::vector<unsigned char> bytes;
        Problem problem;
    } cases[] = {
        {{'K', 'C', 'R', 1, 0}, kCantReadHeader},
        {{}, kCantReadHeader},
        {FileBytes().Ascii("KRC").Zeros(45).Bytes(), kNotADevice},
        {FileBytes().Ascii("KCR").U16(1).U8(0).U8(0).U8(42).Zeros(40).Bytes(), kNameTooLong},
    };
    for (const auto& c : cases) {
        home.WriteFile(kPath, c.bytes);
        Device device;
        const FileResult loaded = device.Load(kPath, false);
        EXPECT_FALSE(loaded);
        ExpectOnly(loaded, c.problem);
        EXPECT_TRUE(device.path.empty());
    }
}

TEST_F(DeviceFileTest, DamagedRecordsAreRefusedAndTheRecordsBeforeThemKept) {
    const auto good = RecordBytes(u"CH1", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {{0x1A00, {1, 2}}});
    auto entryPastEnd = RecordBytes(u"CH2", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {{0x1A00, {1, 2}}});
    entryPastEnd[entryPastEnd.size() - 12] = 16;  // entrySize 16 where 12 bytes are left
    auto entryTooSmall = RecordBytes(u"CH2", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {{0x1A00, {1, 2}}});
    entryTooSmall[entryTooSmall.size() - 12] = 2;
    auto stringPastEnd = RecordBytes(u"CH2", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {});
    stringPastEnd[16] = 200;  // the name's byte length
    auto countWithoutEntries = RecordBytes(u"CH2", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {});
    countWithoutEntries[countWithoutEntries.size() - 2] = 1;
    const std::vector<unsigned char> tooShortForItsFields = {10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<unsigned char> sizeBelowItsOwnWord = {1, 0};

    for (const auto& damaged :
         {entryPastEnd, entryTooSmall, stringPastEnd, countWithoutEntries, tooShortForItsFields, sizeBelowItsOwnWord}) {
        home.WriteFile(kPath, DeviceHeader(u"TV", 0).Append(good).Append(damaged).Append(good).Bytes());
        Device device;
        const FileResult loaded = device.Load(kPath, false);
        EXPECT_TRUE(loaded);
        ASSERT_EQ(device.records.size(), 1u);
        EXPECT_EQ(device.records[0].name, u"CH1");
        ExpectOnly(loaded, kDamagedRecord);
    }
}

TEST_F(DeviceFileTest, AFileCutAtAnyByteKeepsTheWholeRecordsBeforeTheCut) {
    const auto records = SampleRecords();
    const auto full = SampleFile();
    std::vector<std::size_t> recordEnds;
    std::size_t end = 48;
    for (const auto& record : records) recordEnds.push_back(end += record.size());

    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        home.WriteFile(kPath, std::vector<unsigned char>(full.begin(), full.begin() + cut));
        Device device;
        const FileResult loaded = device.Load(kPath, false);
        if (cut < 48) {
            EXPECT_FALSE(loaded) << cut;
            ExpectOnly(loaded, kCantReadHeader);
            continue;
        }
        ASSERT_TRUE(loaded) << cut;
        std::size_t whole = 0;
        std::size_t start = 48;
        while (whole < recordEnds.size() && recordEnds[whole] <= cut) start = recordEnds[whole++];
        ASSERT_EQ(device.records.size(), whole) << cut;
        // A cut inside the size word ends the file quietly; a cut after it is reported.
        if (cut - start < 2) {
            EXPECT_TRUE(loaded.problems.empty()) << cut;
        } else {
            ExpectOnly(loaded, kRecordCut);
        }
    }
}

TEST_F(DeviceFileTest, NameTooLongForTheHeaderFailsWithoutMessageOrFile) {
    Device device;
    device.name = std::u16string(21, u'x');
    const FileResult saved = device.Save(true, kPath);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.problems.empty());
    EXPECT_FALSE(Exists(kPath));
    EXPECT_FALSE(Exists(TemporaryPathFor(kPath)));
    device.name = std::u16string(20, u'x');
    EXPECT_TRUE(device.Save(true, kPath));
}

TEST_F(DeviceFileTest, CreateNewRefusesAnExistingFileAndLeavesIt) {
    home.WriteFile(kPath, SampleFile());
    Device device;
    device.name = u"Other";
    const FileResult saved = device.Save(false, kPath);
    EXPECT_FALSE(saved);
    ExpectOnly(saved, kCantCreate);
    EXPECT_EQ(home.ReadFile(kPath), SampleFile());
    EXPECT_TRUE(device.path.empty());
}

TEST_F(DeviceFileTest, SaveWithoutAPathUsesTheDevicesOwnPath) {
    home.WriteFile(kPath, SampleFile());
    Device device;
    ASSERT_TRUE(device.Load(kPath, false));
    device.records.pop_back();
    ASSERT_TRUE(device.Save(true));
    auto expected = SampleFile();
    expected.resize(expected.size() - SampleRecords()[2].size());
    EXPECT_EQ(home.ReadFile(kPath), expected);
    EXPECT_FALSE(Exists(TemporaryPathFor(kPath)));
    EXPECT_FALSE(Exists(BackupPathFor(kPath)));
}

TEST_F(DeviceFileTest, AFailedWriteLeavesThePreviousFileWhole) {
    home.WriteFile(kPath, SampleFile());
    Device device;
    ASSERT_TRUE(device.Load(kPath, false));
    device.name = u"Changed";
    const struct {
        std::uint64_t budget;
        Problem problem;
    } cases[] = {
        {0, kCantWriteHeader},
        {47, kCantWriteHeader},
        {48, kCantWrite},
        {200, kCantWrite},
        {SampleFile().size() - 1, kCantWrite},
    };
    for (const auto& c : cases) {
        handheld::SetWriteFailureAfterBytes(c.budget);
        const FileResult saved = device.Save(true, kPath);
        EXPECT_FALSE(saved) << c.budget;
        handheld::SetWriteFailureAfterBytes(std::nullopt);
        ExpectOnly(saved, c.problem);
        EXPECT_EQ(home.ReadFile(kPath), SampleFile()) << c.budget;
        EXPECT_FALSE(Exists(TemporaryPathFor(kPath)));
    }
    EXPECT_TRUE(device.Save(true, kPath));
    EXPECT_NE(home.ReadFile(kPath), SampleFile());
}

TEST_F(DeviceFileTest, ARecordTooBigForTheSizeWordIsRefusedBeforeAnyFileIsTouched) {
    home.WriteFile(kPath, SampleFile());
    Device device;
    ButtonRecord record;
    // 26 fixed bytes + 6 name bytes + entry: exactly one byte over the 15-bit size.
    record.name = u"BIG";
    std::vector<std::uint8_t> samples(0x7FFF - 26 - 6 - 4 + 1);
    ASSERT_TRUE(record.SetEntry(0, samples.data(), samples.size(), 0, 0));
    EXPECT_EQ(device_file::RecordSize(record), 0x8000u);
    device.AppendRecord(record);
    const FileResult saved = device.Save(true, kPath);
    EXPECT_FALSE(saved);
    ExpectOnly(saved, {u"ERR_18", u"Button record is too big to save"});
    EXPECT_EQ(home.ReadFile(kPath), SampleFile());
    EXPECT_FALSE(device.Save(false, u"\\My Documents\\New.kdr"));
    EXPECT_FALSE(Exists(u"\\My Documents\\New.kdr"));

    // One byte less fits and reads back whole.
    device.records[0].SetEntry(0, samples.data(), samples.size() - 1, 0, 0);
    ASSERT_TRUE(device.Save(true, kPath));
    Device loaded;
    const FileResult result = loaded.Load(kPath, false);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result.problems.empty());
    ASSERT_EQ(loaded.records.size(), 1u);
    EXPECT_EQ(loaded.records[0].commands.at(0).entrySize(), samples.size() + 3);
}

// As if the program stopped after moving the old file aside and before moving the new one in: the first
// read or write of the device puts the old file back under its own name, where a folder scan finds it.
TEST_F(DeviceFileTest, TheBackupOfAnInterruptedReplacementIsPutBackByTheFirstReadOrWrite) {
    for (const bool headerOnly : {true, false}) {
        home.WriteFile(BackupPathFor(kPath), SampleFile());
        Device device;
        ASSERT_TRUE(device.Load(kPath, headerOnly));
        EXPECT_EQ(device.records.size(), headerOnly ? 0u : 3u);
        EXPECT_EQ(device.path, kPath);
        EXPECT_EQ(home.ReadFile(kPath), SampleFile());
        EXPECT_FALSE(Exists(BackupPathFor(kPath)));
        ASSERT_TRUE(handheld::DeleteFileW(kPath.data()));
    }

    // A save over it: the old file comes back first and is then replaced as any other.
    home.WriteFile(BackupPathFor(kPath), SampleFile());
    Device replacement;
    replacement.name = u"New";
    ASSERT_TRUE(replacement.Save(true, kPath));
    EXPECT_EQ(home.ReadFile(kPath), DeviceHeader(u"New", 100).Bytes());
    EXPECT_FALSE(Exists(BackupPathFor(kPath)));
    EXPECT_FALSE(Exists(TemporaryPathFor(kPath)));
}

TEST_F(DeviceFileTest, CreateNewRefusesATargetThatSurvivesOnlyAsABackup) {
    home.WriteFile(BackupPathFor(kPath), SampleFile());
    Device device;
    device.name = u"Other";
    const FileResult saved = device.Save(false, kPath);
    EXPECT_FALSE(saved);
    ExpectOnly(saved, kCantCreate);
    EXPECT_EQ(home.ReadFile(kPath), SampleFile()) << "the device that was there is back, not replaced";
    EXPECT_FALSE(Exists(BackupPathFor(kPath)));
}

TEST_F(DeviceFileTest, RecordFunctionsOnAnOpenFile) {
    const auto records = SampleRecords();
    home.WriteFile(kPath, FileBytes().Append(records[1]).Bytes());
    handheld::HANDLE file =
        handheld::CreateFileW(kPath.data(), handheld::GENERIC_READ, 0, nullptr, handheld::OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, handheld::INVALID_HANDLE_VALUE);
    ButtonRecord record;
    record.SetEntry(9, nullptr, 0, 0, 0);  // replaced, not kept
    Problems problems;
    ASSERT_TRUE(device_file::ReadRecord(file, record, problems));
    EXPECT_FALSE(device_file::ReadRecord(file, record, problems));  // end of file, silently
    EXPECT_TRUE(problems.empty());
    handheld::CloseHandle(file);
    EXPECT_EQ(record.EntryCount(), 5u);
    EXPECT_EQ(device_file::RecordSize(record), records[1].size());

    const std::u16string out = u"\\My Documents\\record.bin";
    file = handheld::CreateFileW(out.c_str(), handheld::GENERIC_WRITE, 0, nullptr, handheld::CREATE_ALWAYS, 0, nullptr);
    ASSERT_TRUE(device_file::WriteRecord(file, record));
    handheld::CloseHandle(file);
    EXPECT_EQ(home.ReadFile(out), records[1]);
}

}  // namespace

namespace {

TEST_F(DeviceFileTest, AFolderInTheWayIsNotReplaced) {
    ASSERT_TRUE(handheld::CreateDirectoryW(kPath.data(), nullptr));
    Device device;
    const FileResult saved = device.Save(true, kPath);
    EXPECT_FALSE(saved);
    ExpectOnly(saved, kCantCreate);
    EXPECT_EQ(handheld::GetFileAttributesW(kPath.data()) & handheld::FILE_ATTRIBUTE_DIRECTORY,
              handheld::FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
