// The object model of a CCF file: one object per record, built at once by ReadCCFFile (ccf_reader.h) and
// read-only afterwards, except for the lazy decoding of images. Every sequence is walked through a cursor.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCFAction;
class CCFActionList;
class CCFButton;
class CCFColorSet;
class CCFDevice;
class CCFFrame;
class CCFImage;
class CCFIRCode;
class CCFLearnedCode;
class CCFPanel;
class CCFPanelItem;

// Common base: the file offset of the object's own record (0 for objects that are not records).
class CCFObject {
public:
    virtual ~CCFObject() = default;
    std::uint32_t recordOffset = 0;
};

// A cursor over one sequence of model objects; every Create...Iterator returns a new one.
class CCFIterator {
public:
    virtual ~CCFIterator() = default;
    virtual CCFObject* Current() const = 0;
    virtual void Next() = 0;
    virtual bool IsValid() const { return Current() != nullptr; }

    template <typename T>
    T* CurrentAs() const {
        return static_cast<T*>(Current());
    }
};

// The devices of a file's three chains; also tells the chain (1, 2 or 3) of the current device.
class CCFDeviceIterator : public CCFIterator {
public:
    explicit CCFDeviceIterator(const std::array<CCFDevice*, 3>& firsts);
    CCFObject* Current() const override;
    void Next() override;
    int Chain() const { return chain_ + 1; }
    CCFDevice* Device() const { return current_; }

private:
    void SkipEmptyChains();
    std::array<CCFDevice*, 3> firsts_;
    int chain_ = 0;
    CCFDevice* current_ = nullptr;
};

// An on/off pair of a learned code, in carrier periods.
struct CCFIRPair {
    std::uint16_t on = 0;
    std::uint16_t off = 0;
};

// Cursor over the once or repeat pairs of a learned code (pairs are values, not model objects).
class CCFPairIterator {
public:
    CCFPairIterator(const CCFIRPair* pairs, std::size_t count) : pairs_(pairs), count_(count) {}
    virtual ~CCFPairIterator() = default;
    const CCFIRPair* Current() const { return index_ < count_ ? pairs_ + index_ : nullptr; }
    void Next() {
        if (index_ < count_) ++index_;
    }
    bool IsValid() const { return Current() != nullptr; }

private:
    const CCFIRPair* pairs_;
    std::size_t count_;
    std::size_t index_ = 0;
};

class CCFPanel : public CCFObject {
public:
    ~CCFPanel() override;  // releases the rest of the chain without recursion
    std::unique_ptr<CCFIterator> CreateItemIterator() const;

    std::uint8_t hidden = 0;
    std::uint8_t itemCount = 0;
    std::uint8_t byteAfterCount = 0;
    std::unique_ptr<CCFPanel> next;
    std::vector<std::unique_ptr<CCFPanelItem>> items;  // itemCount slots
};

class CCFPanelItem : public CCFObject {
public:
    ~CCFPanelItem() override;
    std::unique_ptr<CCFIterator> CreateFrameIterator() const;
    std::unique_ptr<CCFIterator> CreateButtonIterator() const;

    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint8_t kind = 0;  // 0 frame, 1 button
    std::unique_ptr<CCFFrame> frame;
    std::unique_ptr<CCFButton> button;
};

// Four colour values: grey levels 0-3 in a monochrome file, palette indices 0-255 in a colour file.
class CCFColorSet : public CCFObject {
public:
    std::uint16_t ColorCount() const { return color ? 256 : 4; }

    std::array<std::uint8_t, 4> c{};
    bool color = false;
};

// A bitmap record. The pixel rows stay in the mapped file until the first Decode, which unpacks them into
// one byte per pixel (palette index); the file's mapping must therefore outlive the image.
class CCFImage : public CCFObject {
public:
    virtual std::uint16_t ColorCount() const = 0;
    // Unpacks the rows once; later calls do nothing.
    void Decode();
    // The pixel value at (x, y); 0 outside the image, negative coordinates included.
    std::uint8_t GetPixel(std::int16_t x, std::int16_t y);
    bool IsDecoded() const { return decoded; }
    // Bytes of one stored row in this encoding.
    virtual std::uint32_t RowBytes() const = 0;

    std::vector<std::uint8_t> pixels;  // width x height once decoded
    std::uint16_t firstValue = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t flagsHigh = 0;
    // In the mapped file, all rows checked to lie inside it; null where no rows are read (every pixel 0).
    const std::uint8_t* rows = nullptr;
    bool decoded = false;

protected:
    virtual void DecodeRows() = 0;
};

class CCFImage8Bit : public CCFImage {
public:
    std::uint16_t ColorCount() const override { return 256; }
    std::uint32_t RowBytes() const override;

protected:
    void DecodeRows() override;
};

