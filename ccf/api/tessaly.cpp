#include "ccf/api/tessaly.h"

#include <memory>
#include <string>

#include "ccf/format/ccf_mapped_file.h"
#include "ccf/format/ccf_reader.h"
#include "ccf/viewer/ccf_screen.h"
#include "handheld/shell/hwnd.h"

namespace {

// The library-wide state: one viewer at a time.
struct LibraryState {
    QPointer<QWidget> parent;  // the caller's window; not ours to destroy
    std::unique_ptr<CCFMappedFile> mapped;
    std::unique_ptr<CCFFile> model;
    std::unique_ptr<CCFScreen> viewer;
    CCFNameCallback changeDevice = nullptr;
    // A copy: the caller's string is only valid during its call.
    std::u16string lastRequestedName;
};

LibraryState& State() {
    static LibraryState state;
    return state;
}

void ReportDeviceChanged(const std::u16string& name) {
    if (CCFNameCallback callback = State().changeDevice) callback(name.c_str());
}

}  // namespace

CCFScreen* CCFCurrentViewer() {
    return State().viewer.get();
}

const char16_t* CCFLastRequestedName() {
    return State().lastRequestedName.c_str();
}

extern "C" {

int CCFInitUI(handheld::HWND parent, const char16_t* path, int showControlStrip) {
    CCFDeinitUI();
    LibraryState& state = State();
    QWidget* parentWidget = handheld::FromHwnd(parent);
    if (!parentWidget || !path) return 0;
    state.parent = parentWidget;
    state.mapped = std::make_unique<CCFMappedFile>();
    if (!state.mapped->Open(path) || !(state.model = ReadCCFFile(state.mapped->Data(), state.mapped->Size()))) {
        // Nothing half-open stays behind, and nothing is shown: the result alone says it failed.
        CCFDeinitUI();
        return 0;
    }
    state.viewer = std::make_unique<CCFScreen>(state.model.get(), showControlStrip != 0);
    state.viewer->onDeviceChanged = ReportDeviceChanged;
    state.viewer->onNameChosen = [](const std::u16string& name) { State().lastRequestedName = name; };
    if (!state.viewer->CreateViewer(parentWidget)) {
        CCFDeinitUI();
        return 0;
    }
    return 1;
}

void CCFDeinitUI() {
    LibraryState& state = State();
    if (state.viewer) state.viewer->DestroyWnd();
    if (state.viewer && CCFDeferWindowDeletion::Active()) {
        // Closed from inside a running list (a callback of one of its jumps): the list goes on over the model
        // with the viewer as its handler, so both stay until control is back in the event loop.
        auto kept = std::make_shared<std::pair<std::unique_ptr<CCFMappedFile>, std::unique_ptr<CCFFile>>>(
            std::move(state.mapped), std::move(state.model));
        CCFScreen* viewer = state.viewer.release();
        viewer->onDeviceChanged = nullptr;
        viewer->onNameChosen = nullptr;
        QObject::connect(viewer, &QObject::destroyed, [kept] {});
        viewer->deleteLater();
    }
    state.viewer.reset();
    state.mapped.reset();
    state.model.reset();
    state.parent.clear();
}

void CCFMakeDeviceAndMacroNameList(CCFNameCallback callback) {
    const LibraryState& state = State();
    if (!state.model || !callback) return;
    for (auto it = state.model->CreateDeviceIterator(); it->IsValid(); it->Next()) {
        const std::u16string name = CCFWiden(it->Device()->name);
        callback(name.c_str());
    }
}

void CCFSetChangeDeviceCallback(CCFNameCallback callback) {
    State().changeDevice = callback;
}

int CCFShowHomeDeviceOrMacro() {
    CCFScreen* viewer = State().viewer.get();
    return viewer && viewer->ShowHomeDevice() ? 1 : 0;
}

void CCFShowDeviceOrMacro(const char16_t* name) {
    LibraryState& state = State();
    if (!state.viewer || !name) return;
    state.lastRequestedName = name;
    state.viewer->ShowDeviceNamed(state.lastRequestedName);
}

int CCFShowDevicePriorPanel() {
    CCFScreen* viewer = State().viewer.get();
    return viewer ? viewer->PriorPanel() : 0;
}

int CCFShowDeviceNextPanel() {
    CCFScreen* viewer = State().viewer.get();
    return viewer ? viewer->NextPanel() : 0;
}
}
