#include "ccf/model/ccf_model.h"

#include <cstring>

#include "ccf/format/ccf_bytes.h"
#include "ccf/model/ccf_action.h"

namespace {

// Cursor over an array of slots, ending at the first empty slot.
template <typename T>
class SlotIterator : public CCFIterator {
public:
    explicit SlotIterator(const std::vector<std::unique_ptr<T>>& slots) : slots_(slots) {}
    CCFObject* Current() const override { return index_ < slots_.size() ? slots_[index_].get() : nullptr; }
    void Next() override {
        if (Current() != nullptr) ++index_;
    }

private:
    const std::vector<std::unique_ptr<T>>& slots_;
    std::size_t index_ = 0;
};

// Cursor over a chain joined by `next` links.
template <typename T>
class ChainIterator : public CCFIterator {
public:
    explicit ChainIterator(T* first) : current_(first) {}
    CCFObject* Current() const override { return current_; }
    void Next() override {
        if (current_ != nullptr) current_ = current_->next.get();
    }

private:
    T* current_;
};

// Cursor over a fixed set of pointers, skipping the null ones (at most ten: a device's action lists).
class PresentIterator : public CCFIterator {
public:
    void Add(CCFObject* object) {
        if (object != nullptr) objects_[count_++] = object;
    }
    CCFObject* Current() const override { return index_ < count_ ? objects_[index_] : nullptr; }
    void Next() override {
        if (index_ < count_) ++index_;
    }

private:
    std::array<CCFObject*, kDeviceListCount> objects_{};
    std::size_t count_ = 0;
    std::size_t index_ = 0;
};

template <typename T>
void ReleaseChain(std::unique_ptr<T>& next) {
    std::unique_ptr<T> rest = std::move(next);
    while (rest) rest = std::move(rest->next);  // each step frees one object whose own next is already empty
}

}  // namespace

// --- cursors ---------------------------------------------------------------------------------------

CCFDeviceIterator::CCFDeviceIterator(const std::array<CCFDevice*, 3>& firsts) : firsts_(firsts) {
    current_ = firsts_[0];
    SkipEmptyChains();
}

void CCFDeviceIterator::SkipEmptyChains() {
    while (current_ == nullptr && chain_ < 2) current_ = firsts_[++chain_];
}

CCFObject* CCFDeviceIterator::Current() const {
    return current_;
}

void CCFDeviceIterator::Next() {
    if (current_ == nullptr) return;
    current_ = current_->next.get();
    SkipEmptyChains();
}

std::unique_ptr<CCFDeviceIterator> CCFFile::CreateDeviceIterator() const {
    return std::make_unique<CCFDeviceIterator>(
        std::array<CCFDevice*, 3>{chains[0].get(), chains[1].get(), chains[2].get()});
}

std::unique_ptr<CCFIterator> CCFFile::CreateOwnPanelIterator() const {
    return std::make_unique<ChainIterator<CCFPanel>>(ownPanel.get());
}

bool CCFFile::IsColor() const {
    return (attributes & tessaly::ccf_layout::kAttrColor) != 0;
}

std::unique_ptr<CCFIterator> CCFDevice::CreatePanelIterator() const {
    return std::make_unique<ChainIterator<CCFPanel>>(firstPanel.get());
}

std::unique_ptr<CCFIterator> CCFDevice::CreateActionListIterator() const {
    auto cursor = std::make_unique<PresentIterator>();
    for (const auto& list : actionLists) cursor->Add(list.get());
    return cursor;
}

std::unique_ptr<CCFIterator> CCFPanel::CreateItemIterator() const {
    return std::make_unique<SlotIterator<CCFPanelItem>>(items);
}

std::unique_ptr<CCFIterator> CCFFrame::CreateItemIterator() const {
    return std::make_unique<SlotIterator<CCFPanelItem>>(items);
}

std::unique_ptr<CCFIterator> CCFPanelItem::CreateFrameIterator() const {
    auto cursor = std::make_unique<PresentIterator>();
    if (kind == tessaly::ccf_layout::kChildFrame) cursor->Add(frame.get());
    return cursor;
}

