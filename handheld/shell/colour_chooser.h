// The handheld's colour chooser: basic colours, the run's 16 custom colours and red, green and blue values,
// shown full screen inside the handheld's screen. Colours are COLORREF values (0x00BBGGRR).
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "handheld/shell/handheld_dialog.h"
#include "handheld/types.h"

namespace handheld {

using COLORREF = std::uint32_t;
inline constexpr DWORD CC_RGBINIT = 0x1;
inline constexpr DWORD CC_FULLOPEN = 0x2;

struct CHOOSECOLOR {
    HWND owner = nullptr;
    COLORREF rgbResult = 0;            // in: the colour shown first (with CC_RGBINIT); out: the chosen one
    COLORREF* customColors = nullptr;  // 16 entries, changed by "Add to custom colors"
    DWORD flags = 0;
};
// True when the user confirmed a colour.
BOOL ChooseColorW(CHOOSECOLOR* request);

// One custom-colour table kept for the whole run, for choosers of every dialog.
std::array<COLORREF, 16>& RunCustomColors();

inline QColor ColorOf(COLORREF c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline COLORREF ColorRefOf(const QColor& c) {
    return static_cast<COLORREF>(c.red()) | (static_cast<COLORREF>(c.green()) << 8) |
           (static_cast<COLORREF>(c.blue()) << 16);
}

// A grid of colour cells; a tap selects a cell.
class SwatchGrid : public QWidget {
    Q_OBJECT
public:
    SwatchGrid(int columns, int rows, QWidget* parent);
    void SetColors(const COLORREF* colors, int count);
    COLORREF ColorAt(int index) const { return colors_.at(static_cast<std::size_t>(index)); }
    int Selected() const { return selected_; }
    void Select(int index);

signals:
    void Chosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect CellRect(int index) const;
    int columns_;
    int rows_;
    std::vector<COLORREF> colors_;
    int selected_ = -1;
};

class ColorChooserDialog : public HandheldDialog {
    Q_OBJECT
public:
    enum ControlId : int {
        kOk = 1,
        kCancel = 2,
        kRed = 706,
        kGreen = 707,
        kBlue = 708,
        kSample = 709,
        kAddCustom = 712,
        kBasicColors = 720,
        kCustomColors = 721,
    };
    ColorChooserDialog(QWidget* owner, COLORREF initial, COLORREF* customColors);

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    void AddToCustomColors();

private:
    void ValuesEdited();
    COLORREF color_ = 0;
    COLORREF* customColors_;
    int nextCustom_ = 0;
    bool updating_ = false;
};

}  // namespace handheld
