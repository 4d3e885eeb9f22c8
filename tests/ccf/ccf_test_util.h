// Helpers shared by the CCF tests: reading a writer's bytes and walking a whole model.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "ccf/format/ccf_reader.h"
#include "ccf/model/ccf_action.h"
#include "ccf/model/ccf_model.h"

namespace ccf_test {

// Owns the bytes together with the model built from them (images read their rows from the bytes).
struct Loaded {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<CCFFile> file;
    CCFReadStats stats;
};

inline Loaded Load(std::vector<std::uint8_t> bytes, const CCFReadLimits& limits = {}) {
    Loaded loaded;
    loaded.bytes = std::move(bytes);
    loaded.file = ReadCCFFile(loaded.bytes.data(), loaded.bytes.size(), limits, &loaded.stats);
    return loaded;
}

inline std::vector<std::uint8_t> ReadHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<CCFDevice*> Devices(const CCFFile& file, std::vector<int>* chains = nullptr) {
    std::vector<CCFDevice*> devices;
    for (auto it = file.CreateDeviceIterator(); it->IsValid(); it->Next()) {
        devices.push_back(it->Device());
        if (chains) chains->push_back(it->Chain());
    }
    return devices;
}

template <typename T>
std::vector<T*> Collect(std::unique_ptr<CCFIterator> it) {
    std::vector<T*> out;
    for (; it->IsValid(); it->Next()) out.push_back(it->CurrentAs<T>());
    return out;
}

// Counts of what a full walk through every cursor reached; images are decoded, codes converted.
struct WalkCounts {
    std::size_t devices = 0, panels = 0, items = 0, frames = 0, buttons = 0, images = 0, lists = 0, actions = 0,
                codes = 0, sendable = 0;
    std::uint64_t pixelSum = 0;
};

inline void WalkList(const CCFActionList* list, WalkCounts& counts) {
    if (!list) return;
    ++counts.lists;
    for (auto it = list->CreateActionIterator(); it->IsValid(); it->Next()) {
        ++counts.actions;
        auto* ir = dynamic_cast<CCFIRCodeAction*>(it->CurrentAs<CCFAction>());
        if (ir && ir->code && ir->code->GetLearnedCode()) {
            ++counts.codes;
            IrCode code;
            if (ConvertCCFLearnedCode(*ir->code->GetLearnedCode(), code)) ++counts.sendable;
        }
    }
}

// everyPixel reads each pixel through GetPixel (bounds included); otherwise images are decoded whole.
inline void WalkImage(CCFImage* image, WalkCounts& counts, bool everyPixel = true) {
    if (!image) return;
    ++counts.images;
    if (!everyPixel) {
        image->Decode();
        for (std::uint8_t p : image->pixels) counts.pixelSum += p;
        return;
    }
    for (int y = 0; y < image->height && y < 0x7FFF; ++y) {
        for (int x = 0; x < image->width && x < 0x7FFF; ++x) counts.pixelSum += image->GetPixel(x, y);
    }
}

inline void WalkItems(std::unique_ptr<CCFIterator> items, WalkCounts& counts, bool everyPixel = true) {
    for (; items->IsValid(); items->Next()) {
        auto* item = items->CurrentAs<CCFPanelItem>();
        ++counts.items;
        for (auto f = item->CreateFrameIterator(); f->IsValid(); f->Next()) {
            auto* frame = f->CurrentAs<CCFFrame>();
            ++counts.frames;
            WalkImage(frame->image.get(), counts, everyPixel);
            WalkItems(frame->CreateItemIterator(), counts, everyPixel);
        }
        for (auto b = item->CreateButtonIterator(); b->IsValid(); b->Next()) {
            auto* button = b->CurrentAs<CCFButton>();
            ++counts.buttons;
            for (auto& image : button->images) WalkImage(image.get(), counts, everyPixel);
            for (auto l = button->CreateActionListIterator(); l->IsValid(); l->Next()) {
                WalkList(l->CurrentAs<CCFActionList>(), counts);
            }
        }
    }
}

inline WalkCounts Walk(const CCFFile& file, bool everyPixel = true) {
    WalkCounts counts;
    for (auto d = file.CreateDeviceIterator(); d->IsValid(); d->Next()) {
        ++counts.devices;
        for (auto l = d->Device()->CreateActionListIterator(); l->IsValid(); l->Next()) {
            WalkList(l->CurrentAs<CCFActionList>(), counts);
        }
        for (auto p = d->Device()->CreatePanelIterator(); p->IsValid(); p->Next()) {
            ++counts.panels;
            WalkItems(p->CurrentAs<CCFPanel>()->CreateItemIterator(), counts, everyPixel);
        }
    }
    for (auto p = file.CreateOwnPanelIterator(); p->IsValid(); p->Next()) ++counts.panels;
    return counts;
}

}  // namespace ccf_test
