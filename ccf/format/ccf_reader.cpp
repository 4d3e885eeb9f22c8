#include "ccf/format/ccf_reader.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "ccf/format/ccf_bytes.h"
#include "ccf/model/ccf_action.h"
#include "handheld/trace.h"

namespace {

using namespace tessaly;
namespace L = tessaly::ccf_layout;

constexpr std::uint64_t kBaseHeapBytes = std::uint64_t{64} << 20;
constexpr std::uint64_t kHeapBytesPerFileByte = 64;
constexpr std::uint64_t kBaseObjects = 65536;
constexpr std::uint64_t kObjectsPerFileByte = 16;
constexpr std::uint64_t kMostObjects = std::uint64_t{1} << 20;

// The names of a device's fixed lists, in model order; labelled keys take their label from the file.
constexpr const char* kFixedListNames[] = {"[Action]",    nullptr,       nullptr,  "[Volume -]", "[Volume +]",
                                           "[Channel -]", "[Channel +]", "[Mute]", nullptr,      nullptr};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size, const CCFReadLimits& limits, CCFReadStats& stats)
        : bytes_{data, size}, limits_(limits), stats_(stats) {
        maxHeap_ = limits.maxHeapBytes ? limits.maxHeapBytes : kBaseHeapBytes + kHeapBytesPerFileByte * size;
        maxObjects_ = limits.maxObjects
                          ? limits.maxObjects
                          : std::min<std::uint64_t>(kMostObjects, kBaseObjects + kObjectsPerFileByte * size);
    }

    std::unique_ptr<CCFFile> File();

private:
    // Counts one object of objectBytes (plus extraBytes of arrays) against the bounds; false when a bound is
    // reached, and the object is then not built.
    bool Take(std::uint64_t extraBytes, std::size_t objectBytes);
    bool Inside(std::uint64_t offset, std::uint64_t length) {
        if (bytes_.Has(offset, length)) return true;
        ++stats_.outsideFile;
        return false;
    }
    void Name(std::uint32_t offset, std::string& out) {
        if (offset == 0) return;
        if (bytes_.ReadName(offset, out)) {
            stats_.heapBytes += out.size();
        } else {
            ++stats_.outsideFile;
        }
    }

    std::unique_ptr<CCFDevice> Device(std::uint32_t offset);
    std::unique_ptr<CCFPanel> PanelChain(std::uint32_t first);
    std::unique_ptr<CCFPanel> Panel(std::uint32_t offset, bool withChildren);
    void Children(std::uint64_t first, std::uint8_t count, std::vector<std::unique_ptr<CCFPanelItem>>& items);
    std::unique_ptr<CCFPanelItem> Item(std::uint64_t entry);
    std::unique_ptr<CCFFrame> Frame(std::uint32_t offset);
    std::unique_ptr<CCFButton> Button(std::uint32_t offset);
    std::unique_ptr<CCFColorSet> Colors(std::uint64_t at);
    std::unique_ptr<CCFImage> Image(std::uint32_t offset);
    std::unique_ptr<CCFActionList> ActionList(std::uint32_t offset, const std::string& name);
    std::unique_ptr<CCFIRCode> IRCode(std::uint32_t offset);

    CCFBytes bytes_;
    const CCFReadLimits& limits_;
    CCFReadStats& stats_;
    std::uint64_t maxHeap_ = 0;
    std::uint64_t maxObjects_ = 0;
    bool color_ = false;
    std::vector<std::uint32_t> openFrames_;  // frames being built, outermost first
};

bool Reader::Take(std::uint64_t extraBytes, std::size_t objectBytes) {
    const std::uint64_t bytes = extraBytes + objectBytes;
    if (stats_.objects >= maxObjects_ || stats_.heapBytes + bytes > maxHeap_) {
        if (!stats_.budgetExhausted) {
            HH_TRACE("ccf", "model bound reached after %zu objects: the rest of the file is left out", stats_.objects);
        }
        stats_.budgetExhausted = true;
        return false;
    }
    ++stats_.objects;
    stats_.heapBytes += bytes;
    return true;
}

