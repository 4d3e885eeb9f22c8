// Bounds-checked big-endian access to a CCF file held in memory, and the byte layout of its records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly {

// A read-only view of the whole file. Every accessor checks the range first, so that no read leaves the
// mapping whatever the offsets in the file say.
struct CCFBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    // True when [offset, offset + length) lies inside the file.
    bool Has(std::uint64_t offset, std::uint64_t length) const { return offset <= size && length <= size - offset; }
    // Unchecked reads: only after Has() covered the bytes.
    std::uint8_t U8(std::uint64_t offset) const { return data[offset]; }
    std::uint16_t Be16(std::uint64_t offset) const {
        return static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
    }
    std::uint32_t Be32(std::uint64_t offset) const {
        return (std::uint32_t{data[offset]} << 24) | (std::uint32_t{data[offset + 1]} << 16) |
               (std::uint32_t{data[offset + 2]} << 8) | std::uint32_t{data[offset + 3]};
    }
    // Checked reads for header fields: a field past the end reads as 0, that is "absent".
    std::uint32_t Be32OrZero(std::uint64_t offset) const { return Has(offset, 4) ? Be32(offset) : 0; }
    std::uint16_t Be16OrZero(std::uint64_t offset) const { return Has(offset, 2) ? Be16(offset) : 0; }
    std::uint8_t U8OrZero(std::uint64_t offset) const { return Has(offset, 1) ? U8(offset) : 0; }

    // A length-prefixed name at offset. False (and out untouched) when the offset is 0 or the name would run
    // past the end of the file.
    bool ReadName(std::uint32_t offset, std::string& out) const;
    // At most length characters, stopping at the first NUL; the part past the end of the file is left out.
    std::string ReadFixedString(std::uint64_t offset, std::size_t length) const;
};

