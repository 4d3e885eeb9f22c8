// The program's first screen until the remote panel takes its place: the standard receiver, player and
// function panels drawn from the button library in their table colours, keys that press under the stylus.
#pragma once

#include <QImage>
#include <QWidget>
#include <span>

#include "app/model/device_templates.h"
#include "handheld/shell/resource_library.h"
#include "handheld/shell/screen.h"

class LibraryPreview : public QWidget {
    Q_OBJECT
public:
    LibraryPreview(handheld::HMODULE library, handheld::HandheldScreen* screen);

    // Composes one page in portrait: every row's face shaded in its colour over the background, its label,
    // and the caption box of the function keys; the key at pressedRow (or none, -1) drawn pressed.
    static QImage ComposePage(handheld::HMODULE library, std::span<const TemplateRow> rows, int pressedRow);
    // The topmost row whose face covers the portrait point, or -1.
    static int HitRow(handheld::HMODULE library, std::span<const TemplateRow> rows, QPoint portrait);

    int Page() const { return page_; }
    void ShowPage(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Fit();
    std::span<const TemplateRow> Rows() const;
    QPoint ToPortrait(QPoint screenPoint) const;

    handheld::HMODULE library_;
    handheld::HandheldScreen* screen_;
    int page_ = 0;
    int pressedRow_ = -1;
};
