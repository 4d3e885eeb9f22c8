// The viewer: the window that shows one device of a CCF file at a time, with an optional control strip above
// the device area (home, device list and macro list). It is also the handler through which actions jump.
#pragma once

// The windows (and with them the model) before Qt: a model field is named like one of Qt's keyword macros.
#include "ccf/viewer/ccf_wnd.h"
// Then Qt.
#include <QAbstractButton>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <functional>
#include <string>

// A device or macro button of the control strip: collapsed it shows its tab, expanded the name of what is
// shown.
class CCFControlPanelButton : public QWidget {
    Q_OBJECT
public:
    CCFControlPanelButton(int id, const QRect& collapsed, const QRect& expanded, const QPixmap& collapsedBitmap,
                          const QPixmap& expandedBitmap, QWidget* parent);
    int Id() const { return id_; }
    bool Expanded() const { return expanded_; }
    // Moves to the rectangle of the new value and repaints at once; the same value does nothing.
    void SetExpanded(bool expanded);
    void SetCaption(const std::u16string& caption);
    const std::u16string& Caption() const { return caption_; }
    // Expands when collapsed, then hands the parent the button's command.
    void PenDown();
    std::function<void(int id)> onCommand;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int id_;
    bool expanded_ = false;
    QRect collapsed_;
    QRect expanded_rect_;
    QPixmap collapsedBitmap_;
    QPixmap expandedBitmap_;
    std::u16string caption_;
};

class CCFScreen : public CCFWnd, public CCFFileActionHandler {
    Q_OBJECT
public:
    static constexpr int kHomeId = 1000;
    static constexpr int kDeviceId = 1001;
    static constexpr int kMacroId = 1002;
    static constexpr int kStripHeightPx = 50;
    static constexpr int kWidthPx = 240;
    static constexpr int kHeightPx = 320;

    // Whether a device passes a search; chain is 1-3.
    using DevicePredicate = std::function<bool(const CCFDevice& device, int chain)>;

    CCFScreen(const CCFFile* file, bool showControlStrip);
    ~CCFScreen() override;

    // Creates the viewer's window at parent's origin and shows the home device (else the first device).
    bool CreateViewer(QWidget* parent);

    const CCFFile* File() const { return file_; }
    bool ShowsControlStrip() const { return showControlStrip_; }
    CCFDeviceScreen* CurrentDevice() const { return device_; }

    // Removes the shown device, then shows the first device in chain order that passes; its name in *name.
    // False leaves the viewer empty.
    bool SearchDevice(const DevicePredicate& predicate, std::u16string* name = nullptr);
    // The first device of chain 1 that has a panel.
    bool ShowHomeDevice();
    // The first device whose widened name is exactly name.
    bool ShowDeviceNamed(const std::u16string& name);
    // 1 or 0 as the shown device's panel change; 0 with no device shown.
    int NextPanel();
    int PriorPanel();

    std::uint32_t ShowDevice(std::uint32_t deviceOffset, std::uint32_t panelOffset) override;

    // Called with the widened name of every device shown from now on.
    std::function<void(const std::u16string& name)> onDeviceChanged;
    // Called with every name chosen in the strip's lists.
    std::function<void(const std::u16string& name)> onNameChosen;

    // Control strip (null without it).
    QAbstractButton* HomeButton() const { return home_; }
    CCFControlPanelButton* DeviceButton() const { return deviceButton_; }
    CCFControlPanelButton* MacroButton() const { return macroButton_; }
    void Command(int id);

    bool CreateChild(CCFWnd* child) override;
    void DestroyChildren() override;

protected:
    QRect PreCreate(const QRect& rect) override;

private:
    void ShowDeviceScreen(const CCFDevice& device, std::uint32_t panelOffset);
    void RemoveDevice();
    void ChooseFromList(CCFControlPanelButton* own, CCFControlPanelButton* other, int kind);
    void CollapseStrip();

    const CCFFile* file_;
    bool showControlStrip_;
    CCFDeviceScreen* device_ = nullptr;
    QPointer<QAbstractButton> home_;
    QPointer<CCFControlPanelButton> deviceButton_;
    QPointer<CCFControlPanelButton> macroButton_;
};
