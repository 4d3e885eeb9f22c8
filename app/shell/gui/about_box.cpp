#include "app/shell/gui/about_box.h"

#include <QLabel>
#include <QTextBrowser>

#include "app/panel/bitmap_widgets.h"
#include "app/shell/language_table.h"
#include "handheld/files.h"
#include "handheld/shell/handheld_dialog.h"

namespace {

constexpr int kPictureIds[] = {149, 150, 152};
constexpr int kNameId = 1001;
constexpr int kVersionId = 1002;
constexpr int kHelpId = 1003;

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

QByteArray ReadFileBytes(const std::u16string& path) {
    using namespace handheld;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    QByteArray bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, qsizetype(read));
    CloseHandle(file);
    return bytes;
}

// The help page's bytes: the program folder's copy, else the one the installer put in \Windows; empty when
// neither can be read.
QByteArray ReadHelpPage() {
    const QByteArray own = ReadFileBytes(GetProgramFolder() + u"\\Orvane.htm");
    return own.isEmpty() ? ReadFileBytes(u"\\Windows\\Orvane.htm") : own;
}

}  // namespace

void ShowAboutBox(QWidget* owner) {
    handheld::HandheldDialog box(owner, 0, Q(u"ABOUT_DLG_TITLE", u"About Zanth Remote"));
    box.setObjectName(QStringLiteral("AboutBox"));
    std::vector<handheld::ControlPlacement> placements;
    int y = 35;
    for (int id : kPictureIds) {
        auto* picture = new QLabel(&box);
        picture->setObjectName(QString::number(id));
        const QImage image = LoadProgramBitmap(id);
        picture->setPixmap(QPixmap::fromImage(image));
        const QSize size = image.isNull() ? QSize(0, 0) : image.size();
        placements.push_back({id, QRect(QPoint((240 - size.width()) / 2, y), size),
                              QRect(QPoint((320 - size.width()) / 2, y - 5), size)});
        y += size.height() + 8;
    }
    auto* name = new QLabel(Q(u"SHORT_APP_NAME", u"Remote"), &box);
    name->setObjectName(QString::number(kNameId));
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("v 3.5.1"), &box);
    version->setObjectName(QString::number(kVersionId));
    version->setAlignment(Qt::AlignCenter);
    placements.push_back({kNameId, QRect(0, y, 240, 20), QRect(0, std::min(y, 190), 320, 20)});
    placements.push_back({kVersionId, QRect(0, y + 20, 240, 20), QRect(0, std::min(y, 190) + 20, 320, 20)});
    box.AddPlacements(placements);
    box.Run();
}

void ShowHelp(QWidget* owner) {
    handheld::HandheldDialog viewer(owner, 0, QStringLiteral("Help"));
    viewer.setObjectName(QStringLiteral("HelpViewer"));
    auto* page = new QTextBrowser(&viewer);
    page->setObjectName(QString::number(kHelpId));
    page->setOpenLinks(false);
    page->setHtml(QString::fromUtf8(ReadHelpPage()));
    const handheld::ControlPlacement placement{kHelpId, QRect(0, 26, 240, 294), QRect(0, 26, 320, 214)};
    viewer.AddPlacements({&placement, 1});
    viewer.Run();
}
