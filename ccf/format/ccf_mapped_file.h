// A CCF file opened read-only and mapped whole through the handheld's file mapping.
#pragma once

#include <cstddef>
#include <cstdint>

#include "handheld/owners.h"

class CCFMappedFile {
public:
    CCFMappedFile() = default;
    CCFMappedFile(const CCFMappedFile&) = delete;
    CCFMappedFile& operator=(const CCFMappedFile&) = delete;

    // Opens and maps the file at a handheld path; closes what was open first. False leaves nothing open.
    bool Open(const char16_t* path);
    // Unmaps the view and closes the mapping and the file, whichever are held.
    void Close();

    bool IsOpen() const { return static_cast<bool>(view_); }
    const std::uint8_t* Data() const { return static_cast<const std::uint8_t*>(view_.get()); }
    std::size_t Size() const { return size_; }

private:
    // Released in reverse order: the view, then the mapping, then the file.
    handheld::UniqueHandle file_;
    handheld::UniqueHandle mapping_;
    handheld::UniqueView view_;
    std::size_t size_ = 0;
};
