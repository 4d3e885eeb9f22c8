#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/model/device.h"

namespace {

std::vector<std::uint8_t> Words(std::initializer_list<std::int32_t> words) {
    std::vector<std::uint8_t> bytes(words.size() * 4);
    std::size_t i = 0;
    for (std::int32_t w : words) {
        const auto u = static_cast<std::uint32_t>(w);
        for (int b = 0; b < 4; ++b) bytes[i++] = static_cast<std::uint8_t>(u >> (8 * b));
    }
    return bytes;
}

TEST(CodeEntry, BlockIsLaidOutAsInTheFile) {
    ButtonRecord record;
    const auto samples = Words({560, -1690, 0x7FFFFFFF});
    ASSERT_TRUE(record.SetEntry(0, samples.data(), samples.size(), 0x1A, 0x03));
    const auto bytes = record.commands.at(0).Bytes();
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes[0], 16);  // entrySize, little-endian, head included
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0x03);  // codeInfo = high * 256 + low, little-endian
    EXPECT_EQ(bytes[3], 0x1A);
    EXPECT_EQ(std::memcmp(bytes.data() + 4, samples.data(), samples.size()), 0);
}

TEST(CodeEntry, SamplesBeyondTheSizeFieldAreRefusedAndThePreviousEntryKept) {
    ButtonRecord record;
    ASSERT_TRUE(record.SetEntry(0, nullptr, 0, 0, 250));
    std::vector<std::uint8_t> tooMany(CodeEntry::kMaxSampleBytes + 1);
    EXPECT_FALSE(record.SetEntry(0, tooMany.data(), tooMany.size(), 1, 2));
    EXPECT_EQ(record.commands.at(0).codeInfo(), 250);
    std::vector<std::uint8_t> largest(CodeEntry::kMaxSampleBytes);
    EXPECT_TRUE(record.SetEntry(1, largest.data(), largest.size(), 1, 2));
    EXPECT_EQ(record.commands.at(1).entrySize(), 0xFFFF);
}

TEST(ButtonRecord, GetEntryOnCodesPausesAndAbsentIndices) {
    ButtonRecord record;
    const auto samples = Words({100, -200});
    record.SetEntry(0, samples.data(), samples.size(), 0x1B, 0x02);
    record.SetEntry(3, nullptr, 0, 0x01, 0xF4);  // a pause of 500 ms

    const std::uint8_t* got = nullptr;
    std::size_t length = 99;
    std::uint8_t high = 7, low = 7;
    EXPECT_TRUE(record.GetEntry(0, got, length, high, low));
    EXPECT_EQ(length, samples.size());
    EXPECT_EQ(std::memcmp(got, samples.data(), length), 0);
    EXPECT_EQ(high, 0x1B);
    EXPECT_EQ(low, 0x02);

    EXPECT_FALSE(record.GetEntry(3, got, length, high, low));
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(high * 256 + low, 500);

    got = nullptr;
    length = 42;
    high = low = 9;
    EXPECT_FALSE(record.GetEntry(1, got, length, high, low));
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(length, 42u);
    EXPECT_EQ(high, 9);
    EXPECT_EQ(low, 9);
}

TEST(ButtonRecord, CopyRenumbersEntriesConsecutivelyInIndexOrder) {
    ButtonRecord source;
    source.name = u"CH1";
    source.commandName = u"One";
    source.label = u"LABEL1";
    source.skin = u"CHANAL";
    source.reserved = 0x1234;
    source.color = 0x00FF3264;
    source.hardwareKey = 0xC1;
    source.x = 49;
    source.y = 45;
    source.panel = 1;
    const auto a = Words({1}), b = Words({2, 3}), c = Words({4, 5, 6});
    source.SetEntry(5, c.data(), c.size(), 0, 5);
    source.SetEntry(0, a.data(), a.size(), 0, 0);
    source.SetEntry(2, b.data(), b.size(), 0, 2);

    ButtonRecord copy(source);
    ButtonRecord assigned;
    assigned.SetEntry(7, nullptr, 0, 0, 0);
    assigned = source;
    for (const ButtonRecord* record : {&copy, &assigned}) {
        EXPECT_EQ(record->name, u"CH1");
        EXPECT_EQ(record->commandName, u"One");
        EXPECT_EQ(record->label, u"LABEL1");
        EXPECT_EQ(record->skin, u"CHANAL");
        EXPECT_EQ(record->reserved, 0x1234);
        EXPECT_EQ(record->color, 0x00FF3264u);
        EXPECT_EQ(record->hardwareKey, 0xC1);
        EXPECT_EQ(record->x, 49);
        EXPECT_EQ(record->y, 45);
        EXPECT_EQ(record->panel, 1);
        ASSERT_EQ(record->EntryCount(), 3u);
        EXPECT_EQ(record->commands.at(0).codeInfo(), 0);
        EXPECT_EQ(record->commands.at(1).codeInfo(), 2);
        EXPECT_EQ(record->commands.at(2).codeInfo(), 5);
        EXPECT_EQ(record->commands.at(2).entrySize(), 16);
    }
    // The copy owns its blocks: changing it leaves the source alone.
    copy.ClearCommandSet();
    EXPECT_EQ(copy.EntryCount(), 0u);
    EXPECT_EQ(source.EntryCount(), 3u);
}

TEST(ButtonRecord, NewRecordDefaults) {
    const ButtonRecord record;
    EXPECT_EQ(record.reserved, 0xFFFF);
    EXPECT_EQ(record.color, 0u);
    EXPECT_EQ(record.x + record.y + record.panel + record.hardwareKey, 0);
    EXPECT_EQ(record.EntryCount(), 0u);
}

TEST(Device, FindRecordIsExactCaseSensitiveAndFirstMatch) {
    Device device;
    ButtonRecord first, second, other;
    first.name = u"CH1";
    first.color = 1;
    second.name = u"CH1";
    second.color = 2;
    other.name = u"CH10";
    device.AppendRecord(other);
    device.AppendRecord(first);
    device.AppendRecord(second);
    ASSERT_NE(device.FindRecord(u"CH1"), device.records.end());
    EXPECT_EQ(device.FindRecord(u"CH1")->color, 1u);
    EXPECT_EQ(device.FindRecord(u"ch1"), device.records.end());
    EXPECT_EQ(device.FindRecord(u"CH"), device.records.end());
    EXPECT_EQ(device.FindRecord(u""), device.records.end());
    const Device& constDevice = device;
    EXPECT_EQ(constDevice.FindRecord(u"CH10"), constDevice.records.begin());
}

TEST(Device, NewDeviceHasFormatVersionOneAndNoRecords) {
    const Device device;
    EXPECT_EQ(device.formatVersion, 1);
    EXPECT_TRUE(device.records.empty());
    EXPECT_TRUE(device.name.empty());
    EXPECT_TRUE(device.path.empty());
}

TEST(CommandRecordName, MapsF1ToF12OntoTheFunctionPanel) {
    const struct {
        std::u16string button;
        std::u16string record;
    } cases[] = {
        {u"F1", u"FUNC1"},        {u"F3", u"FUNC3"}, {u"F12", u"FUNC12"},  {u"F13", u"F13"},
        {u"F0", u"F0"},           {u"f1", u"f1"},    {u"FUNC1", u"FUNC1"}, {u"CH1", u"CH1"},
        {u"VOLPLUS", u"VOLPLUS"}, {u"", u""},        {u"F", u"F"},         {u"CUSTOM$0", u"CUSTOM$0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandRecordName(c.button), c.record) << std::string(c.button.begin(), c.button.end());
    }
}

}  // namespace
