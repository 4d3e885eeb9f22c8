#include "ccf/format/ccf_mapped_file.h"

#include "handheld/files.h"
#include "handheld/trace.h"

bool CCFMappedFile::Open(const char16_t* path) {
    using namespace handheld;
    Close();
    if (path == nullptr) return false;
    file_ = CreateFileForMappingW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
    if (file_ == INVALID_HANDLE_VALUE || file_ == nullptr) {
        file_ = nullptr;
        return false;
    }
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file_, &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE || sizeHigh != 0) {
        HH_TRACE("ccf", "file size not usable (high word %u)", unsigned(sizeHigh));
        Close();
        return false;
    }
    mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr || mapping_ == INVALID_HANDLE_VALUE) {
        mapping_ = nullptr;
        Close();
        return false;
    }
    view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (view_ == nullptr) {
        Close();
        return false;
    }
    size_ = sizeLow;
    return true;
}

void CCFMappedFile::Close() {
    using namespace handheld;
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    if (file_ != nullptr) CloseHandle(file_);
    view_ = nullptr;
    mapping_ = nullptr;
    file_ = nullptr;
    size_ = 0;
}
