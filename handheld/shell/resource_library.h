// Resource libraries: binary resource files (rcc -binary) that the program loads as data, looks up by type
// and name, and frees. Each loaded file is registered under a root of its own, so that no other resource
// file, nor the program's compiled-in resources, can shadow one of its names.
//
// Inside a library a resource of type T named N is the file /T/N; bitmaps are /BITMAP/N.bmp. Types and
// names are looked up in upper case, as the handheld's resource calls do.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace handheld {

class ResourceLibrary {
public:
    // A library from a handheld path; null when the file is missing or is not a well-formed resource file.
    static std::unique_ptr<ResourceLibrary> Load(std::u16string_view handheldPath);
    // Same from bytes already read (tools read host files); the reason says what is wrong on failure.
    static std::unique_ptr<ResourceLibrary> FromBytes(QByteArray bytes, std::string* reason = nullptr);
    ~ResourceLibrary();
    ResourceLibrary(const ResourceLibrary&) = delete;
    ResourceLibrary& operator=(const ResourceLibrary&) = delete;

    // The bytes of a resource, or nothing when the library has no such resource.
    std::optional<QByteArray> Find(std::u16string_view type, std::u16string_view name) const;
    // A bitmap as 24-bit colour; a null image when it is missing or cannot be decoded.
    QImage LoadBitmap(std::u16string_view name) const;

    struct Entry {
        std::u16string type;
        std::u16string name;  // without the ".bmp" of bitmaps
    };
    // Every resource, sorted by type and then name.
    const std::vector<Entry>& Entries() const { return entries_; }

    // Where the library is registered (":" + root gives Qt resource paths).
    const QString& Root() const { return root_; }

private:
    ResourceLibrary() = default;
    QByteArray bytes_;  // registered with Qt by address: must live until unregistered
    QString root_;
    std::vector<Entry> entries_;
};

// A library handle as the program's code passes it around (null when none is loaded).
using HMODULE = const ResourceLibrary*;

// Checks that bytes are a well-formed uncompressed binary resource file and lists its files (paths below
// the root, "/"-separated). Qt trusts every offset in such a file, so nothing is registered unchecked.
bool ValidateResourceFile(const QByteArray& bytes, std::vector<std::u16string>* files, std::string* reason);

}  // namespace handheld
