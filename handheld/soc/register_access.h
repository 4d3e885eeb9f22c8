// Register blocks of the simulated processors, and the accessor the IR back ends reach them through.
#pragma once

#include <cstdint>

namespace handheld::soc {

// One peripheral block (one 4096-byte page). Handlers own the side effects of a write; reads of registers
// that do not exist or are write-only give 0.
class RegisterBlock {
public:
    virtual ~RegisterBlock() = default;
    virtual std::uint32_t Read32(std::uint32_t offset) = 0;
    virtual void Write32(std::uint32_t offset, std::uint32_t value) = 0;
    // Byte access: the byte at that address of the little-endian word.
    virtual std::uint8_t Read8(std::uint32_t offset);
    virtual void Write8(std::uint32_t offset, std::uint8_t value);
    virtual void Reset() = 0;
};

// What a mapped page stands for; null block when the address is not a mapped register page.
struct MappedBlock {
    RegisterBlock* block = nullptr;
    bool writable = false;
};
MappedBlock ResolveMapping(const void* mappedBase);

// 8- and 32-bit access at an offset of a mapped register page. On the handheld this is a plain volatile
// access through the mapped pointer; here it calls the simulated block. The block is resolved once, when the
// accessor is made, so that the per-pin loops neither look up nor allocate. A write through a read-only
// mapping is dropped (the handheld would fault).
class RegisterAccess {
public:
    RegisterAccess() = default;
    explicit RegisterAccess(const void* mappedBase) {
        const MappedBlock mapped = ResolveMapping(mappedBase);
        block_ = mapped.block;
        writable_ = mapped.writable;
    }
    bool Valid() const { return block_ != nullptr; }

    std::uint32_t Read32(std::uint32_t offset) const { return block_->Read32(offset); }
    std::uint8_t Read8(std::uint32_t offset) const { return block_->Read8(offset); }
    void Write32(std::uint32_t offset, std::uint32_t value) const {
        if (writable_) block_->Write32(offset, value);
    }
    void Write8(std::uint32_t offset, std::uint8_t value) const {
        if (writable_) block_->Write8(offset, value);
    }

private:
    RegisterBlock* block_ = nullptr;
    bool writable_ = false;
};

}  // namespace handheld::soc