std::unique_ptr<CCFIterator> CCFPanelItem::CreateButtonIterator() const {
    auto cursor = std::make_unique<PresentIterator>();
    if (kind == tessaly::ccf_layout::kChildButton) cursor->Add(button.get());
    return cursor;
}

std::unique_ptr<CCFIterator> CCFButton::CreateActionListIterator() const {
    auto cursor = std::make_unique<PresentIterator>();
    cursor->Add(actions.get());
    return cursor;
}

std::unique_ptr<CCFIterator> CCFActionList::CreateActionIterator() const {
    return std::make_unique<SlotIterator<CCFAction>>(actionSlots);
}

std::unique_ptr<CCFPairIterator> CCFLearnedCode::CreateOnceIterator() const {
    return std::make_unique<CCFPairIterator>(once.data(), once.size());
}

std::unique_ptr<CCFPairIterator> CCFLearnedCode::CreateRepeatIterator() const {
    return std::make_unique<CCFPairIterator>(repeat.data(), repeat.size());
}

// --- destruction -----------------------------------------------------------------------------------
// Chains can be as long as the file allows, so they are released in a loop; nesting (frames in frames)
// is bounded by the reader.

CCFFile::~CCFFile() {
    for (auto& chain : chains) ReleaseChain(chain);
    ReleaseChain(ownPanel);
}
CCFDevice::~CCFDevice() {
    ReleaseChain(next);
}
CCFPanel::~CCFPanel() {
    ReleaseChain(next);
}
CCFPanelItem::~CCFPanelItem() = default;
CCFFrame::~CCFFrame() = default;
CCFButton::~CCFButton() = default;
CCFActionList::~CCFActionList() = default;
CCFIRCode::~CCFIRCode() = default;

// --- images ----------------------------------------------------------------------------------------

void CCFImage::Decode() {
    if (decoded) return;
    // Allocated here rather than when the model is built: most images of a large file are never drawn.
    pixels.assign(std::size_t{width} * height, 0);
    if (rows != nullptr) DecodeRows();
    decoded = true;
}

std::uint8_t CCFImage::GetPixel(std::int16_t x, std::int16_t y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    Decode();
    return pixels[std::size_t(y) * width + std::size_t(x)];
}

std::uint32_t CCFImage8Bit::RowBytes() const {
    return tessaly::CCFRowBytes8(width);
}
std::uint32_t CCFImage2Bit::RowBytes() const {
    return tessaly::CCFRowBytes2(width);
}
std::uint32_t CCFImage1Bit::RowBytes() const {
    return tessaly::CCFRowBytes1(width);
}

bool CCFImage2Bit::RowsSkipped() const {
    return (flagsHigh & (tessaly::ccf_layout::kBitmapFlagNoRows >> 8)) != 0;
}

void CCFImage8Bit::DecodeRows() {
    if (!pixels.empty()) std::memcpy(pixels.data(), rows, pixels.size());
}

void CCFImage2Bit::DecodeRows() {
    if (RowsSkipped()) return;
    const std::uint32_t stride = RowBytes();
    std::uint8_t* out = pixels.data();
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = rows + std::size_t(y) * stride;
        for (std::uint32_t x = 0; x < width; ++x) *out++ = (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    }
}

void CCFImage1Bit::DecodeRows() {
    const std::uint32_t stride = RowBytes();
    std::uint8_t* out = pixels.data();
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = rows + std::size_t(y) * stride;
        for (std::uint32_t x = 0; x < width; ++x) *out++ = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

// --- names -----------------------------------------------------------------------------------------

std::u16string CCFWiden(std::string_view name) {
    // The Western code page: Latin-1 except for the printable characters it puts in 0x80-0x9F; the five
    // unassigned bytes there map to the control characters of the same value.
    static constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::u16string wide(name.size(), u'\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        wide[i] = (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : char16_t(byte);
    }
    return wide;
}
