// The small picture controls of the main window's frame: light objects that the main window draws in its
// paint handler and hit-tests in its stylus handler. Each has a portrait and a landscape placement with a
// bitmap of its own; the bitmaps are the program's, loaded by number when the widget is made or reset.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

class QPainter;
class QWidget;

// One of the program's bitmaps by its number; a null image when the program has none of that number.
QImage LoadProgramBitmap(int number);

// Where a widget stands in one orientation, and what it shows there.
struct WidgetPlacement {
    int bitmap = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class BitmapWidget {
public:
    // Orientation values as the screen reports them: 1 portrait, anything else landscape.
    BitmapWidget(QString id, int orientation, WidgetPlacement portrait, WidgetPlacement landscape);
    virtual ~BitmapWidget() = default;
    BitmapWidget(const BitmapWidget&) = delete;
    BitmapWidget& operator=(const BitmapWidget&) = delete;

    virtual void Reset(int orientation, WidgetPlacement portrait, WidgetPlacement landscape);
    virtual const QImage& CurrentBitmap() const;
    // The current bitmap at the current placement, a plain copy clipped to the placement.
    virtual void Draw(QPainter& dc) const;
    virtual const QImage& PortraitBitmap() const { return portraitBitmap_; }
    virtual const QImage& LandscapeBitmap() const { return landscapeBitmap_; }
    virtual const char* ClassName() const { return "BitmapWidget"; }
    // Every bitmap number the widget shows, normal ones first.
    virtual std::vector<int> BitmapNumbers() const;

    void SetOrientation(int orientation) { orientation_ = orientation; }
    int Orientation() const { return orientation_; }
    bool IsPortrait() const { return orientation_ == 1; }
    int X() const { return Current().x; }
    int Y() const { return Current().y; }
    int Width() const { return Current().width; }
    int Height() const { return Current().height; }
    QRect Rect() const { return QRect(X(), Y(), Width(), Height()); }
    // Strictly inside the current rectangle: a tap on an edge is not a hit.
    bool HitTest(int px, int py) const;
    // The identifier by which tests and tools find the widget.
    const QString& Id() const { return id_; }

protected:
    const WidgetPlacement& Current() const { return IsPortrait() ? portrait_ : landscape_; }

private:
    QString id_;
    int orientation_;
    QImage portraitBitmap_;
    WidgetPlacement portrait_;
    QImage landscapeBitmap_;
    WidgetPlacement landscape_;
};

class PushWidget : public BitmapWidget {
public:
    PushWidget(QString id, QWidget* window, int orientation, WidgetPlacement portrait, int pressedPortrait,
               WidgetPlacement landscape, int pressedLandscape);

    const QImage& PortraitBitmap() const override;
    const QImage& LandscapeBitmap() const override;
    virtual void Press();
    virtual void Release();
    virtual const QImage& PressedPortraitBitmap() const { return pressedPortrait_; }
    virtual const QImage& PressedLandscapeBitmap() const { return pressedLandscape_; }
    const char* ClassName() const override { return "PushWidget"; }
    std::vector<int> BitmapNumbers() const override;

    bool Pressed() const { return pressed_; }

protected:
    // Asks the window to repaint the widget's current rectangle.
    void Repaint() const;
    QWidget* Window() const { return window_; }

private:
    QWidget* window_;
    bool pressed_ = false;
    int pressedPortraitNumber_;
    int pressedLandscapeNumber_;
    QImage pressedPortrait_;
    QImage pressedLandscape_;
};

// Bitmap numbers of a toggle's on state: normal and pressed, portrait and landscape.
struct ToggleOnBitmaps {
    int portrait = 0;
    int landscape = 0;
    int pressedPortrait = 0;
    int pressedLandscape = 0;
};

class ToggleWidget : public PushWidget {
public:
    ToggleWidget(QString id, QWidget* window, int orientation, WidgetPlacement portrait, int pressedPortrait,
                 WidgetPlacement landscape, int pressedLandscape, ToggleOnBitmaps on);

    const QImage& PortraitBitmap() const override;
    const QImage& LandscapeBitmap() const override;
    void Press() override;
    // Flips the state when a press came first.
    void Release() override;
    const QImage& PressedPortraitBitmap() const override;
    const QImage& PressedLandscapeBitmap() const override;
    const char* ClassName() const override { return "ToggleWidget"; }
    std::vector<int> BitmapNumbers() const override;

    int On() const { return on_; }
    void SetOn(bool on) { on_ = on ? 1 : 0; }

private:
    int on_ = 0;
    bool pending_ = false;
    ToggleOnBitmaps onNumbers_;
    QImage onPortrait_;
    QImage onLandscape_;
    QImage onPressedPortrait_;
    QImage onPressedLandscape_;
};

class TextWidget : public BitmapWidget {
public:
    static constexpr std::size_t kMaxTextChars = 259;

    TextWidget(QString id, QWidget* window, int orientation, WidgetPlacement portrait, WidgetPlacement landscape);

    // The bitmap, then the text in the painter's font and pen: centred on one line in portrait; in landscape
    // drawn into a white buffer of the widget's portrait shape and turned counter-clockwise onto it.
    void Draw(QPainter& dc) const override;
    const char* ClassName() const override { return "TextWidget"; }
    // Keeps the text cut to kMaxTextChars; repaints only when it changed.
    void SetText(std::u16string_view text);
    const std::u16string& Text() const { return text_; }

private:
    QWidget* window_;
    std::u16string text_;
};