// Record layouts. Offsets are from the start of each record.
namespace ccf_layout {

inline constexpr std::uint32_t kAttrColor = 0x00000100;
inline constexpr std::uint32_t kAttrOwnPanelAt40 = 0x00020000;

// File header.
inline constexpr std::uint32_t kHeaderName = 0x00;
inline constexpr std::uint32_t kHeaderString8 = 0x08;
inline constexpr std::uint32_t kHeaderValue = 0x14;
inline constexpr std::uint32_t kHeaderByte16 = 0x16;  // 0x16, 0x17, then 0x19, 0x1A, 0x1B
inline constexpr std::uint32_t kHeaderString4 = 0x20;
inline constexpr std::uint32_t kHeaderAttributes = 0x24;
inline constexpr std::uint32_t kHeaderChains = 0x30;  // three be32, chains 1 to 3
inline constexpr std::uint32_t kHeaderOwnPanelShort = 0x3C;
inline constexpr std::uint32_t kHeaderOwnPanelLong = 0x40;

// Device record. Action lists in model order: "[Action]", key 1, key 2, the five fixed keys.
inline constexpr std::uint32_t kDeviceNext = 0x00;
inline constexpr std::uint32_t kDeviceName = 0x04;
inline constexpr std::uint32_t kDeviceAction = 0x10;
inline constexpr std::uint32_t kDeviceKey1 = 0x14;
inline constexpr std::uint32_t kDeviceKey2 = 0x18;
inline constexpr std::uint32_t kDeviceFixedKeys = 0x1C;  // "[Volume -]" .. "[Mute]", five be32
inline constexpr std::uint32_t kDeviceMonoLabel1 = 0x34;
inline constexpr std::uint32_t kDeviceMonoLabel2 = 0x38;
inline constexpr std::uint32_t kDeviceMonoFirstPanel = 0x3C;
inline constexpr std::uint32_t kDeviceMonoSize = 0x40;
inline constexpr std::uint32_t kDeviceColorKey3 = 0x30;
inline constexpr std::uint32_t kDeviceColorKey4 = 0x34;
inline constexpr std::uint32_t kDeviceColorLabels = 0x3C;  // labels of keys 1 to 4, four be32
inline constexpr std::uint32_t kDeviceColorFirstPanel = 0x4C;
inline constexpr std::uint32_t kDeviceColorSize = 0x50;

// Panel record and the child entries shared by panels and frames.
inline constexpr std::uint32_t kPanelNext = 0x00;
inline constexpr std::uint32_t kPanelName = 0x04;
inline constexpr std::uint32_t kPanelHiddenBit = 0x80000000;
inline constexpr std::uint32_t kPanelCount = 0x08;
inline constexpr std::uint32_t kPanelChildren = 0x0A;
inline constexpr std::uint32_t kChildSize = 9;
inline constexpr std::uint8_t kChildFrame = 0;
inline constexpr std::uint8_t kChildButton = 1;

// Frame record.
inline constexpr std::uint32_t kFrameWidth = 0x00;
inline constexpr std::uint32_t kFrameHeight = 0x02;
inline constexpr std::uint32_t kFrameName = 0x04;
inline constexpr std::uint32_t kFrameBitmap = 0x08;
inline constexpr std::uint32_t kFrameFont = 0x10;
inline constexpr std::uint32_t kFrameColors = 0x11;
inline constexpr std::uint32_t kFrameMonoCount = 0x12;
inline constexpr std::uint32_t kFrameMonoChildren = 0x14;
inline constexpr std::uint32_t kFrameColorCount = 0x15;
inline constexpr std::uint32_t kFrameColorChildren = 0x17;

// Button record.
inline constexpr std::uint32_t kButtonWidth = 0x00;
inline constexpr std::uint32_t kButtonHeight = 0x02;
inline constexpr std::uint32_t kButtonActions = 0x04;
inline constexpr std::uint32_t kButtonName = 0x08;
inline constexpr std::uint32_t kButtonFont = 0x10;
inline constexpr std::uint32_t kButtonBitmaps = 0x12;  // four be32, states 0 to 3
inline constexpr std::uint32_t kButtonColors = 0x22;   // four colour sets of 1 (monochrome) or 4 bytes
inline constexpr std::uint32_t kButtonMonoSize = 0x26;
inline constexpr std::uint32_t kButtonColorSize = 0x32;

// Bitmap record.
inline constexpr std::uint32_t kBitmapFirst = 0x00;
inline constexpr std::uint32_t kBitmapWidth = 0x02;
inline constexpr std::uint32_t kBitmapHeight = 0x04;
inline constexpr std::uint32_t kBitmapFlags = 0x06;
inline constexpr std::uint32_t kBitmapRows = 0x08;
inline constexpr std::uint16_t kBitmapFlag8Bit = 0x0001;
inline constexpr std::uint16_t kBitmapFlag2Bit = 0x0100;
inline constexpr std::uint16_t kBitmapFlagNoRows = 0x8000;

// Action list record.
inline constexpr std::uint32_t kActionListCount = 0x00;
inline constexpr std::uint32_t kActionListEntries = 0x02;
inline constexpr std::uint32_t kActionSize = 9;

// IR code record: the code words start at 0x06 (format, divisor, n1, n2, then the pairs).
inline constexpr std::uint32_t kIrName = 0x02;
inline constexpr std::uint32_t kIrWords = 0x06;
inline constexpr std::uint32_t kIrPairs = kIrWords + 8;
inline constexpr std::uint32_t kIrClockHz = 4145146;  // carrier frequency = clock / divisor

}  // namespace ccf_layout

// Bytes per stored pixel row of each encoding (every row starts on a fresh byte).
inline std::uint32_t CCFRowBytes1(std::uint32_t width) {
    return (width + 7) / 8;
}
inline std::uint32_t CCFRowBytes2(std::uint32_t width) {
    return ((width * 2 + 7) / 8 + 1) & ~1u;
}
inline std::uint32_t CCFRowBytes8(std::uint32_t width) {
    return width;
}

}  // namespace tessaly