std::unique_ptr<CCFFile> Reader::File() {
    auto file = std::make_unique<CCFFile>();
    Take(0, sizeof(CCFFile));
    bytes_.ReadName(bytes_.Be32OrZero(L::kHeaderName), file->headerString);
    file->headerString8 = bytes_.ReadFixedString(L::kHeaderString8, 8);
    file->headerValue = bytes_.Be16OrZero(L::kHeaderValue);
    const std::uint32_t headerByteOffsets[5] = {0x16, 0x17, 0x19, 0x1A, 0x1B};
    for (int i = 0; i < 5; ++i) file->headerBytes[i] = bytes_.U8OrZero(headerByteOffsets[i]);
    file->headerString4 = bytes_.ReadFixedString(L::kHeaderString4, 4);
    file->attributes = bytes_.Be32OrZero(L::kHeaderAttributes);
    color_ = (file->attributes & L::kAttrColor) != 0;

    for (int chain = 0; chain < 3; ++chain) {
        std::unordered_set<std::uint32_t> seen;
        std::unique_ptr<CCFDevice>* tail = &file->chains[chain];
        for (std::uint32_t offset = bytes_.Be32OrZero(L::kHeaderChains + 4 * chain); offset != 0;) {
            if (!seen.insert(offset).second) {
                ++stats_.cycles;
                break;
            }
            auto device = Device(offset);
            if (!device) break;
            offset = bytes_.Be32(std::uint64_t{offset} + L::kDeviceNext);
            *tail = std::move(device);
            tail = &(*tail)->next;
        }
    }

    const bool ownPanelAt40 = !color_ || (file->attributes & L::kAttrOwnPanelAt40) != 0;
    const std::uint32_t ownPanel = bytes_.Be32OrZero(ownPanelAt40 ? L::kHeaderOwnPanelLong : L::kHeaderOwnPanelShort);
    if (ownPanel != 0) file->ownPanel = Panel(ownPanel, false);
    return file;
}

std::unique_ptr<CCFDevice> Reader::Device(std::uint32_t offset) {
    if (!Inside(offset, color_ ? L::kDeviceColorSize : L::kDeviceMonoSize)) return nullptr;
    if (!Take(0, sizeof(CCFDevice))) return nullptr;
    auto device = std::make_unique<CCFDevice>();
    const std::uint64_t at = offset;
    device->recordOffset = offset;
    device->color = color_;
    Name(bytes_.Be32(at + L::kDeviceName), device->name);

    std::uint32_t listOffsets[kDeviceListCount] = {};
    listOffsets[kListAction] = bytes_.Be32(at + L::kDeviceAction);
    listOffsets[kListKey1] = bytes_.Be32(at + L::kDeviceKey1);
    listOffsets[kListKey2] = bytes_.Be32(at + L::kDeviceKey2);
    for (int i = 0; i < 5; ++i) listOffsets[kListVolumeDown + i] = bytes_.Be32(at + L::kDeviceFixedKeys + 4 * i);
    std::uint32_t firstPanel;
    if (color_) {
        listOffsets[kListKey3] = bytes_.Be32(at + L::kDeviceColorKey3);
        listOffsets[kListKey4] = bytes_.Be32(at + L::kDeviceColorKey4);
        for (int key = 0; key < 4; ++key) Name(bytes_.Be32(at + L::kDeviceColorLabels + 4 * key), device->labels[key]);
        firstPanel = bytes_.Be32(at + L::kDeviceColorFirstPanel);
    } else {
        Name(bytes_.Be32(at + L::kDeviceMonoLabel1), device->labels[0]);
        Name(bytes_.Be32(at + L::kDeviceMonoLabel2), device->labels[1]);
        firstPanel = bytes_.Be32(at + L::kDeviceMonoFirstPanel);
    }
    const std::string* labelOf[kDeviceListCount] = {
        nullptr, &device->labels[0], &device->labels[1], nullptr, nullptr, nullptr, nullptr,
        nullptr, &device->labels[2], &device->labels[3]};
    for (int list = 0; list < kDeviceListCount; ++list) {
        if (listOffsets[list] == 0) continue;
        const std::string name = kFixedListNames[list] ? std::string(kFixedListNames[list]) : *labelOf[list];
        device->actionLists[list] = ActionList(listOffsets[list], name);
    }
    device->firstPanel = PanelChain(firstPanel);
    return device;
}

