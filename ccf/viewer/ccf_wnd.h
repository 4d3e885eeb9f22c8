// The viewer's window tree: the device, its panel, and one window per frame and button, each at the place the
// file gives. Objects are built first (a whole subtree at once); their windows come into being with the
// window of their root, children from the last listed to the first.
#pragma once

// The model before Qt: a model field is named like one of Qt's keyword macros.
#include "ccf/model/ccf_action.h"
#include "ccf/model/ccf_model.h"
// Then Qt.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "ccf/viewer/ccf_bitmap_qt.h"

class CCFWnd : public QWidget {
    Q_OBJECT
public:
    CCFWnd();
    ~CCFWnd() override;  // deletes the listed children

    // Creates this window as a visible child of parent at rect (after the class's size hook), then the
    // windows of every listed child, last to first.
    bool CreateWnd(QWidget* parent, const QRect& rect);
    // Destroys the windows of every listed child, last to first, then this one's. The objects stay.
    void DestroyWnd();
    bool HasWnd() const { return hasWnd_; }

    // Appends a child; when this window exists the child's window is created first.
    void AddChild(std::unique_ptr<CCFWnd> child);
    const std::vector<CCFWnd*>& ChildList() const { return children_; }

    virtual bool CreateChild(CCFWnd* child);
    virtual void DestroyChild(CCFWnd* child);
    virtual bool DeleteChild(CCFWnd* child);
    virtual void DestroyChildren();

protected:
    // The class's pre-creation hook: the rectangle the window really gets.
    virtual QRect PreCreate(const QRect& rect) { return rect; }
    void paintEvent(QPaintEvent* event) override;
    // Takes a child out of the list without deleting it.
    void Unlist(CCFWnd* child);

private:
    std::vector<CCFWnd*> children_;  // owned
    bool hasWnd_ = false;
};

// While one of these lives on the thread, deleted windows are hidden at once and freed only when control is
// back in the event loop: an action list that jumps deletes the window of the button whose pen-down handler
// is still running it.
class CCFDeferWindowDeletion {
public:
    CCFDeferWindowDeletion();
    ~CCFDeferWindowDeletion();
    CCFDeferWindowDeletion(const CCFDeferWindowDeletion&) = delete;
    CCFDeferWindowDeletion& operator=(const CCFDeferWindowDeletion&) = delete;
    static bool Active();
};
// Frees windows whose deletion was deferred (tools and tests that run no event loop call it).
void CCFFlushDeferredWindows();

class CCFPanelScreen : public CCFWnd {
    Q_OBJECT
public:
    CCFPanelScreen(const CCFPanel* panel, CCFActionHandler* handler);
    const CCFPanel* Panel() const { return panel_; }

protected:
    QRect PreCreate(const QRect& rect) override;

private:
    const CCFPanel* panel_;
};

class CCFDeviceScreen : public CCFWnd {
    Q_OBJECT
public:
    // panelOffset 0: the device's first panel; else the panel whose record is there (none if no such panel).
    CCFDeviceScreen(const CCFDevice* device, CCFActionHandler* handler, std::uint32_t panelOffset);
    const CCFDevice* Device() const { return device_; }
    const CCFPanel* CurrentPanel() const { return panel_; }
    CCFPanelScreen* PanelWindow() const;
    // 1 if the panel after the current one is shown; 0 at the last panel or with none (nothing changes).
    int NextPanel();
    // 1 if the panel before the current one is shown (the first panel shows itself again); 0 with no panel.
    int PriorPanel();

protected:
    QRect PreCreate(const QRect& rect) override;

private:
    void ShowPanel(const CCFPanel* panel);
    const CCFDevice* device_;
    CCFActionHandler* handler_;
    const CCFPanel* panel_ = nullptr;
};

class CCFChildScreen : public CCFWnd {
    Q_OBJECT
public:
    CCFChildScreen(const CCFPanelItem* item, CCFActionHandler* handler);
    const CCFPanelItem* Item() const { return item_; }

protected:
    QRect PreCreate(const QRect& rect) override;

private:
    const CCFPanelItem* item_;
};

class CCFFrameScreen : public CCFWnd {
    Q_OBJECT
public:
    CCFFrameScreen(const CCFFrame* frame, CCFActionHandler* handler);
    const CCFFrame* Frame() const { return frame_; }
    const CCFBitmap* Bitmap() const { return bitmap_.get(); }

protected:
    QRect PreCreate(const QRect& rect) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const CCFFrame* frame_;
    std::unique_ptr<CCFBitmap> bitmap_;
};

class CCFButtonScreen : public CCFWnd {
    Q_OBJECT
public:
    static constexpr int kStateNormal = 2;
    static constexpr int kStatePressed = 3;

    CCFButtonScreen(const CCFButton* button, CCFActionHandler* handler);
    const CCFButton* Button() const { return button_; }
    int State() const { return state_; }
    // Sets the state and repaints at once (the pressed look of a render, without running the list).
    void SetState(int state);
    const CCFBitmap* Bitmap(int state) const { return bitmaps_[std::size_t(state)].get(); }

    // The stylus: the pressed look is painted before the list runs, and the list runs to its end before
    // this returns. Nothing of this window is touched once the list has run: a jump may have deleted it.
    void PenDown();
    void PenUp();

protected:
    QRect PreCreate(const QRect& rect) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int state_ = kStateNormal;
    const CCFButton* button_;
    CCFActionHandler* handler_;
    std::array<std::unique_ptr<CCFBitmap>, 4> bitmaps_;
};

// Fills rect with the fill colour, copies the bitmap's pixels over it from the top left, and draws the caption
// centred on one line in font (none: no caption) and textColor. Shared by frames and buttons.
void CCFPaintFace(QWidget* window, const QColor& fill, const CCFBitmap& bitmap, const QFont* font,
                  const QColor& textColor, const std::string& caption);
