#include "app/model/device.h"

#include <algorithm>
#include <array>
#include <new>

#include "app/model/device_templates.h"
#include "app/model/little_endian.h"

bool CodeEntry::Make(const std::uint8_t* samples, std::size_t sampleBytes, std::uint16_t codeInfo, CodeEntry& out) {
    if (sampleBytes > kMaxSampleBytes) return false;
    if (sampleBytes != 0 && samples == nullptr) return false;
    const std::size_t entrySize = sampleBytes + kHeadBytes;
    try {
        std::vector<std::uint8_t> block(entrySize);
        std::uint8_t* head = block.data();
        PutU16(head, static_cast<std::uint16_t>(entrySize));
        PutU16(head, codeInfo);
        std::copy_n(samples, sampleBytes, block.begin() + kHeadBytes);
        out.block_ = std::move(block);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::uint16_t CodeEntry::entrySize() const {
    return ReadU16(block_.data());
}

std::uint16_t CodeEntry::codeInfo() const {
    return ReadU16(block_.data() + 2);
}

ButtonRecord::ButtonRecord(const ButtonRecord& other) {
    *this = other;
}

ButtonRecord& ButtonRecord::operator=(const ButtonRecord& other) {
    if (this == &other) return *this;
    name = other.name;
    commandName = other.commandName;
    label = other.label;
    reserved = other.reserved;
    skin = other.skin;
    color = other.color;
    hardwareKey = other.hardwareKey;
    x = other.x;
    y = other.y;
    panel = other.panel;
    CommandSet renumbered;
    int next = 0;
    for (const auto& [index, entry] : other.commands) {
        try {
            renumbered.emplace(next, entry);
        } catch (const std::bad_alloc&) {
            // The index stays absent; the copy goes on with the next one.
        }
        ++next;
    }
    commands = std::move(renumbered);
    return *this;
}

bool ButtonRecord::SetEntry(int index, const std::uint8_t* samples, std::size_t sampleBytes, std::uint8_t high,
                            std::uint8_t low) {
    if (index < 0) return false;
    CodeEntry entry;
    if (!CodeEntry::Make(samples, sampleBytes, static_cast<std::uint16_t>(high << 8 | low), entry)) return false;
    try {
        commands.insert_or_assign(index, std::move(entry));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ButtonRecord::GetEntry(int index, const std::uint8_t*& samples, std::size_t& sampleBytes, std::uint8_t& high,
                            std::uint8_t& low) const {
    const auto it = commands.find(index);
    if (it == commands.end()) return false;
    const CodeEntry& entry = it->second;
    high = static_cast<std::uint8_t>(entry.codeInfo() >> 8);
    low = static_cast<std::uint8_t>(entry.codeInfo());
    if (entry.entrySize() > CodeEntry::kHeadBytes) {
        samples = entry.samples().data();
        sampleBytes = entry.samples().size();
        return true;
    }
    sampleBytes = 0;
    return false;
}

Device::RecordList::iterator Device::FindRecord(std::u16string_view recordName) {
    return std::find_if(records.begin(), records.end(), [&](const ButtonRecord& r) { return r.name == recordName; });
}

Device::RecordList::const_iterator Device::FindRecord(std::u16string_view recordName) const {
    return std::find_if(records.begin(), records.end(), [&](const ButtonRecord& r) { return r.name == recordName; });
}

std::u16string CommandRecordName(std::u16string_view buttonName) {
    std::u16string candidate(buttonName);
    if (!candidate.empty()) candidate.insert(1, u"UNC");
    for (const TemplateRow& row : STANDARD_FUNCTION_PANEL) {
        if (candidate == row.name) return candidate;
    }
    return std::u16string(buttonName);
}
