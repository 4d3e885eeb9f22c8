#include "ccf/viewer/ccf_screen.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>

#include "ccf/viewer/ccf_fonts.h"
#include "ccf/viewer/ccf_strip_art.h"
#include "ccf/viewer/item_list_dialog.h"

namespace {

const QRect kHomeRect(186, 0, 54, 21);
const QRect kDeviceCollapsed(158, 21, 82, 29);
const QRect kDeviceExpanded(87, 21, 153, 29);
const QRect kMacroCollapsed(0, 21, 82, 29);
const QRect kMacroExpanded(0, 21, 153, 29);

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// The owner-drawn home button: its two bitmaps, normal and pressed.
class CCFHomeButton : public QAbstractButton {
public:
    explicit CCFHomeButton(QWidget* parent) : QAbstractButton(parent) {
        setObjectName(QString::number(CCFScreen::kHomeId));
        setGeometry(kHomeRect);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawPixmap(0, 0, CCFStripArt(isDown() ? kCCFBitmapHomePressed : kCCFBitmapHomeNormal));
    }
};

}  // namespace

// --- CCFControlPanelButton ------------------------------------------------------------------------------

CCFControlPanelButton::CCFControlPanelButton(int id, const QRect& collapsed, const QRect& expanded,
                                             const QPixmap& collapsedBitmap, const QPixmap& expandedBitmap,
                                             QWidget* parent)
    : QWidget(parent),
      id_(id),
      collapsed_(collapsed),
      expanded_rect_(expanded),
      collapsedBitmap_(collapsedBitmap),
      expandedBitmap_(expandedBitmap) {
    setObjectName(QString::number(id));
    setGeometry(collapsed_);
}

void CCFControlPanelButton::SetExpanded(bool expanded) {
    if (expanded == expanded_) return;
    expanded_ = expanded;
    setGeometry(expanded_ ? expanded_rect_ : collapsed_);
    repaint();
}

void CCFControlPanelButton::SetCaption(const std::u16string& caption) {
    caption_ = caption;
    repaint();
}

void CCFControlPanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& bitmap = expanded_ ? expandedBitmap_ : collapsedBitmap_;
    painter.drawPixmap(QPoint(0, 0), bitmap, QRect(QPoint(0, 0), size()));
    if (!expanded_) return;
    painter.setFont(CCFDefaultFont());
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, ToQString(caption_));
}

void CCFControlPanelButton::PenDown() {
    if (!expanded_) SetExpanded(true);
    if (onCommand) onCommand(id_);
}

void CCFControlPanelButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    PenDown();
    event->accept();
}

// --- CCFScreen ------------------------------------------------------------------------------------------

CCFScreen::CCFScreen(const CCFFile* file, bool showControlStrip)
    : CCFFileActionHandler(file), file_(file), showControlStrip_(showControlStrip) {
    setObjectName(QStringLiteral("CCFScreen"));
}

CCFScreen::~CCFScreen() {
    device_ = nullptr;
}

QRect CCFScreen::PreCreate(const QRect&) {
    return QRect(0, 0, kWidthPx, kHeightPx);
}

bool CCFScreen::CreateViewer(QWidget* parent) {
    if (!CreateWnd(parent, QRect())) return false;
    if (showControlStrip_) {
        auto* home = new CCFHomeButton(this);
        connect(home, &QAbstractButton::pressed, this, [this] { Command(kHomeId); });
        home->show();
        home_ = home;
        deviceButton_ = new CCFControlPanelButton(kDeviceId, kDeviceCollapsed, kDeviceExpanded,
                                                  CCFStripArt(kCCFBitmapDeviceCollapsed),
                                                  CCFStripArt(kCCFBitmapDeviceExpanded), this);
        macroButton_ =
            new CCFControlPanelButton(kMacroId, kMacroCollapsed, kMacroExpanded, CCFStripArt(kCCFBitmapMacroCollapsed),
                                      CCFStripArt(kCCFBitmapMacroExpanded), this);
        for (CCFControlPanelButton* button : {deviceButton_.data(), macroButton_.data()}) {
            button->onCommand = [this](int id) { Command(id); };
            button->show();
        }
    }
    if (!ShowHomeDevice()) {
        std::u16string name;
        if (SearchDevice([](const CCFDevice&, int chain) { return chain == 2; }, &name) && deviceButton_) {
            deviceButton_->SetExpanded(true);
            deviceButton_->SetCaption(name);
        }
    }
    return true;
}

