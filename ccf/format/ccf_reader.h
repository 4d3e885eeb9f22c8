// Builds the object model of a CCF file from its bytes (the mapped file, or any buffer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ccf/model/ccf_model.h"

// Bounds that keep a hostile file from exhausting memory or the stack. Records shared by many parents are
// built once per parent, so a small file can describe an enormous tree; building stops adding objects when
// a bound is reached and leaves the remaining slots empty.
struct CCFReadLimits {
    // 0: 65536 plus 16 for every byte of the file, at most 2^20. Real files come to well under one object
    // per 16 bytes; only records shared many times over come near the bound.
    std::size_t maxObjects = 0;
    int maxFrameDepth = 32;  // frames inside frames
    // Heap the model may take: names, pair arrays, slots and the pixel arrays images will decode into.
    // 0: 64 MiB plus 64 bytes for every byte of the file.
    std::uint64_t maxHeapBytes = 0;
};

// What the reader had to leave out; all 0 for a sound file.
struct CCFReadStats {
    std::size_t objects = 0;
    std::uint64_t heapBytes = 0;
    std::size_t outsideFile = 0;  // records, names, images or pair lists that ran past the end
    std::size_t cycles = 0;       // chain links back to a record already read, frames inside themselves
    std::size_t tooDeep = 0;      // frames past the nesting bound
    bool budgetExhausted = false;
};

// The model of the file at data (size bytes). The bytes must outlive the model: images decode from them.
// Never fails on content: whatever lies outside the file is absent. Null only for a null buffer.
std::unique_ptr<CCFFile> ReadCCFFile(const std::uint8_t* data, std::size_t size, const CCFReadLimits& limits = {},
                                     CCFReadStats* stats = nullptr);
