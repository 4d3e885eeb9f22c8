// One remote control in memory: a small header and its ordered button records, each with the learned IR codes
// and pauses of its command set. The device file is a direct serialisation of this model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/problem.h"

// Held as 32 bits: the file stores one byte, and a byte the program does not know is kept as read.
enum DeviceType : std::int32_t {
    DT_RECEIVER = 0,
    DT_PLAYER = 1,
    DT_CCF = 2,
    DT_CUSTOM = 100,
};

// One IR code or pause as a single block whose bytes are the same in memory and in the device file:
// u16 LE entrySize (head included), u16 LE codeInfo, then entrySize - 4 bytes of samples.
class CodeEntry {
public:
    static constexpr std::size_t kHeadBytes = 4;
    // entrySize is a 16-bit field, so no entry can carry more samples than this.
    static constexpr std::size_t kMaxSampleBytes = 0xFFFF - kHeadBytes;

    // The block for these samples (null or empty for a pause); false when it cannot be represented or allocated.
    static bool Make(const std::uint8_t* samples, std::size_t sampleBytes, std::uint16_t codeInfo, CodeEntry& out);

    std::uint16_t entrySize() const;
    std::uint16_t codeInfo() const;
    std::span<const std::uint8_t> samples() const { return {block_.data() + kHeadBytes, block_.size() - kHeadBytes}; }
    // The whole block, head first, as written to the file.
    std::span<const std::uint8_t> Bytes() const { return block_; }

private:
    std::vector<std::uint8_t> block_;
};

// Index -> entry. 0 and 1 are the two alternates of a single command, 2 and up the steps of a macro.
using CommandSet = std::map<int, CodeEntry>;
inline constexpr int kFirstMacroIndex = 2;

class ButtonRecord {
public:
    ButtonRecord() = default;
    // Copies renumber the source's entries consecutively from 0 in ascending index order, as a write and
    // read back through the device file would.
    ButtonRecord(const ButtonRecord& other);
    ButtonRecord& operator=(const ButtonRecord& other);
    ButtonRecord(ButtonRecord&&) noexcept = default;
    ButtonRecord& operator=(ButtonRecord&&) noexcept = default;

    // Replaces the entry under index; false (the previous entry kept) when the block cannot be made.
    bool SetEntry(int index, const std::uint8_t* samples, std::size_t sampleBytes, std::uint8_t high, std::uint8_t low);
    // Absent index: false, outputs untouched. Present: both bytes always; samples and their length when the
    // entry has any (true), else length 0 (false: a pause, whose milliseconds are in the two bytes).
    bool GetEntry(int index, const std::uint8_t*& samples, std::size_t& sampleBytes, std::uint8_t& high,
                  std::uint8_t& low) const;
    std::size_t EntryCount() const { return commands.size(); }
    void ClearCommandSet() { commands.clear(); }

    std::u16string name;
    std::u16string commandName;
    std::u16string label;
    std::uint16_t reserved = 0xFFFF;
    std::u16string skin;
    std::uint32_t color = 0;  // 0x00BBGGRR
    std::uint16_t hardwareKey = 0;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t panel = 0;  // 0 main panel, 1 function panel
    CommandSet commands;
};

class Device {
public:
    using RecordList = std::vector<ButtonRecord>;

    Device() = default;
    virtual ~Device() = default;

    // The device file at path (header only when asked). A path ending in ".ccf" only marks the device DT_CCF.
    FileResult Load(std::u16string_view filePath, bool headerOnly);
    // Create-new when overwrite is false, else replace; an empty path means the device's own path.
    FileResult Save(bool overwrite, std::u16string_view filePath = {});

    // Exact, case-sensitive, first match in list order; end() on a miss.
    RecordList::iterator FindRecord(std::u16string_view recordName);
    RecordList::const_iterator FindRecord(std::u16string_view recordName) const;

    void AppendRecord(const ButtonRecord& record) { records.push_back(record); }
    void ClearRecords() { records.clear(); }

    static constexpr std::size_t kMaxNameBytes = 40;

    std::uint16_t formatVersion = 1;
    DeviceType deviceType = DT_CUSTOM;  // set by the reader or the creator
    std::u16string name;
    std::u16string path;
    ButtonRecord workRecord;  // scratch command set while a button is edited; never saved
    RecordList records;
};

// The record that holds a button's commands: the button F<n> maps to the function-panel record FUNC<n>
// (n = 1 ... 12); every other button keeps its own name.
std::u16string CommandRecordName(std::u16string_view buttonName);