std::unique_ptr<CCFPanel> Reader::PanelChain(std::uint32_t first) {
    std::unique_ptr<CCFPanel> head;
    std::unique_ptr<CCFPanel>* tail = &head;
    std::unordered_set<std::uint32_t> seen;
    for (std::uint32_t offset = first; offset != 0;) {
        if (!seen.insert(offset).second) {
            ++stats_.cycles;
            break;
        }
        auto panel = Panel(offset, true);
        if (!panel) break;
        offset = bytes_.Be32(std::uint64_t{offset} + L::kPanelNext);
        *tail = std::move(panel);
        tail = &(*tail)->next;
    }
    return head;
}

std::unique_ptr<CCFPanel> Reader::Panel(std::uint32_t offset, bool withChildren) {
    if (!Inside(offset, L::kPanelChildren)) return nullptr;
    const std::uint8_t count = bytes_.U8(std::uint64_t{offset} + L::kPanelCount);
    if (withChildren && !Inside(std::uint64_t{offset} + L::kPanelChildren, std::uint64_t{count} * L::kChildSize)) {
        return nullptr;
    }
    if (!Take(std::uint64_t{count} * sizeof(void*), sizeof(CCFPanel))) return nullptr;
    auto panel = std::make_unique<CCFPanel>();
    panel->recordOffset = offset;
    panel->hidden = (bytes_.Be32(std::uint64_t{offset} + L::kPanelName) & L::kPanelHiddenBit) ? 1 : 0;
    panel->itemCount = count;
    panel->byteAfterCount = bytes_.U8(std::uint64_t{offset} + L::kPanelCount + 1);
    if (withChildren) Children(std::uint64_t{offset} + L::kPanelChildren, count, panel->items);
    return panel;
}

void Reader::Children(std::uint64_t first, std::uint8_t count, std::vector<std::unique_ptr<CCFPanelItem>>& items) {
    items.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) items[i] = Item(first + std::uint64_t{i} * L::kChildSize);
}

std::unique_ptr<CCFPanelItem> Reader::Item(std::uint64_t entry) {
    if (!Take(0, sizeof(CCFPanelItem))) return nullptr;
    auto item = std::make_unique<CCFPanelItem>();
    item->x = static_cast<std::int16_t>(bytes_.Be16(entry));
    item->y = static_cast<std::int16_t>(bytes_.Be16(entry + 2));
    const std::uint32_t record = bytes_.Be32(entry + 4);
    item->kind = bytes_.U8(entry + 8);
    if (record == 0) return item;
    if (item->kind == L::kChildFrame) {
        item->frame = Frame(record);
    } else if (item->kind == L::kChildButton) {
        item->button = Button(record);
    }
    return item;
}

std::unique_ptr<CCFFrame> Reader::Frame(std::uint32_t offset) {
    for (std::uint32_t open : openFrames_) {
        if (open == offset) {
            ++stats_.cycles;
            return nullptr;
        }
    }
    if (static_cast<int>(openFrames_.size()) >= limits_.maxFrameDepth) {
        ++stats_.tooDeep;
        return nullptr;
    }
    const std::uint32_t countAt = color_ ? L::kFrameColorCount : L::kFrameMonoCount;
    const std::uint32_t childrenAt = color_ ? L::kFrameColorChildren : L::kFrameMonoChildren;
    if (!Inside(offset, childrenAt)) return nullptr;
    const std::uint64_t at = offset;
    const std::uint8_t count = bytes_.U8(at + countAt);
    if (!Inside(at + childrenAt, std::uint64_t{count} * L::kChildSize)) return nullptr;
    if (!Take(std::uint64_t{count} * sizeof(void*), sizeof(CCFFrame))) return nullptr;

    auto frame = std::make_unique<CCFFrame>();
    frame->recordOffset = offset;
    frame->width = bytes_.Be16(at + L::kFrameWidth);
    frame->height = bytes_.Be16(at + L::kFrameHeight);
    Name(bytes_.Be32(at + L::kFrameName), frame->name);
    frame->image = Image(bytes_.Be32(at + L::kFrameBitmap));
    frame->font = bytes_.U8(at + L::kFrameFont);
    frame->colors = Colors(at + L::kFrameColors);
    frame->itemCount = count;
    frame->byteAfterCount = bytes_.U8(at + countAt + 1);
    openFrames_.push_back(offset);
    Children(at + childrenAt, count, frame->items);
    openFrames_.pop_back();
    return frame;
}

