#include "ccf/format/ccf_mapped_file.h"

#include <utility>

#include "handheld/files.h"
#include "handheld/trace.h"

bool CCFMappedFile::Open(const char16_t* path) {
    using namespace handheld;
    Close();
    if (path == nullptr) return false;
    UniqueHandle file(CreateFileForMappingW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file.get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE || sizeHigh != 0) {
        HH_TRACE("ccf", "file size not usable (high word %u)", unsigned(sizeHigh));
        return false;
    }
    UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    file_ = std::move(file);
    mapping_ = std::move(mapping);
    view_ = std::move(view);
    size_ = sizeLow;
    return true;
}

void CCFMappedFile::Close() {
    view_.reset();
    mapping_.reset();
    file_.reset();
    size_ = 0;
}
