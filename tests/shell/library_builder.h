// Builds small resource libraries for tests with the same rcc the build uses.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <map>

namespace shell_test {

// Resource path below the root ("BITMAP/X.bmp", "POINTS/X", ...) -> bytes. compress: let rcc compress.
QByteArray BuildLibrary(const std::map<QString, QByteArray>& files, bool compress = false);

QByteArray BmpBytes(const QImage& image);
// A name list resource from names: each zero-terminated, then an empty one.
QByteArray NameListBytes(std::initializer_list<const char*> names);

// Writes a test's file through the tools' host-file writer; a failure fails the test.
void WriteHostFile(const QString& path, const QByteArray& bytes);

// The library the build made, read whole.
QByteArray BuiltButtonLibrary();

}  // namespace shell_test
