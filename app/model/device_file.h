// The device file: a 48-byte header, then the button records one after the other until the end of the file.
// Device::Load and Device::Save (device.h) are the entry points; the record functions are shared with tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/model/byte_source.h"
#include "app/model/device.h"
#include "handheld/files.h"

namespace device_file {

inline constexpr std::uint8_t kMagic[3] = {'K', 'C', 'R'};
inline constexpr std::size_t kHeaderBytes = 48;
// Header fields after the magic: u16 formatVersion, u8 deviceType, u8 reserved, u8 name length, the name.
inline constexpr std::size_t kVersionOffset = 3;
inline constexpr std::size_t kTypeOffset = 5;
inline constexpr std::size_t kNameLengthOffset = 7;
inline constexpr std::size_t kNameOffset = 8;
// The size word keeps 15 bits; the reader ignores the 16th.
inline constexpr std::size_t kMaxRecordBytes = 0x7FFF;
// Size word, reserved, color, hardwareKey, x, y, panel, four string lengths, entry count.
inline constexpr std::size_t kRecordFixedBytes = 26;

// Fills the device from the header and, unless headerOnly, the records of an opened file.
FileResult LoadFrom(ByteSource& source, Device& device, bool headerOnly);

// One record from the source: true when read whole, false at the end or on a damaged record (whose
// problem is added to problems). The record's command set is replaced.
bool ReadRecord(ByteSource& source, ButtonRecord& record, Problems& problems);
inline bool ReadRecord(handheld::HANDLE file, ButtonRecord& record, Problems& problems) {
    FileByteSource source(file);
    return ReadRecord(source, record, problems);
}

// Bytes of the record in the file, size word included (may exceed what the format can hold).
std::size_t RecordSize(const ButtonRecord& record);
// The record's bytes; false when it is too big for the format.
bool EncodeRecord(const ButtonRecord& record, std::vector<std::uint8_t>& out);
// The record in one write call; false when it is too big or not written whole.
bool WriteRecord(handheld::HANDLE file, const ButtonRecord& record);

// The header of a device; false when the name does not fit.
bool EncodeHeader(const Device& device, std::uint8_t (&header)[kHeaderBytes]);

enum class WriteResult { Written, NameTooLong, RecordTooBig, HeaderNotWritten, RecordNotWritten };
// Whether the device fits the format at all (Written when it does); checked before any file is touched.
WriteResult CheckSavable(const Device& device);
// Header, then each record in one call of write; stops at the first write that fails.
using WriteFunction = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;
WriteResult WriteDevice(const Device& device, const WriteFunction& write);

}  // namespace device_file
