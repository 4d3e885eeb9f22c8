// The physical pages of both processor families and the process's mappings of them.
#include <array>
#include <mutex>
#include <string_view>

#include "handheld/soc/blocks.h"
#include "handheld/soc/internal.h"
#include "handheld/soc/simulation.h"
#include "handheld/system.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld::soc {

namespace {

struct Mount {
    std::uint32_t physicalBase;
    ProcessorFamily family;
    RegisterBlock* block;
    bool mappable;
};

struct Mapping {
    const void* address = nullptr;
    RegisterBlock* block = nullptr;
    bool writable = false;
};

struct Bus {
    PxaGpioBlock pxaGpio;
    OsTimerBlock pxaTimer;
    IntcBlock pxaIntc{ProcessorFamily::Pxa};
    SaSerial2Block saSerial2;
    SaPpcBlock saPpc{saSerial2};
    OsTimerBlock saTimer;
    IntcBlock saIntc{ProcessorFamily::Sa};
    std::array<Mount, 7> mounts{{
        {kPxaGpioBase, ProcessorFamily::Pxa, &pxaGpio, true},
        {kPxaTimerBase, ProcessorFamily::Pxa, &pxaTimer, true},
        {kPxaIntcBase, ProcessorFamily::Pxa, &pxaIntc, true},
        {kSaSerial2Base, ProcessorFamily::Sa, &saSerial2, true},
        {kSaPpcBase, ProcessorFamily::Sa, &saPpc, true},
        {kSaTimerBase, ProcessorFamily::Sa, &saTimer, true},
        {kSaIntcBase, ProcessorFamily::Sa, &saIntc, true},
    }};
    std::mutex mappingMutex;
    std::array<Mapping, 64> mappings{};

    Bus() {
        saSerial2.AttachPinController(&saPpc);
        for (auto& mount : mounts) mount.block->Reset();
    }
    Mount* Find(std::uint32_t physicalBase) {
        for (auto& mount : mounts) {
            if (mount.physicalBase == physicalBase) return &mount;
        }
        return nullptr;
    }
};

Bus& TheBus() {
    static Bus bus;
    return bus;
}

}  // namespace

ProcessorFamily CurrentProcessorFamily() {
    // The same text the driver tells the processor by: the processor-information record's core name, a
    // blank and the processor name, so that the pages offered always match the back end chosen.
    PROCESSOR_INFO info{};
    DWORD returned = 0;
    if (!KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &returned)) {
        return ProcessorFamily::None;
    }
    const std::u16string text = std::u16string(info.szProcessCore, WideLength(info.szProcessCore)) + u" " +
                                std::u16string(info.szProcessorName, WideLength(info.szProcessorName));
    if (text.find(u"SA11") != std::u16string::npos) return ProcessorFamily::Sa;
    for (std::u16string_view pxa : {u"PXA25", u"PXA26", u"PXA27"}) {
        if (text.find(pxa) != std::u16string::npos) return ProcessorFamily::Pxa;
    }
    return ProcessorFamily::None;
}

RegisterBlock* BlockAt(std::uint32_t physicalBase) {
    Mount* mount = TheBus().Find(physicalBase);
    return mount ? mount->block : nullptr;
}

void SetBlockMappable(std::uint32_t physicalBase, bool mappable) {
    if (Mount* mount = TheBus().Find(physicalBase)) mount->mappable = mappable;
}

bool BlockMappable(std::uint32_t physicalBase) {
    Mount* mount = TheBus().Find(physicalBase);
    return mount != nullptr && mount->mappable;
}

void ResetProcessors() {
    Bus& bus = TheBus();
    ClearLearningSource();
    for (auto& mount : bus.mounts) {
        mount.mappable = true;
        mount.block->Reset();
    }
    ResetTransceiver();
}

bool MapPhysicalPage(const void* address, std::uint32_t physicalBase, bool writable) {
    Bus& bus = TheBus();
    Mount* mount = bus.Find(physicalBase);
    const ProcessorFamily family = CurrentProcessorFamily();
    if (mount == nullptr || mount->family != family || !mount->mappable) {
        HH_TRACE("soc", "no register page at physical 0x%08X on this processor", physicalBase);
        return false;
    }
    std::lock_guard lock(bus.mappingMutex);
    for (auto& mapping : bus.mappings) {
        if (mapping.address == nullptr || mapping.address == address) {
            mapping = {address, mount->block, writable};
            return true;
        }
    }
    HH_TRACE("soc", "mapping table full, page 0x%08X not mapped", physicalBase);
    return false;
}

bool UnmapPage(const void* address) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.mappingMutex);
    for (auto& mapping : bus.mappings) {
        if (mapping.address == address) {
            mapping = {};
            return true;
        }
    }
    return false;
}

MappedBlock ResolveMapping(const void* mappedBase) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.mappingMutex);
    for (const auto& mapping : bus.mappings) {
        if (mapping.address != nullptr && mapping.address == mappedBase) return {mapping.block, mapping.writable};
    }
    return {};
}

}  // namespace handheld::soc
