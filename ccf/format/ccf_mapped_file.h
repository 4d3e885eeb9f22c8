// A CCF file opened read-only and mapped whole through the handheld's file mapping.
#pragma once

#include <cstddef>
#include <cstdint>

#include "handheld/types.h"

class CCFMappedFile {
public:
    CCFMappedFile() = default;
    ~CCFMappedFile() { Close(); }
    CCFMappedFile(const CCFMappedFile&) = delete;
    CCFMappedFile& operator=(const CCFMappedFile&) = delete;

    // Opens and maps the file at a handheld path; closes what was open first. False leaves nothing open.
    bool Open(const char16_t* path);
    // Unmaps the view and closes the mapping and the file, whichever are held.
    void Close();

    bool IsOpen() const { return view_ != nullptr; }
    const std::uint8_t* Data() const { return static_cast<const std::uint8_t*>(view_); }
    std::size_t Size() const { return size_; }

private:
    handheld::HANDLE file_ = nullptr;
    handheld::HANDLE mapping_ = nullptr;
    const void* view_ = nullptr;
    std::size_t size_ = 0;
};
