// Fuzz target for the CCF reader and actions: opens the bytes as a file, walks every cursor, decodes every
// image and converts every IR code, as the viewer would; then taps buttons, running their lists through a
// handler that jumps as the viewer does. Delays and sends go to effects that return at once, so that no
// input can block the fuzzer; what they are handed is checked instead.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ccf/format/ccf_reader.h"
#include "ccf/model/ccf_action.h"
#include "ccf/model/ccf_bitmap.h"
#include "tests/ccf/ccf_test_util.h"

namespace {

// Taps per input: each may run hundreds of aliased lists, each alias a search of its device.
constexpr int kMostTaps = 32;

void Wait(std::uint32_t milliseconds) {
    if (milliseconds > kCCFMaxDelayMs) std::abort();
}

bool Send(IrCode& code) {
    if (code.count < 0 || code.count > kIrCodeMaxDurations || code.repeatStart < 0 || code.repeatStart > code.count ||
        code.carrier <= 0 || code.carrier > 255) {
        std::abort();
    }
    return true;
}

// The viewer's side of a jump, without windows.
class FuzzViewer : public CCFFileActionHandler {
public:
    using CCFFileActionHandler::CCFFileActionHandler;
    std::uint32_t ShowDevice(std::uint32_t deviceOffset, std::uint32_t) override {
        return FindCCFDevice(*File(), deviceOffset) ? 1 : 0;
    }
};

// Runs the lists of the buttons of a sequence of items, frames first, as taps; counts them against taps.
void TapItems(const std::vector<std::unique_ptr<CCFPanelItem>>& items, FuzzViewer& viewer, int& taps) {
    for (const auto& item : items) {
        if (!item || taps >= kMostTaps) return;
        if (item->frame) TapItems(item->frame->items, viewer, taps);
        if (item->button && item->button->actions) {
            ++taps;
            RunCCFActionList(item->button->actions.get(), &viewer);
        }
    }
}

void RunActions(const CCFFile& file) {
    static const CCFActionEffects kEffects = SetCCFActionEffects({&Wait, &Send});
    (void)kEffects;
    FuzzViewer viewer(&file);
    int taps = 0;
    for (auto devices = file.CreateDeviceIterator(); devices->IsValid() && taps < kMostTaps; devices->Next()) {
        // A device's own lists are never run by the viewer, but they are lists like any other.
        for (auto lists = devices->Device()->CreateActionListIterator(); lists->IsValid() && taps < kMostTaps;
             lists->Next()) {
            ++taps;
            RunCCFActionList(lists->CurrentAs<CCFActionList>(), &viewer);
        }
        for (const CCFPanel* panel = devices->Device()->firstPanel.get(); panel && taps < kMostTaps;
             panel = panel->next.get()) {
            TapItems(panel->items, viewer, taps);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto file = ReadCCFFile(data, size);
    if (!file) return 0;
    ccf_test::Walk(*file);
    // The bitmaps a viewer would make for the first panel of every device.
    for (auto devices = file->CreateDeviceIterator(); devices->IsValid(); devices->Next()) {
        const CCFPanel* panel = devices->Device()->firstPanel.get();
        if (!panel) continue;
        for (const auto& item : panel->items) {
            if (!item || !item->button) continue;
            for (int state = 0; state < 4; ++state) {
                const CCFBitmapPixels pixels =
                    CCFMakeBitmapPixels(item->button->images[state].get(), item->button->colors[state].get());
                if (item->button->colors[state]) CCFGetColor(pixels.kind, item->button->colors[state]->c[1]);
            }
        }
    }
    RunActions(*file);
    return 0;
}
