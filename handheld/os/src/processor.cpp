#include <cstring>

#include "handheld/profile.h"
#include "handheld/system.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

constexpr char kChannel[] = "system";
constexpr WORD kProcessorInfoVersion = 1;

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// Both processor families the handheld was built with come from one maker; others stay blank.
std::u16string_view VendorOf(std::u16string_view processorName) {
    if (StartsWith(processorName, u"PXA") || StartsWith(processorName, u"SA11")) return u"Intel";
    return u"";
}

}  // namespace

BOOL KernelIoControl(DWORD ioControlCode, void* /*inBuffer*/, DWORD /*inSize*/, void* outBuffer, DWORD outSize,
                     DWORD* bytesReturned) {
    if (ioControlCode != IOCTL_PROCESSOR_INFORMATION) {
        HH_TRACE(kChannel, "KernelIoControl 0x%08x is not supported", ioControlCode);
        if (bytesReturned != nullptr) *bytesReturned = 0;
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    // The needed size is reported even when the buffer is too small, so a caller can ask again.
    if (bytesReturned != nullptr) *bytesReturned = sizeof(PROCESSOR_INFO);
    if (outBuffer == nullptr || outSize < sizeof(PROCESSOR_INFO)) {
        HH_TRACE(kChannel, "KernelIoControl processor information: %u bytes given, %zu needed", outSize,
                 sizeof(PROCESSOR_INFO));
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const HandheldProfile& profile = Profile();
    PROCESSOR_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.wVersion = kProcessorInfoVersion;
    CopyTruncated(info.szProcessCore, std::size(info.szProcessCore), profile.processorCore);
    CopyTruncated(info.szProcessorName, std::size(info.szProcessorName), profile.processorName);
    CopyTruncated(info.szVendor, std::size(info.szVendor), VendorOf(profile.processorName));
    std::memcpy(outBuffer, &info, sizeof(info));
    HH_TRACE(kChannel, "KernelIoControl processor information: \"%s\" \"%s\"", ToUtf8(profile.processorCore).c_str(),
             ToUtf8(profile.processorName).c_str());
    return TRUE;
}

}  // namespace handheld