std::unique_ptr<CCFButton> Reader::Button(std::uint32_t offset) {
    if (!Inside(offset, color_ ? L::kButtonColorSize : L::kButtonMonoSize)) return nullptr;
    if (!Take(0, sizeof(CCFButton))) return nullptr;
    const std::uint64_t at = offset;
    auto button = std::make_unique<CCFButton>();
    button->recordOffset = offset;
    button->width = bytes_.Be16(at + L::kButtonWidth);
    button->height = bytes_.Be16(at + L::kButtonHeight);
    Name(bytes_.Be32(at + L::kButtonName), button->name);
    button->font = bytes_.U8(at + L::kButtonFont);
    const std::uint32_t colorSetBytes = color_ ? 4 : 1;
    for (int state = 0; state < 4; ++state) {
        button->images[state] = Image(bytes_.Be32(at + L::kButtonBitmaps + 4 * state));
        button->colors[state] = Colors(at + L::kButtonColors + colorSetBytes * state);
    }
    if (const std::uint32_t list = bytes_.Be32(at + L::kButtonActions); list != 0) {
        button->actions = ActionList(list, button->name);
    }
    return button;
}

std::unique_ptr<CCFColorSet> Reader::Colors(std::uint64_t at) {
    if (!Take(0, sizeof(CCFColorSet))) return nullptr;
    auto colors = std::make_unique<CCFColorSet>();
    colors->color = color_;
    if (color_) {
        for (int i = 0; i < 4; ++i) colors->c[i] = bytes_.U8(at + i);
    } else {
        const std::uint8_t packed = bytes_.U8(at);
        for (int i = 0; i < 4; ++i) colors->c[i] = (packed >> (2 * i)) & 3;
    }
    return colors;
}

std::unique_ptr<CCFImage> Reader::Image(std::uint32_t offset) {
    if (offset == 0 || !Inside(offset, L::kBitmapRows)) return nullptr;
    const std::uint64_t at = offset;
    const std::uint16_t flags = bytes_.Be16(at + L::kBitmapFlags);
    std::unique_ptr<CCFImage> image;
    bool rowsRead = true;
    if (flags & L::kBitmapFlag8Bit) {
        image = std::make_unique<CCFImage8Bit>();
    } else if (flags & L::kBitmapFlag2Bit) {
        image = std::make_unique<CCFImage2Bit>();
        rowsRead = (flags & L::kBitmapFlagNoRows) == 0;  // every pixel 0: the record need not hold rows
    } else {
        image = std::make_unique<CCFImage1Bit>();
    }
    image->recordOffset = offset;
    image->firstValue = bytes_.Be16(at + L::kBitmapFirst);
    image->width = bytes_.Be16(at + L::kBitmapWidth);
    image->height = bytes_.Be16(at + L::kBitmapHeight);
    image->flagsHigh = static_cast<std::uint8_t>(flags >> 8);
    if (rowsRead && !Inside(at + L::kBitmapRows, std::uint64_t{image->RowBytes()} * image->height)) return nullptr;
    // The pixel array counts against the heap bound whether or not rows are read: it is allocated either way.
    if (!Take(std::uint64_t{image->width} * image->height, sizeof(CCFImage8Bit))) return nullptr;
    if (rowsRead) image->rows = bytes_.data + at + L::kBitmapRows;
    return image;
}

