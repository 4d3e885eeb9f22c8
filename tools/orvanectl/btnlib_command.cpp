// orvanectl btnlib: what a button library holds, what the program needs of it, and a contact sheet of its
// pictures, for people who make their own skins. FILE is a host path, or a handheld path when it starts
// with a backslash.
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/model/device_templates.h"
#include "app/shell/name_list.h"
#include "handheld/shell/resource_library.h"
#include "handheld/text.h"
#include "tools/host_file/host_file.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {
namespace {

using handheld::ResourceLibrary;
using Entry = ResourceLibrary::Entry;

constexpr std::string_view kUsage = "btnlib show FILE [--check] [--json] | btnlib sheet FILE --out SHEET.png";
constexpr std::u16string_view kFlatPrefix = u"FLAT_";
constexpr std::u16string_view kMaskSuffix = u"_MASK";

std::unique_ptr<ResourceLibrary> OpenLibrary(const std::string& argument) {
    if (!argument.empty() && argument.front() == '\\') {
        auto library = ResourceLibrary::Load(handheld::FromUtf8(argument));
        if (!library) std::fprintf(stderr, "orvanectl: cannot load %s as a button library\n", argument.c_str());
        return library;
    }
    QFile file(QString::fromLocal8Bit(argument.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", argument.c_str());
        return nullptr;
    }
    std::string reason;
    auto library = ResourceLibrary::FromBytes(file.readAll(), &reason);
    if (!library) std::fprintf(stderr, "orvanectl: %s is not a button library: %s\n", argument.c_str(), reason.c_str());
    return library;
}

std::vector<std::u16string> NameListOf(const ResourceLibrary& library, std::u16string_view listName) {
    const auto bytes = library.Find(u"STRINGS", listName);
    if (!bytes) return {};
    return ParseNameList(reinterpret_cast<const std::uint8_t*>(bytes->constData()), std::size_t(bytes->size()));
}

// Everything the program looks up in the library: the device tables' skins and labels and those of the
// library's own lists, each face also flat, each shape's POINTS, each label's mask, the caption box, the lists.
std::vector<Entry> Requirements(const ResourceLibrary& library) {
    std::set<std::u16string> skins, labels;
    for (const auto table : {STANDARD_RECEIVER, STANDARD_PLAYER, STANDARD_FUNCTION_PANEL}) {
        for (const auto& row : table) {
            if (row.skin && *row.skin) skins.insert(row.skin);
            if (row.label && *row.label) labels.insert(row.label);
        }
    }
    for (auto& name : NameListOf(library, u"BTNLIST")) skins.insert(std::move(name));
    for (auto& name : NameListOf(library, u"LABELLIST")) labels.insert(std::move(name));

    std::set<std::pair<std::u16string, std::u16string>> needed;
    for (const auto& skin : skins) {
        const std::u16string shape = skin.starts_with(kFlatPrefix) ? skin.substr(kFlatPrefix.size()) : skin;
        needed.insert({u"BITMAP", shape});
        needed.insert({u"BITMAP", std::u16string(kFlatPrefix) + shape});
        needed.insert({u"POINTS", shape});
    }
    for (const auto& label : labels) {
        needed.insert({u"BITMAP", label});
        needed.insert({u"BITMAP", label + std::u16string(kMaskSuffix)});
    }
    needed.insert({u"BITMAP", u"IDB_BTNFACE"});
    needed.insert({u"STRINGS", u"BTNLIST"});
    needed.insert({u"STRINGS", u"LABELLIST"});
    std::vector<Entry> result;
    for (const auto& [type, name] : needed) result.push_back({type, name});
    return result;
}

std::vector<Entry> Missing(const ResourceLibrary& library) {
    std::vector<Entry> missing;
    for (auto& entry : Requirements(library)) {
        // A name the library holds under another case is found too, as the program's look-ups ignore case.
        if (!library.Find(entry.type, entry.name)) missing.push_back(std::move(entry));
    }
    return missing;
}

int Show(const ResourceLibrary& library, bool check, bool json) {
    const std::vector<Entry> missing = check ? Missing(library) : std::vector<Entry>{};
    if (json) {
        JsonWriter out;
        out.BeginObject().Key("resources").BeginArray();
        for (const auto& entry : library.Entries()) {
            out.BeginObject().Field("type", entry.type).Field("name", entry.name);
            const auto bytes = library.Find(entry.type, entry.name);
            if (entry.type == u"BITMAP") {
                const QImage image = library.LoadBitmap(entry.name);
                if (image.isNull()) {
                    out.Field("error", "not a readable bitmap");
                } else {
                    out.Field("width", image.width()).Field("height", image.height());
                }
            } else if (entry.type == u"POINTS" && bytes) {
                out.Key("bytes").BeginArray();
                for (const char b : *bytes) out.Number(std::int64_t(static_cast<signed char>(b)));
                out.EndArray();
            } else if (entry.type == u"STRINGS") {
                out.Key("names").BeginArray();
                for (const auto& name : NameListOf(library, entry.name)) out.String(name);
                out.EndArray();
            } else if (bytes) {
                out.Field("size", bytes->size());
            }
            out.EndObject();
        }
        out.EndArray();
        if (check) {
            out.Key("missing").BeginArray();
            for (const auto& entry : missing)
                out.BeginObject().Field("type", entry.type).Field("name", entry.name).EndObject();
            out.EndArray();
        }
        out.EndObject();
        std::printf("%s\n", out.Text().c_str());
    } else {
        for (const auto& entry : library.Entries()) {
            std::printf("%-8s %-20s", handheld::ToUtf8(entry.type).c_str(), handheld::ToUtf8(entry.name).c_str());
            if (entry.type == u"BITMAP") {
                const QImage image = library.LoadBitmap(entry.name);
                if (image.isNull())
                    std::printf(" not a readable bitmap");
                else
                    std::printf(" %d x %d", image.width(), image.height());
            } else if (entry.type == u"POINTS") {
                const auto bytes = library.Find(entry.type, entry.name);
                for (const char b : bytes.value_or(QByteArray())) std::printf(" %d", int(static_cast<signed char>(b)));
            } else if (entry.type == u"STRINGS") {
                const auto names = NameListOf(library, entry.name);
                std::printf(" %zu names:", names.size());
                for (const auto& name : names) std::printf(" %s", handheld::ToUtf8(name).c_str());
            }
            std::printf("\n");
        }
        for (const auto& entry : missing) {
            std::printf("missing: %s %s\n", handheld::ToUtf8(entry.type).c_str(), handheld::ToUtf8(entry.name).c_str());
        }
        if (check && missing.empty()) std::printf("complete: the program finds everything it needs\n");
    }
    return missing.empty() ? 0 : 1;
}

// One channel of a face bitmap as grey.
QImage Channel(const QImage& face, int channel) {
    QImage out(face.size(), QImage::Format_RGB888);
    for (int y = 0; y < face.height(); ++y) {
        const uchar* in = face.constScanLine(y);
        uchar* row = out.scanLine(y);
        for (int x = 0; x < face.width(); ++x) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = in[3 * x + channel];
    }
    return out;
}

// The label as the program draws it on a key: the mask ANDed onto the key, then the picture XORed.
QImage LabelOnKey(const QImage& label, const QImage& mask, QColor key) {
    QImage out(label.size(), QImage::Format_RGB888);
    out.fill(key);
    if (mask.size() != label.size()) return out;
    for (int y = 0; y < out.height(); ++y) {
        uchar* row = out.scanLine(y);
        const uchar* m = mask.constScanLine(y);
        const uchar* l = label.constScanLine(y);
        for (int i = 0; i < out.width() * 3; ++i) row[i] = uchar((row[i] & m[i]) ^ l[i]);
    }
    return out;
}

struct Tile {
    QString caption;
    std::vector<QImage> pictures;
};

int Sheet(const ResourceLibrary& library, const std::string& outPath) {
    if (QCoreApplication::instance() == nullptr) {
        // Captions need fonts, which need a GUI application; never a display.
        static int argc = 1;
        static char name[] = "orvanectl";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        new QGuiApplication(argc, argv);
    }
    std::vector<Tile> faces, labels, others;
    for (const auto& entry : library.Entries()) {
        if (entry.type != u"BITMAP") continue;
        const QString name = QString::fromStdU16String(entry.name);
        const QImage image = library.LoadBitmap(entry.name);
        if (image.isNull()) continue;
        if (entry.name.ends_with(kMaskSuffix)) continue;  // shown with its label
        if (library.Find(u"POINTS",
                         entry.name.starts_with(kFlatPrefix) ? entry.name.substr(kFlatPrefix.size()) : entry.name)) {
            faces.push_back({name, {Channel(image, 2), Channel(image, 0), Channel(image, 1)}});
        } else if (const QImage mask = library.LoadBitmap(entry.name + std::u16string(kMaskSuffix)); !mask.isNull()) {
            labels.push_back({name,
                              {mask, image, LabelOnKey(image, mask, QColor(100, 50, 255)),
                               LabelOnKey(image, mask, QColor(255, 200, 10))}});
        } else {
            others.push_back({name, {image}});
        }
    }

    constexpr int kSheetWidth = 960;
    constexpr int kGap = 8;
    constexpr int kCaptionPx = 14;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    const QFont heading = [&] {
        QFont f = font;
        f.setPixelSize(14);
        f.setBold(true);
        return f;
    }();

    // Lay out first to know the height, then draw.
    struct Placed {
        const Tile* tile;
        QPoint at;
    };
    std::vector<Placed> placed;
    std::vector<std::pair<QString, int>> headings;
    int y = kGap;
    auto layout = [&](const std::vector<Tile>& tiles, const QString& title) {
        if (tiles.empty()) return;
        headings.push_back({title, y});
        y += 20;
        int x = kGap, rowHeight = 0;
        for (const auto& tile : tiles) {
            int w = 0, h = 0;
            for (const auto& p : tile.pictures) {
                w += p.width() + 3;
                h = std::max(h, p.height());
            }
            w = std::max(w, QFontMetrics(font).horizontalAdvance(tile.caption) + 2);
            if (x + w > kSheetWidth - kGap && x > kGap) {
                x = kGap;
                y += rowHeight + kCaptionPx + kGap;
                rowHeight = 0;
            }
            placed.push_back({&tile, QPoint(x, y)});
            x += w + 2 * kGap;
            rowHeight = std::max(rowHeight, h);
        }
        y += rowHeight + kCaptionPx + 2 * kGap;
    };
    layout(faces, QStringLiteral("Faces: coverage, normal shading, pressed shading"));
    layout(labels, QStringLiteral("Labels: mask, picture, on a blue key, on a yellow key"));
    layout(others, QStringLiteral("Other bitmaps"));

    QImage sheet(kSheetWidth, std::max(y, 1), QImage::Format_RGB888);
    sheet.fill(QColor(200, 200, 200));
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    for (const auto& [title, top] : headings) {
        painter.setFont(heading);
        painter.drawText(kGap, top + 14, title);
    }
    painter.setFont(font);
    for (const auto& [tile, at] : placed) {
        int x = at.x(), h = 0;
        for (const auto& p : tile->pictures) {
            painter.drawImage(x, at.y(), p);
            x += p.width() + 3;
            h = std::max(h, p.height());
        }
        painter.drawText(at.x(), at.y() + h + 11, tile->caption);
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    std::string error;
    if (!sheet.save(&buffer, "PNG")) {
        std::fprintf(stderr, "orvanectl: cannot encode the sheet for %s\n", outPath.c_str());
        return 1;
    }
    if (!host_file::WriteAtomically(outPath, std::string_view(png.constData(), std::size_t(png.size())), error)) {
        std::fprintf(stderr, "orvanectl: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int RunBtnlib(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool json = HasFlag(args, "--json");
    const bool check = HasFlag(args, "--check");
    std::string out;
    const bool hasOut = TakeOption(args, "--out", out);
    if (args.size() != 2) return UsageError(kUsage);
    if (args[0] == "show" && !hasOut) {
        auto library = OpenLibrary(args[1]);
        return library ? Show(*library, check, json) : 1;
    }
    if (args[0] == "sheet" && hasOut && !check && !json) {
        auto library = OpenLibrary(args[1]);
        return library ? Sheet(*library, out) : 1;
    }
    return UsageError(kUsage);
}

const OrvaneCommand kBtnlibCommand("btnlib", kUsage, RunBtnlib);

}  // namespace
}  // namespace orvanectl
