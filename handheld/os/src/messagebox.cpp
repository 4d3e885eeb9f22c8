#include "handheld/messagebox.h"

#include <cstdio>
#include <mutex>

#include "handheld/text.h"

namespace handheld {

namespace {

int DefaultAnswer(UINT flags) {
    const UINT type = flags & MB_TYPEMASK;
    return type == MB_YESNO || type == MB_YESNOCANCEL ? IDYES : IDOK;
}

// Where nobody shows boxes (tools, headless runs): the text goes to standard error and the box answers
// as a user accepting it would.
int PresentOnStandardError(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s: %s\n", ToUtf8(request.caption).c_str(), ToUtf8(request.text).c_str());
    return DefaultAnswer(request.flags);
}

struct PresenterSlot {
    std::mutex mutex;
    MessageBoxPresenter presenter = PresentOnStandardError;
};

PresenterSlot& Slot() {
    static PresenterSlot slot;
    return slot;
}

}  // namespace

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    PresenterSlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    MessageBoxPresenter previous = std::move(slot.presenter);
    slot.presenter = presenter ? std::move(presenter) : MessageBoxPresenter(PresentOnStandardError);
    return previous;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
    MessageBoxRequest request{owner, std::u16string(text ? text : u""), std::u16string(caption ? caption : u""), flags};
    MessageBoxPresenter presenter;
    {
        // Called outside the lock: a presenter may itself show a box or install another presenter.
        PresenterSlot& slot = Slot();
        std::lock_guard lock(slot.mutex);
        presenter = slot.presenter;
    }
    return presenter(request);
}

}  // namespace handheld
