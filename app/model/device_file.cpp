#include "app/model/device_file.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/model/little_endian.h"
#include "app/model/safe_file.h"
#include "handheld/text.h"

using namespace handheld;

namespace device_file {

namespace {

constexpr std::u16string_view kCcfExtension = u".ccf";

const Problem kDamagedRecord{u"ERR_9", u"Out of memory"};

// Walks the fields of one record buffer, never past its end.
class RecordCursor {
public:
    RecordCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool U16(std::uint16_t& value) {
        if (size_ - position_ < 2) return false;
        value = ReadU16(data_ + position_);
        position_ += 2;
        return true;
    }
    bool U32(std::uint32_t& value) {
        if (size_ - position_ < 4) return false;
        value = ReadU32(data_ + position_);
        position_ += 4;
        return true;
    }
    bool String(std::u16string& value) {
        std::uint16_t byteLength = 0;
        if (!U16(byteLength)) return false;
        if (size_ - position_ < byteLength) return false;
        value = ReadUtf16(data_ + position_, byteLength);
        position_ += byteLength;
        return true;
    }
    const std::uint8_t* Here() const { return data_ + position_; }
    std::size_t Left() const { return size_ - position_; }
    void Advance(std::size_t bytes) { position_ += bytes; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

bool ParseRecord(const std::uint8_t* data, std::size_t size, ButtonRecord& record) {
    RecordCursor cursor(data, size);
    std::uint16_t sizeWord = 0;
    std::uint16_t entryCount = 0;
    if (!cursor.U16(sizeWord) || !cursor.U16(record.reserved) || !cursor.U32(record.color) ||
        !cursor.U16(record.hardwareKey) || !cursor.U16(record.x) || !cursor.U16(record.y) ||
        !cursor.U16(record.panel) || !cursor.String(record.name) || !cursor.String(record.commandName) ||
        !cursor.String(record.skin) || !cursor.String(record.label) || !cursor.U16(entryCount)) {
        return false;
    }
    for (int index = 0; index < entryCount; ++index) {
        if (cursor.Left() < CodeEntry::kHeadBytes) return false;
        const std::uint16_t entrySize = ReadU16(cursor.Here());
        const std::uint16_t codeInfo = ReadU16(cursor.Here() + 2);
        if (entrySize < CodeEntry::kHeadBytes || entrySize > cursor.Left()) return false;
        if (!record.SetEntry(index, cursor.Here() + CodeEntry::kHeadBytes, entrySize - CodeEntry::kHeadBytes,
                             static_cast<std::uint8_t>(codeInfo >> 8), static_cast<std::uint8_t>(codeInfo))) {
            return false;
        }
        cursor.Advance(entrySize);
    }
    return true;
}

void PutString(std::uint8_t*& p, const std::u16string& value) {
    PutU16(p, static_cast<std::uint16_t>(value.size() * 2));
    PutUtf16(p, value);
}

bool IsCcfPath(std::u16string_view path) {
    return path.size() > kCcfExtension.size() &&
           EqualsIgnoreCase(path.substr(path.size() - kCcfExtension.size()), kCcfExtension);
}

}  // namespace

bool ReadRecord(ByteSource& source, ButtonRecord& record, Problems& problems) {
    std::uint8_t sizeBytes[2];
    if (source.Read(sizeBytes, 2) < 2) return false;
    const std::size_t size = ReadU16(sizeBytes) & kMaxRecordBytes;
    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(std::max<std::size_t>(size, 2));
    } catch (const std::bad_alloc&) {
        problems.push_back({u"ERR_7", u"Can't allocate memory"});
        return false;
    }
    std::memcpy(buffer.data(), sizeBytes, 2);
    if (size > 2 && source.Read(buffer.data() + 2, size - 2) < size - 2) {
        problems.push_back({u"ERR_8", u"Can't read all bytes"});
        return false;
    }
    record.ClearCommandSet();
    if (size < kRecordFixedBytes || !ParseRecord(buffer.data(), size, record)) {
        problems.push_back(kDamagedRecord);
        return false;
    }
    return true;
}

std::size_t RecordSize(const ButtonRecord& record) {
    std::size_t size = kRecordFixedBytes;
    for (const auto* text : {&record.name, &record.commandName, &record.skin, &record.label}) size += text->size() * 2;
    for (const auto& [index, entry] : record.commands) size += entry.entrySize();
    return size;
}

bool EncodeRecord(const ButtonRecord& record, std::vector<std::uint8_t>& out) {
    const std::size_t size = RecordSize(record);
    if (size > kMaxRecordBytes) return false;
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::uint8_t* p = out.data();
    PutU16(p, static_cast<std::uint16_t>(size));
    PutU16(p, record.reserved);
    PutU32(p, record.color);
    PutU16(p, record.hardwareKey);
    PutU16(p, record.x);
    PutU16(p, record.y);
    PutU16(p, record.panel);
    PutString(p, record.name);
    PutString(p, record.commandName);
    PutString(p, record.skin);
    PutString(p, record.label);
    PutU16(p, static_cast<std::uint16_t>(record.commands.size()));
    for (const auto& [index, entry] : record.commands) {
        const auto bytes = entry.Bytes();
        std::memcpy(p, bytes.data(), bytes.size());
        p += bytes.size();
    }
    return true;
}

bool WriteRecord(HANDLE file, const ButtonRecord& record) {
    std::vector<std::uint8_t> bytes;
    if (!EncodeRecord(record, bytes)) return false;
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool EncodeHeader(const Device& device, std::uint8_t (&header)[kHeaderBytes]) {
    const std::size_t nameBytes = device.name.size() * 2;
    if (nameBytes > Device::kMaxNameBytes) return false;
    std::memset(header, 0, kHeaderBytes);
    std::memcpy(header, kMagic, sizeof kMagic);
    std::uint8_t* p = header + kVersionOffset;
    PutU16(p, device.formatVersion);
    header[kTypeOffset] = static_cast<std::uint8_t>(device.deviceType);
    header[kNameLengthOffset] = static_cast<std::uint8_t>(nameBytes);
    p = header + kNameOffset;
    PutUtf16(p, device.name);
    return true;
}

WriteResult CheckSavable(const Device& device) {
    if (device.name.size() * 2 > Device::kMaxNameBytes) return WriteResult::NameTooLong;
    for (const ButtonRecord& record : device.records) {
        if (RecordSize(record) > kMaxRecordBytes) return WriteResult::RecordTooBig;
    }
    return WriteResult::Written;
}

WriteResult WriteDevice(const Device& device, const WriteFunction& write) {
    const WriteResult savable = CheckSavable(device);
    if (savable != WriteResult::Written) return savable;
    std::uint8_t header[kHeaderBytes];
    EncodeHeader(device, header);
    if (!write(header, kHeaderBytes)) return WriteResult::HeaderNotWritten;
    std::vector<std::uint8_t> bytes;
    for (const ButtonRecord& record : device.records) {
        if (!EncodeRecord(record, bytes) || !write(bytes.data(), bytes.size())) return WriteResult::RecordNotWritten;
    }
    return WriteResult::Written;
}

FileResult LoadFrom(ByteSource& source, Device& device, bool headerOnly) {
    std::uint8_t header[kHeaderBytes];
    if (source.Read(header, kHeaderBytes) < kHeaderBytes) {
        return FileResult::Failure({u"ERR_11", u"Can't read file header", ProblemIcon::Information});
    }
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        return FileResult::Failure({u"ERR_12", u"This file don't content KR device", ProblemIcon::Exclamation});
    }
    device.formatVersion = ReadU16(header + kVersionOffset);
    device.deviceType = static_cast<DeviceType>(header[kTypeOffset]);
    const std::size_t nameBytes = header[kNameLengthOffset];
    if (nameBytes > Device::kMaxNameBytes) {
        return FileResult::Failure({u"ERR_13", u"Too long device name", ProblemIcon::Information});
    }
    device.name = ReadUtf16(header + kNameOffset, nameBytes);
    FileResult result = FileResult::Success();
    if (headerOnly) return result;
    ButtonRecord record;
    while (ReadRecord(source, record, result.problems)) device.records.push_back(std::move(record));
    return result;
}

}  // namespace device_file

FileResult Device::Load(std::u16string_view filePath, bool headerOnly) {
    records.clear();
    if (device_file::IsCcfPath(filePath)) {
        deviceType = DT_CCF;
        return FileResult::Success();
    }
    const UniqueHandle file = OpenForReading(filePath);
    if (!file) return FileResult::Failure();
    FileByteSource source(file.get());
    FileResult result = device_file::LoadFrom(source, *this, headerOnly);
    if (result) path = filePath;
    return result;
}

FileResult Device::Save(bool overwrite, std::u16string_view filePath) {
    using device_file::WriteResult;
    switch (device_file::CheckSavable(*this)) {
        case WriteResult::Written:
            break;
        case WriteResult::RecordTooBig:
            return FileResult::Failure({u"ERR_18", u"Button record is too big to save"});
        default:  // a name the header cannot hold: refused without a message
            return FileResult::Failure();
    }
    const std::u16string target(filePath.empty() ? std::u16string_view(path) : filePath);
    SafeFileWriter writer;
    if (writer.Open(target, !overwrite) != SafeFileWriter::OpenResult::Opened) {
        return FileResult::Failure({u"ERR_14", u"Can't create or rewrite file \"", ProblemIcon::Error, target});
    }
    const WriteResult written = device_file::WriteDevice(
        *this, [&writer](const std::uint8_t* bytes, std::size_t count) { return writer.Write(bytes, count); });
    if (written == WriteResult::HeaderNotWritten) {
        return FileResult::Failure({u"ERR_15", u"Can't write file header"});
    }
    if (written != WriteResult::Written || !writer.Commit()) {
        return FileResult::Failure({u"ERR_17", u"Can't write file \"", ProblemIcon::Error, target});
    }
    path = target;
    return FileResult::Success();
}
