// Physical register pages mapped into the process: VirtualAlloc reserves address space that faults on any
// direct access, VirtualCopy mounts a simulated register page there (reached through
// handheld::soc::RegisterAccess), VirtualFree releases both.
#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "handheld/soc/internal.h"
#include "handheld/system.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

constexpr const char* kTrace = "memory";
constexpr DWORD kPageBytes = 4096;
constexpr unsigned kPhysicalAddressShift = 8;  // VirtualCopy takes the physical address divided by 256

struct Reservation {
    void* address;
    std::size_t bytes;
};

std::mutex& ReservationMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<Reservation>& Reservations() {
    static std::vector<Reservation> reservations;
    return reservations;
}

const Reservation* FindReservation(const void* address) {
    for (const auto& reservation : Reservations()) {
        const auto* begin = static_cast<const char*>(reservation.address);
        const auto* at = static_cast<const char*>(address);
        if (at >= begin && at < begin + reservation.bytes) return &reservation;
    }
    return nullptr;
}

}  // namespace

void* VirtualAlloc(void* address, DWORD size, DWORD allocationType, DWORD protect) {
    if (address != nullptr || allocationType != MEM_RESERVE || size == 0) {
        HH_TRACE(kTrace, "VirtualAlloc(%p, %u, 0x%X, 0x%X): only fresh reservations are supported", address, size,
                 allocationType, protect);
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const std::size_t bytes = (std::size_t{size} + kPageBytes - 1) / kPageBytes * kPageBytes;
    void* reserved = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::lock_guard lock(ReservationMutex());
    Reservations().push_back({reserved, bytes});
    HH_TRACE(kTrace, "VirtualAlloc: %zu bytes reserved at %p", bytes, reserved);
    return reserved;
}

BOOL VirtualCopy(void* destination, void* source, DWORD size, DWORD protect) {
    if ((protect & PAGE_PHYSICAL) == 0) {
        HH_TRACE(kTrace, "VirtualCopy without PAGE_PHYSICAL is not supported");
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const std::uint64_t physical = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(source))
                                   << kPhysicalAddressShift;
    {
        std::lock_guard lock(ReservationMutex());
        const Reservation* reservation = FindReservation(destination);
        if (reservation == nullptr || reservation->address != destination || size == 0 || size > kPageBytes ||
            physical % kPageBytes != 0 || physical > UINT32_MAX) {
            HH_TRACE(kTrace, "VirtualCopy(%p, phys 0x%llX, %u): not a reserved page or not one page", destination,
                     static_cast<unsigned long long>(physical), size);
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    const bool writable = (protect & PAGE_READWRITE) != 0;
    if (!soc::MapPhysicalPage(destination, static_cast<std::uint32_t>(physical), writable)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HH_TRACE(kTrace, "VirtualCopy: physical 0x%08llX at %p, %s", static_cast<unsigned long long>(physical), destination,
             writable ? "read-write" : "read-only");
    return TRUE;
}

BOOL VirtualFree(void* address, DWORD size, DWORD freeType) {
    if (freeType != MEM_RELEASE || size != 0) {
        HH_TRACE(kTrace, "VirtualFree(%p, %u, 0x%X): only MEM_RELEASE of a whole reservation", address, size, freeType);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(ReservationMutex());
    auto& reservations = Reservations();
    for (auto it = reservations.begin(); it != reservations.end(); ++it) {
        if (it->address == address) {
            soc::UnmapPage(address);
            munmap(it->address, it->bytes);
            reservations.erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

}  // namespace handheld
