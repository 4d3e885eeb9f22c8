#include "ccf/viewer/ccf_wnd.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "ccf/viewer/ccf_fonts.h"

namespace {

thread_local int deferDepth = 0;
thread_local std::vector<QPointer<CCFWnd>> deferred;

void DisposeWindow(CCFWnd* window) {
    if (CCFDeferWindowDeletion::Active()) {
        window->hide();
        deferred.emplace_back(window);
        return;
    }
    delete window;
}

}  // namespace

CCFDeferWindowDeletion::CCFDeferWindowDeletion() {
    ++deferDepth;
}

CCFDeferWindowDeletion::~CCFDeferWindowDeletion() {
    if (--deferDepth > 0) return;
    // The handler that held us may belong to one of these windows: they go once its event has been handled.
    for (QPointer<CCFWnd>& window : deferred) {
        if (window) window->deleteLater();
    }
    deferred.clear();
}

bool CCFDeferWindowDeletion::Active() {
    return deferDepth > 0;
}

void CCFFlushDeferredWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// --- CCFWnd ---------------------------------------------------------------------------------------------

CCFWnd::CCFWnd() {
    hide();
}

CCFWnd::~CCFWnd() {
    // Deleted directly, whatever the deferral: the parent is going, and its children with it.
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) delete *it;
    children_.clear();
}

bool CCFWnd::CreateWnd(QWidget* parent, const QRect& rect) {
    setParent(parent);
    setGeometry(PreCreate(rect));
    hasWnd_ = true;
    show();
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) CreateChild(*it);
    return true;
}

void CCFWnd::DestroyWnd() {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) DestroyChild(*it);
    hide();
    hasWnd_ = false;
}

void CCFWnd::AddChild(std::unique_ptr<CCFWnd> child) {
    if (!child) return;
    if (hasWnd_) CreateChild(child.get());
    children_.push_back(child.release());
}

bool CCFWnd::CreateChild(CCFWnd* child) {
    if (!child) return false;
    return child->CreateWnd(this, QRect(0, 0, 0, 0));
}

void CCFWnd::DestroyChild(CCFWnd* child) {
    if (child) child->DestroyWnd();
}

bool CCFWnd::DeleteChild(CCFWnd* child) {
    if (child) {
        child->DestroyWnd();
        DisposeWindow(child);
    }
    return true;
}

void CCFWnd::DestroyChildren() {
    std::vector<CCFWnd*> children;
    children.swap(children_);
    for (auto it = children.rbegin(); it != children.rend(); ++it) DeleteChild(*it);
}

void CCFWnd::Unlist(CCFWnd* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void CCFWnd::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Qt::white);
}

// --- panel and device -----------------------------------------------------------------------------------

CCFPanelScreen::CCFPanelScreen(const CCFPanel* panel, CCFActionHandler* handler) : panel_(panel) {
    for (auto it = panel->CreateItemIterator(); it->IsValid(); it->Next()) {
        AddChild(std::make_unique<CCFChildScreen>(it->CurrentAs<CCFPanelItem>(), handler));
    }
}

QRect CCFPanelScreen::PreCreate(const QRect&) {
    return QRect(0, 0, 240, 270);
}

CCFDeviceScreen::CCFDeviceScreen(const CCFDevice* device, CCFActionHandler* handler, std::uint32_t panelOffset)
    : device_(device), handler_(handler) {
    for (auto it = device->CreatePanelIterator(); it->IsValid(); it->Next()) {
        const auto* panel = it->CurrentAs<CCFPanel>();
        if (panelOffset == 0 || panel->recordOffset == panelOffset) {
            ShowPanel(panel);
            break;
        }
    }
}

QRect CCFDeviceScreen::PreCreate(const QRect& rect) {
    return QRect(rect.topLeft(), QSize(240, 320));
}

CCFPanelScreen* CCFDeviceScreen::PanelWindow() const {
    return ChildList().empty() ? nullptr : static_cast<CCFPanelScreen*>(ChildList().front());
}

void CCFDeviceScreen::ShowPanel(const CCFPanel* panel) {
    DestroyChildren();
    panel_ = panel;
    AddChild(std::make_unique<CCFPanelScreen>(panel, handler_));
}

int CCFDeviceScreen::NextPanel() {
    if (!panel_) return 0;
    for (auto it = device_->CreatePanelIterator(); it->IsValid(); it->Next()) {
        if (it->CurrentAs<CCFPanel>()->recordOffset != panel_->recordOffset) continue;
        it->Next();
        if (!it->IsValid()) return 0;
        ShowPanel(it->CurrentAs<CCFPanel>());
        return 1;
    }
    return 0;
}

int CCFDeviceScreen::PriorPanel() {
    if (!panel_) return 0;
    const CCFPanel* prior = nullptr;
    for (auto it = device_->CreatePanelIterator(); it->IsValid(); it->Next()) {
        const auto* panel = it->CurrentAs<CCFPanel>();
        if (!prior) prior = panel;
        if (panel->recordOffset == panel_->recordOffset) break;
        prior = panel;
    }
    if (!prior) return 0;
    ShowPanel(prior);
    return 1;
}