std::unique_ptr<CCFActionList> Reader::ActionList(std::uint32_t offset, const std::string& name) {
    if (!Inside(offset, L::kActionListEntries)) return nullptr;
    const std::uint64_t at = offset;
    const std::uint8_t count = bytes_.U8(at + L::kActionListCount);
    if (!Inside(at + L::kActionListEntries, std::uint64_t{count} * L::kActionSize)) return nullptr;
    if (!Take(std::uint64_t{count} * sizeof(void*) + name.size(), sizeof(CCFActionList))) return nullptr;
    auto list = std::make_unique<CCFActionList>();
    list->recordOffset = offset;
    list->count = count;
    list->byteAfterCount = bytes_.U8(at + L::kActionListCount + 1);
    list->name = name;
    list->actionSlots.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = at + L::kActionListEntries + std::uint64_t{i} * L::kActionSize;
        const std::uint8_t type = bytes_.U8(entry);
        const std::uint32_t p1 = bytes_.Be32(entry + 1);
        const std::uint32_t p2 = bytes_.Be32(entry + 5);
        if (type < 1 || type > 9) continue;  // an empty slot
        if (!Take(0, sizeof(CCFIRCodeAction))) break;
        std::unique_ptr<CCFIRCode> code = type == 1 && p2 != 0 ? IRCode(p2) : nullptr;
        list->actionSlots[i] = MakeCCFAction(list.get(), type, p1, p2, std::move(code));
    }
    return list;
}

std::unique_ptr<CCFIRCode> Reader::IRCode(std::uint32_t offset) {
    const std::uint64_t at = offset;
    if (!Inside(at, L::kIrWords + 2)) return nullptr;  // up to and including the format word
    if (!Take(0, sizeof(CCFIRCode))) return nullptr;
    auto code = std::make_unique<CCFIRCode>();
    code->recordOffset = offset;
    Name(bytes_.Be32(at + L::kIrName), code->name);
    code->format = bytes_.Be16(at + L::kIrWords);
    if (code->format != 0) return code;
    if (!Inside(at + L::kIrWords + 2, 2)) return code;
    code->divisor = bytes_.Be16(at + L::kIrWords + 2);
    if (code->divisor == 0) {
        if (Take(0, sizeof(CCFLearnedCode))) code->learned = std::make_unique<CCFLearnedCode>();
        return code;
    }
    if (!Inside(at + L::kIrWords + 4, 4)) return code;
    const std::uint16_t onceCount = bytes_.Be16(at + L::kIrWords + 4);
    const std::uint16_t repeatCount = bytes_.Be16(at + L::kIrWords + 6);
    const std::uint64_t pairs = std::uint64_t{onceCount} + repeatCount;
    if (!Inside(at + L::kIrPairs, pairs * 4)) return code;
    if (!Take(pairs * sizeof(CCFIRPair), sizeof(CCFLearnedCode))) return code;
    auto learned = std::make_unique<CCFLearnedCode>();
    learned->recordOffset = 0;
    learned->frequency = static_cast<std::uint16_t>(L::kIrClockHz / code->divisor);
    learned->divisor = code->divisor;
    learned->onceCount = onceCount;
    learned->repeatCount = repeatCount;
    learned->once.resize(onceCount);
    learned->repeat.resize(repeatCount);
    std::uint64_t word = at + L::kIrPairs;
    for (CCFIRPair& pair : learned->once) {
        pair = {bytes_.Be16(word), bytes_.Be16(word + 2)};
        word += 4;
    }
    for (CCFIRPair& pair : learned->repeat) {
        pair = {bytes_.Be16(word), bytes_.Be16(word + 2)};
        word += 4;
    }
    code->learned = std::move(learned);
    return code;
}

}  // namespace

std::unique_ptr<CCFFile> ReadCCFFile(const std::uint8_t* data, std::size_t size, const CCFReadLimits& limits,
                                     CCFReadStats* stats) {
    if (data == nullptr && size != 0) return nullptr;
    CCFReadStats local;
    Reader reader(data, size, limits, stats ? *stats : local);
    return reader.File();
}
