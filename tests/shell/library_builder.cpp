#include "tests/shell/library_builder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>

#include "tools/host_file/host_file.h"

namespace shell_test {

void WriteHostFile(const QString& path, const QByteArray& bytes) {
    std::string error;
    EXPECT_TRUE(host_file::WriteAtomically(QFile::encodeName(path).toStdString(),
                                           std::string_view(bytes.constData(), std::size_t(bytes.size())), error))
        << error;
}

QByteArray BuildLibrary(const std::map<QString, QByteArray>& files, bool compress) {
    QTemporaryDir dir;
    QByteArray qrc = "<RCC><qresource prefix=\"/\">";
    for (const auto& [path, bytes] : files) {
        WriteHostFile(dir.filePath(path), bytes);
        qrc += "<file>" + path.toUtf8() + "</file>";
    }
    qrc += "</qresource></RCC>";
    WriteHostFile(dir.filePath("lib.qrc"), qrc);

    const QString rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/rcc";
    QStringList args{"-binary", dir.filePath("lib.qrc"), "-o", dir.filePath("lib.rcc")};
    args << (compress ? QStringList{"-compress-algo", "zlib", "-threshold", "0"} : QStringList{"-no-compress"});
    QProcess process;
    process.start(rcc, args);
    EXPECT_TRUE(process.waitForFinished(30000)) << rcc.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile out(dir.filePath("lib.rcc"));
    EXPECT_TRUE(out.open(QIODevice::ReadOnly));
    return out.readAll();
}

QByteArray BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

QByteArray NameListBytes(std::initializer_list<const char*> names) {
    QByteArray bytes;
    for (const char* name : names) bytes.append(name, qsizetype(std::strlen(name) + 1));
    bytes.append('\0');
    return bytes;
}

QByteArray BuiltButtonLibrary() {
    QFile file(QStringLiteral(ORVANE_PACKAGE_DIR "/KRBtnLib.dll"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "the build makes " ORVANE_PACKAGE_DIR "/KRBtnLib.dll";
    return file.readAll();
}

}  // namespace shell_test
