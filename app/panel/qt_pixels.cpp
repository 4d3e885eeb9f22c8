#include "app/panel/qt_pixels.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace {

// Tahoma-compatible fonts shipped by the host's font packages (Debian: fonts-wine).
constexpr const char* kCaptionFontFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};
constexpr int kCaptionFontPx = 12;

QString CaptionFamily() {
    static const QString family = [] {
        QString found;
        for (const char* file : kCaptionFontFiles) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
            if (found.isEmpty() && !families.isEmpty()) found = families.front();
        }
        return found.isEmpty() ? QStringLiteral("Tahoma") : found;
    }();
    return family;
}

}  // namespace

Bitmap24 BitmapFromImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    Bitmap24 bitmap(bgr.width(), bgr.height());
    for (int y = 0; y < bgr.height(); ++y) std::copy_n(bgr.constScanLine(y), 3 * bgr.width(), bitmap.Row(y));
    return bitmap;
}

QImage ImageOnBitmap(Bitmap24& bitmap) {
    if (bitmap.Empty()) return {};
    return QImage(bitmap.Bytes().data(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888);
}

QImage ImageOnBitmap(const Bitmap24& bitmap) {
    if (bitmap.Empty()) return {};
    return QImage(bitmap.Bytes().data(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888);
}

QFont CaptionFont() {
    QFont font(CaptionFamily());
    font.setPixelSize(kCaptionFontPx);
    font.setWeight(QFont::Bold);
    return font;
}

void CaptionTextPainter::DrawCaption(Bitmap24& target, const PixelRect& rect, std::u16string_view text) const {
    QImage image = ImageOnBitmap(target);
    if (image.isNull() || text.empty()) return;
    QPainter painter(&image);
    painter.setFont(CaptionFont());
    painter.setPen(Qt::black);
    painter.drawText(QRect(rect.x, rect.y, rect.width, rect.height),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromUtf16(text.data(), qsizetype(text.size())));
}

const Bitmap24* LibraryArtwork::Bitmap(std::u16string_view name) const {
    auto it = bitmaps_.find(name);
    if (it == bitmaps_.end()) {
        std::optional<Bitmap24> bitmap;
        if (library_ != nullptr) {
            const QImage image = library_->LoadBitmap(name);
            if (!image.isNull()) bitmap = BitmapFromImage(image);
        }
        it = bitmaps_.emplace(std::u16string(name), std::move(bitmap)).first;
    }
    return it->second ? &*it->second : nullptr;
}

std::optional<ButtonArtwork::LabelPoints> LibraryArtwork::Points(std::u16string_view shapeName) const {
    auto it = points_.find(shapeName);
    if (it == points_.end()) {
        std::optional<LabelPoints> points;
        if (library_ != nullptr) {
            const auto bytes = library_->Find(u"POINTS", shapeName);
            if (bytes && bytes->size() >= 4) {
                points = LabelPoints{};
                for (int i = 0; i < 4; ++i) (*points)[std::size_t(i)] = static_cast<std::int8_t>((*bytes)[i]);
            }
        }
        it = points_.emplace(std::u16string(shapeName), points).first;
    }
    return it->second;
}