class CCFImage2Bit : public CCFImage {
public:
    std::uint16_t ColorCount() const override { return 4; }
    std::uint32_t RowBytes() const override;
    bool RowsSkipped() const;  // the flag that leaves every pixel 0

protected:
    void DecodeRows() override;
};

class CCFImage1Bit : public CCFImage {
public:
    std::uint16_t ColorCount() const override { return 2; }
    std::uint32_t RowBytes() const override;

protected:
    void DecodeRows() override;
};

class CCFFrame : public CCFObject {
public:
    ~CCFFrame() override;
    std::unique_ptr<CCFIterator> CreateItemIterator() const;

    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::string name;
    std::unique_ptr<CCFImage> image;
    std::uint8_t font = 0;
    std::unique_ptr<CCFColorSet> colors;
    std::uint8_t itemCount = 0;
    std::uint8_t byteAfterCount = 0;
    std::vector<std::unique_ptr<CCFPanelItem>> items;
};

class CCFButton : public CCFObject {
public:
    ~CCFButton() override;
    std::unique_ptr<CCFIterator> CreateActionListIterator() const;

    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::string name;
    std::uint8_t font = 0;
    std::array<std::unique_ptr<CCFImage>, 4> images;     // per state, each may be null
    std::array<std::unique_ptr<CCFColorSet>, 4> colors;  // per state
    std::unique_ptr<CCFActionList> actions;
};

class CCFActionList : public CCFObject {
public:
    ~CCFActionList() override;
    std::unique_ptr<CCFIterator> CreateActionIterator() const;

    std::uint8_t count = 0;
    std::uint8_t byteAfterCount = 0;
    std::vector<std::unique_ptr<CCFAction>> actionSlots;  // count slots; an empty slot is null
    std::string name;                                     // empty: no name
};

class CCFLearnedCode : public CCFObject {
public:
    std::uint16_t GetFrequency() const { return frequency; }
    std::unique_ptr<CCFPairIterator> CreateOnceIterator() const;
    std::unique_ptr<CCFPairIterator> CreateRepeatIterator() const;

    std::uint16_t frequency = 0;  // hertz, low 16 bits of clock / divisor
    // The carrier divisor of the record; 0 when not known (a code made by hand). Below 64 the frequency has
    // wrapped, and only the divisor still tells the carrier.
    std::uint16_t divisor = 0;
    std::uint16_t onceCount = 0;
    std::uint16_t repeatCount = 0;
    std::vector<CCFIRPair> once;
    std::vector<CCFIRPair> repeat;
};

class CCFIRCode : public CCFObject {
public:
    ~CCFIRCode() override;
    CCFLearnedCode* GetLearnedCode() const { return learned.get(); }

    std::string name;
    std::unique_ptr<CCFLearnedCode> learned;  // null unless the code is in the learned (0) format
    // As read from the file, for tools; the learned code holds what is sent.
    std::uint16_t format = 0;
    std::uint16_t divisor = 0;
};

// The action lists of a device, in field order.
enum CCFDeviceList : int {
    kListAction,
    kListKey1,
    kListKey2,
    kListVolumeDown,
    kListVolumeUp,
    kListChannelDown,
    kListChannelUp,
    kListMute,
    kListKey3,  // colour files only
    kListKey4,  // colour files only
    kDeviceListCount
};

class CCFDevice : public CCFObject {
public:
    ~CCFDevice() override;  // releases the rest of the chain without recursion
    std::unique_ptr<CCFIterator> CreatePanelIterator() const;
    std::unique_ptr<CCFIterator> CreateActionListIterator() const;

    std::unique_ptr<CCFDevice> next;
    std::string name;
    std::array<std::unique_ptr<CCFActionList>, kDeviceListCount> actionLists;
    std::array<std::string, 4> labels;  // keys 1 to 4; keys 3 and 4 only in colour files
    std::unique_ptr<CCFPanel> firstPanel;
    bool color = false;
};

class CCFFile : public CCFObject {
public:
    ~CCFFile() override;
    std::unique_ptr<CCFDeviceIterator> CreateDeviceIterator() const;
    std::unique_ptr<CCFIterator> CreateOwnPanelIterator() const;
    bool IsColor() const;

    std::string headerString;
    std::string headerString8;
    std::uint16_t headerValue = 0;
    std::array<std::uint8_t, 5> headerBytes{};
    std::string headerString4;
    std::uint32_t attributes = 0;
    std::array<std::unique_ptr<CCFDevice>, 3> chains;  // first device of chains 1 to 3
    std::unique_ptr<CCFPanel> ownPanel;
};

// Names in the file are 8-bit text in the handheld's Western code page; this is where they become UTF-16.
std::u16string CCFWiden(std::string_view name);
