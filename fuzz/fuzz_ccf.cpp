// Fuzz target for the CCF reader: opens the bytes as a file, walks every cursor, decodes every image and
// converts every IR code, as the viewer and a tap would.
#include <cstddef>
#include <cstdint>

#include "ccf/format/ccf_reader.h"
#include "ccf/model/ccf_bitmap.h"
#include "tests/ccf/ccf_test_util.h"

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
    return 0;
}
