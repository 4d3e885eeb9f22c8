// Shared by the viewer tests: a file's model held with its bytes, viewers built on it, the windows of a kind
// in a tree, taps, and the effects of actions recorded instead of carried out.
#pragma once

// The model before Qt: a model field is named like one of Qt's keyword macros.
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"
// Then Qt.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "ccf/viewer/ccf_screen.h"

namespace ccf_viewer_test {

// What actions did: codes handed to the driver (their first duration) and delays.
struct RecordedEffects {
    std::vector<std::int32_t> sentFirstDurations;
    std::vector<std::uint32_t> sleptMs;
};
inline RecordedEffects& Recorded() {
    static RecordedEffects effects;
    return effects;
}

// Records effects for its lifetime.
class RecordEffects {
public:
    RecordEffects() {
        Recorded() = {};
        CCFActionEffects effects;
        effects.sleep = [](std::uint32_t ms) { Recorded().sleptMs.push_back(ms); };
        effects.send = [](IrCode& code) {
            Recorded().sentFirstDurations.push_back(code.count > 0 ? code.durations[0] : 0);
            return true;
        };
        previous_ = SetCCFActionEffects(effects);
    }
    ~RecordEffects() { SetCCFActionEffects(previous_); }

private:
    CCFActionEffects previous_;
};

// A viewer on a model, inside a parent window as the program gives it.
struct Viewer {
    explicit Viewer(std::vector<std::uint8_t> bytes, bool strip = false) : loaded(ccf_test::Load(std::move(bytes))) {
        parent = std::make_unique<QWidget>();
        parent->resize(240, 320);
        screen = std::make_unique<CCFScreen>(loaded.file.get(), strip);
        screen->onDeviceChanged = [this](const std::u16string& name) { shown.push_back(name); };
        screen->CreateViewer(parent.get());
    }
    ~Viewer() {
        screen.reset();
        CCFFlushDeferredWindows();
    }
    QImage Grab() const { return screen->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ccf_test::Loaded loaded;
    std::unique_ptr<QWidget> parent;
    std::unique_ptr<CCFScreen> screen;
    std::vector<std::u16string> shown;
};

template <class T>
std::vector<T*> Windows(QWidget* root) {
    std::vector<T*> found;
    for (T* window : root->findChildren<T*>()) {
        if (window->isVisible() || window->isVisibleTo(root)) found.push_back(window);
    }
    return found;
}

// A stylus tap at a point of the viewer: pen down and pen up on the window under it.
inline void Tap(QWidget* viewer, QPoint point) {
    QPointer<QWidget> target = viewer->childAt(point);
    if (!target) return;
    const QPointF local = target->mapFrom(viewer, QPointF(point));
    QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (target) {
        QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
}

inline std::u16string U(const char* text) {
    return CCFWiden(text);
}

}  // namespace ccf_viewer_test
