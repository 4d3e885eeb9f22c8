// The exported singleton and the processor detection that picks its back end.
#include "driver/irdriver/lumbra.h"

#include <new>
#include <string>

#include "driver/backends/ir_driver_pxa.h"
#include "driver/backends/ir_driver_sa.h"
#include "handheld/messagebox.h"
#include "handheld/system.h"
#include "handheld/text.h"

const char16_t* const CLumbra::Auto = u"";
CLumbra* CLumbra::m_instance = nullptr;

namespace {

constexpr int kProcessorTextChars = 260;
constexpr std::size_t kProcessorFieldChars = 40;

std::u16string_view Field(const char16_t (&field)[kProcessorFieldChars]) {
    std::size_t length = 0;
    while (length < kProcessorFieldChars && field[length] != 0) ++length;
    return {field, length};
}

// "core processor" from the platform, at most 259 characters; "" when the platform does not say.
std::u16string ProcessorText() {
    handheld::PROCESSOR_INFO info{};
    handheld::DWORD returned = 0;
    if (!handheld::KernelIoControl(handheld::IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &returned)) {
        return {};
    }
    std::u16string text(Field(info.szProcessCore));
    text += u' ';
    text += Field(info.szProcessorName);
    text.resize(std::min<std::size_t>(text.size(), kProcessorTextChars - 1));
    return text;
}

CLumbra* CreateDriver() {
    const std::u16string text = ProcessorText();
    if (text.find(u"SA11") != std::u16string::npos) return new (std::nothrow) CIrDriverSa();
    for (std::u16string_view pxa : {u"PXA25", u"PXA26", u"PXA27"}) {
        if (text.find(pxa) != std::u16string::npos) return new (std::nothrow) CIrDriverPxa();
    }
    std::u16string message = u"Unsuported processor type " + text;
    message.resize(std::min<std::size_t>(message.size(), kProcessorTextChars - 1));
    handheld::MessageBoxW(nullptr, message.c_str(), u"Error", handheld::MB_OK);
    return new (std::nothrow) CIrDriverGeneric();
}

}  // namespace

CLumbra* CLumbra::Instance() {
    if (m_instance == nullptr) m_instance = CreateDriver();
    return m_instance;
}

void CLumbra::Destroy() {
    delete m_instance;
    m_instance = nullptr;
}