bool CCFScreen::CreateChild(CCFWnd* child) {
    if (!child) return false;
    return child->CreateWnd(this, QRect(0, showControlStrip_ ? kStripHeightPx : 0, kWidthPx, kHeightPx));
}

void CCFScreen::DestroyChildren() {
    device_ = nullptr;
    CCFWnd::DestroyChildren();
}

void CCFScreen::RemoveDevice() {
    DestroyChildren();
    repaint();
}

void CCFScreen::ShowDeviceScreen(const CCFDevice& device, std::uint32_t panelOffset) {
    auto screen = std::make_unique<CCFDeviceScreen>(&device, this, panelOffset);
    device_ = screen.get();
    AddChild(std::move(screen));
    if (onDeviceChanged) onDeviceChanged(CCFWiden(device.name));
}

bool CCFScreen::SearchDevice(const DevicePredicate& predicate, std::u16string* name) {
    RemoveDevice();
    for (auto it = file_->CreateDeviceIterator(); it->IsValid(); it->Next()) {
        const CCFDevice& device = *it->Device();
        if (!predicate(device, it->Chain())) continue;
        if (name) *name = CCFWiden(device.name);
        ShowDeviceScreen(device, 0);
        return true;
    }
    return false;
}

bool CCFScreen::ShowHomeDevice() {
    return SearchDevice([](const CCFDevice& device, int chain) { return chain == 1 && device.firstPanel; });
}

bool CCFScreen::ShowDeviceNamed(const std::u16string& name) {
    return SearchDevice([&name](const CCFDevice& device, int) { return CCFWiden(device.name) == name; });
}

int CCFScreen::NextPanel() {
    return device_ ? device_->NextPanel() : 0;
}

int CCFScreen::PriorPanel() {
    return device_ ? device_->PriorPanel() : 0;
}

std::uint32_t CCFScreen::ShowDevice(std::uint32_t deviceOffset, std::uint32_t panelOffset) {
    int chain = 0;
    const CCFDevice* device = FindCCFDevice(*file_, deviceOffset, &chain);
    if (!device) return 0;
    RemoveDevice();
    ShowDeviceScreen(*device, panelOffset);
    CollapseStrip();
    CCFControlPanelButton* button = chain == 2 ? deviceButton_.data() : chain == 3 ? macroButton_.data() : nullptr;
    if (button) {
        button->SetExpanded(true);
        button->SetCaption(CCFWiden(device->name));
    }
    return 1;
}

void CCFScreen::CollapseStrip() {
    if (deviceButton_) deviceButton_->SetExpanded(false);
    if (macroButton_) macroButton_->SetExpanded(false);
}

void CCFScreen::ChooseFromList(CCFControlPanelButton* own, CCFControlPanelButton* other, int kind) {
    if (!own || !other) return;
    if (!other->Expanded()) {
        const std::u16string name = CItemListDialog::ChooseName(this, file_, kind);
        if (onNameChosen) onNameChosen(name);
        if (ShowDeviceNamed(name)) {
            own->SetCaption(name);
            other->SetCaption(std::u16string());
        }
        return;
    }
    other->SetExpanded(false);
    std::u16string name;
    if (SearchDevice([kind](const CCFDevice&, int chain) { return chain == kind; }, &name)) own->SetCaption(name);
}

void CCFScreen::Command(int id) {
    switch (id) {
        case kHomeId:
            CollapseStrip();
            repaint();
            ShowHomeDevice();
            break;
        case kDeviceId:
            ChooseFromList(deviceButton_, macroButton_, CItemListDialog::kKindDevices);
            break;
        case kMacroId:
            ChooseFromList(macroButton_, deviceButton_, CItemListDialog::kKindMacros);
            break;
        default:
            break;
    }
}