// --- items ----------------------------------------------------------------------------------------------

CCFChildScreen::CCFChildScreen(const CCFPanelItem* item, CCFActionHandler* handler) : item_(item) {
    if (auto frames = item->CreateFrameIterator(); frames->IsValid()) {
        AddChild(std::make_unique<CCFFrameScreen>(frames->CurrentAs<CCFFrame>(), handler));
    } else if (auto buttons = item->CreateButtonIterator(); buttons->IsValid()) {
        AddChild(std::make_unique<CCFButtonScreen>(buttons->CurrentAs<CCFButton>(), handler));
    }
}

QRect CCFChildScreen::PreCreate(const QRect&) {
    return QRect(item_->x, item_->y, 0, 0);
}

namespace {

// A frame or button window takes its own size and gives it to its item window, which stays where it is.
QRect SizeSelfAndParent(QWidget* self, int width, int height) {
    if (QWidget* parent = self->parentWidget()) parent->resize(width, height);
    return QRect(0, 0, width, height);
}

}  // namespace

CCFFrameScreen::CCFFrameScreen(const CCFFrame* frame, CCFActionHandler* handler)
    : frame_(frame), bitmap_(CCFMakeBitmap(frame->image.get(), frame->colors.get())) {
    for (auto it = frame->CreateItemIterator(); it->IsValid(); it->Next()) {
        AddChild(std::make_unique<CCFChildScreen>(it->CurrentAs<CCFPanelItem>(), handler));
    }
}

QRect CCFFrameScreen::PreCreate(const QRect&) {
    return SizeSelfAndParent(this, frame_->width, frame_->height);
}

void CCFFrameScreen::paintEvent(QPaintEvent*) {
    if (!bitmap_) return;
    const CCFColorSet* colors = frame_->colors.get();
    const std::uint8_t fill = colors ? colors->c[1] : 0;
    const std::uint8_t text = colors ? colors->c[0] : 0;
    // Frames draw their caption in the default font: the code only says whether there is one.
    CCFPaintFace(this, bitmap_->Color(fill), *bitmap_, frame_->font != 0 ? &CCFDefaultFont() : nullptr,
                 bitmap_->Color(text), frame_->name);
}

CCFButtonScreen::CCFButtonScreen(const CCFButton* button, CCFActionHandler* handler)
    : button_(button), handler_(handler) {
    for (std::size_t state = 0; state < bitmaps_.size(); ++state) {
        bitmaps_[state] = CCFMakeBitmap(button->images[state].get(), button->colors[state].get());
    }
}

QRect CCFButtonScreen::PreCreate(const QRect&) {
    return SizeSelfAndParent(this, button_->width, button_->height);
}

void CCFButtonScreen::SetState(int state) {
    state_ = std::clamp(state, 0, 3);
    repaint();
}

void CCFButtonScreen::paintEvent(QPaintEvent*) {
    const CCFBitmap* bitmap = bitmaps_[std::size_t(state_)].get();
    if (!button_ || !bitmap) return;
    // The fill comes from state 0's colours in state 0's palette, whatever state is shown.
    const CCFColorSet* colors0 = button_->colors[0].get();
    const CCFBitmap* bitmap0 = bitmaps_[0].get();
    const QColor fill = bitmap0 ? bitmap0->Color(colors0 ? colors0->c[1] : 0) : QColor(Qt::black);
    const CCFColorSet* colors = button_->colors[std::size_t(state_)].get();
    const QColor text = bitmap->Color(colors ? colors->c[0] : 0);
    const QFont* font = nullptr;
    if (button_->font != 0) font = CCFCaptionFont(button_->font);
    if (button_->font != 0 && !font) font = &CCFDefaultFont();
    CCFPaintFace(this, fill, *bitmap, font, text, button_->name);
}

void CCFButtonScreen::PenDown() {
    SetState(kStatePressed);
    if (!button_->actions) return;
    // Copies: a jump may delete this window while the list runs.
    const CCFActionList* list = button_->actions.get();
    CCFActionHandler* handler = handler_;
    CCFDeferWindowDeletion defer;
    RunCCFActionList(list, handler);
}

void CCFButtonScreen::PenUp() {
    SetState(kStateNormal);
}

void CCFButtonScreen::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    PenDown();
    event->accept();
}

void CCFButtonScreen::mouseReleaseEvent(QMouseEvent* event) {
    PenUp();
    QWidget::mouseReleaseEvent(event);
}

void CCFPaintFace(QWidget* window, const QColor& fill, const CCFBitmap& bitmap, const QFont* font,
                  const QColor& textColor, const std::string& caption) {
    QPainter painter(window);
    const QRect face = window->rect();
    painter.fillRect(face, fill);
    // The image as it is, from its top left; where it is missing or smaller the fill shows.
    if (!bitmap.Image().isNull()) painter.drawImage(QPoint(0, 0), bitmap.Image());
    if (!font) return;
    painter.setFont(*font);
    painter.setPen(textColor);
    const std::u16string text = CCFWiden(caption);
    painter.drawText(face, Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromUtf16(text.data(), qsizetype(text.size())));
}
