// gen_btnlib OUTDIR: draws the button library into OUTDIR (the resource tree plus btnlib.qrc for rcc).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "tools/gen_btnlib/artwork.h"
#include "tools/host_file/host_file.h"

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    std::string error;
    if (!host_file::WriteAtomically(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), std::size_t(bytes.size())), error)) {
        std::fprintf(stderr, "gen_btnlib: %s\n", error.c_str());
        return false;
    }
    return true;
}

// A name list resource: the names as zero-terminated 8-bit strings, then an empty one.
QByteArray NameList(const std::vector<std::string>& names) {
    QByteArray out;
    for (const auto& name : names) out.append(name.c_str(), qsizetype(name.size() + 1));
    out.append('\0');
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_btnlib OUTDIR\n");
        return 2;
    }
    // Drawing text needs a GUI application, never a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"BITMAP", "POINTS", "STRINGS"}) {
        if (!out.mkpath(QString::fromLatin1(sub))) {
            std::fprintf(stderr, "gen_btnlib: cannot make %s/%s\n", argv[1], sub);
            return 1;
        }
    }
    QStringList files;
    auto put = [&](const QString& resource, const QByteArray& bytes) {
        files << resource;
        return WriteFile(out.filePath(resource), bytes);
    };

    bool ok = true;
    std::vector<std::string> shapeNames;
    for (const auto& shape : btnlib::Shapes()) {
        shapeNames.push_back(shape.name);
        const QString name = QString::fromStdString(shape.name);
        ok &= put(QStringLiteral("BITMAP/%1.bmp").arg(name), btnlib::EncodeBmp24(btnlib::DrawFace(shape, false)));
        ok &= put(QStringLiteral("BITMAP/FLAT_%1.bmp").arg(name), btnlib::EncodeBmp24(btnlib::DrawFace(shape, true)));
        const auto points = btnlib::LabelPoints(shape);
        ok &= put(QStringLiteral("POINTS/%1").arg(name),
                  QByteArray(reinterpret_cast<const char*>(points.data()), qsizetype(points.size())));
    }
    std::vector<std::string> labelNames;
    for (const auto& label : btnlib::DrawLabels()) {
        labelNames.push_back(label.key);
        const QString key = QString::fromStdString(label.key);
        ok &= put(QStringLiteral("BITMAP/%1.bmp").arg(key), btnlib::EncodeBmp24(label.picture));
        ok &= put(QStringLiteral("BITMAP/%1_MASK.bmp").arg(key), btnlib::EncodeBmp24(label.mask));
    }
    ok &= put(QStringLiteral("BITMAP/IDB_BTNFACE.bmp"), btnlib::EncodeBmp24(btnlib::DrawCaptionBox()));
    ok &= put(QStringLiteral("STRINGS/BTNLIST"), NameList(shapeNames));
    ok &= put(QStringLiteral("STRINGS/LABELLIST"), NameList(labelNames));

    QByteArray qrc = "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const auto& file : files) qrc += "  <file>" + file.toUtf8() + "</file>\n";
    qrc += "</qresource>\n</RCC>\n";
    ok &= WriteFile(out.filePath(QStringLiteral("btnlib.qrc")), qrc);
    return ok ? 0 : 1;
}
