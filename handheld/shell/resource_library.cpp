#include "handheld/shell/resource_library.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <tuple>

#include "handheld/files.h"
#include "handheld/owners.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

// Layout of a binary resource file: "qres", version, then the offsets of the tree, the data and the names
// (and from version 3 a flags word). Tree nodes are fixed-size records; names are a 16-bit length, a
// 32-bit hash and UTF-16BE characters; data is a 32-bit length and the bytes.
constexpr int kHeaderV1Bytes = 20;
constexpr int kHeaderV3Bytes = 24;
constexpr quint16 kFlagCompressed = 0x01;
constexpr quint16 kFlagDirectory = 0x02;
constexpr quint16 kFlagCompressedZstd = 0x04;
constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxNodes = 1'000'000;  // a crafted tree could otherwise visit nodes forever

class ResourceFileReader {
public:
    ResourceFileReader(const QByteArray& bytes, std::vector<std::u16string>* files, std::string* reason)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())),
          size_(std::size_t(bytes.size())),
          files_(files),
          reason_(reason) {}

    bool Read() {
        if (size_ < kHeaderV1Bytes || std::memcmp(data_, "qres", 4) != 0) return Fail("not a binary resource file");
        const quint32 version = U32(4);
        if (version < 1 || version > 3) return Fail("unknown resource file version " + std::to_string(version));
        if (version >= 3 && size_ < kHeaderV3Bytes) return Fail("header cut short");
        tree_ = U32(8);
        payload_ = U32(12);
        names_ = U32(16);
        nodeBytes_ = version >= 2 ? 22 : 14;
        if (!NodeInRange(0)) return Fail("tree outside the file");
        if (!(U16(tree_ + 4) & kFlagDirectory)) return Fail("the root is not a folder");
        return Walk(0, u"", 0);
    }

private:
    bool Fail(std::string why) {
        if (reason_) *reason_ = std::move(why);
        return false;
    }
    quint16 U16(std::size_t at) const { return qFromBigEndian<quint16>(data_ + at); }
    quint32 U32(std::size_t at) const { return qFromBigEndian<quint32>(data_ + at); }
    bool InRange(std::size_t at, std::size_t length) const { return at <= size_ && length <= size_ - at; }
    bool NodeInRange(std::size_t node) const {
        return node < size_ && InRange(std::size_t(tree_) + node * nodeBytes_, nodeBytes_);
    }

    bool Name(std::size_t node, std::u16string& name) {
        const std::size_t at = std::size_t(names_) + U32(tree_ + node * nodeBytes_);
        if (!InRange(at, 6)) return false;
        const std::size_t length = U16(at);
        if (!InRange(at + 6, length * 2)) return false;
        name.resize(length);
        for (std::size_t i = 0; i < length; ++i) name[i] = char16_t(U16(at + 6 + 2 * i));
        return true;
    }

    bool Walk(std::size_t node, const std::u16string& path, int depth) {
        if (++visited_ > kMaxNodes || depth > kMaxDepth) return Fail("resource tree too deep or looping");
        const std::size_t at = std::size_t(tree_) + node * nodeBytes_;
        const quint16 flags = U16(at + 4);
        if (flags & kFlagDirectory) {
            const quint32 count = U32(at + 6);
            const quint32 first = U32(at + 10);
            if (count > 0 && (count > size_ / nodeBytes_ || !NodeInRange(std::size_t(first) + count - 1)))
                return Fail("folder entries outside the file");
            for (quint32 i = 0; i < count; ++i) {
                const std::size_t child = std::size_t(first) + i;
                std::u16string name;
                if (!Name(child, name)) return Fail("name outside the file");
                if (!Walk(child, path + u"/" + name, depth + 1)) return false;
            }
            return true;
        }
        if (flags & (kFlagCompressed | kFlagCompressedZstd))
            return Fail("compressed resource (build the library with rcc -binary -no-compress)");
        const std::size_t dataAt = std::size_t(payload_) + U32(at + 10);
        if (!InRange(dataAt, 4) || !InRange(dataAt + 4, U32(dataAt))) return Fail("resource data outside the file");
        if (files_) files_->push_back(path.substr(1));
        return true;
    }

    const uchar* data_;
    std::size_t size_;
    std::vector<std::u16string>* files_;
    std::string* reason_;
    quint32 tree_ = 0, payload_ = 0, names_ = 0;
    std::size_t nodeBytes_ = 14;
    std::size_t visited_ = 0;
};

QString UpperQString(std::u16string_view text) {
    return QString::fromStdU16String(ToUpper(text));
}

constexpr std::u16string_view kBitmapType = u"BITMAP";
constexpr std::u16string_view kBitmapSuffix = u".bmp";

}  // namespace

bool ValidateResourceFile(const QByteArray& bytes, std::vector<std::u16string>* files, std::string* reason) {
    return ResourceFileReader(bytes, files, reason).Read();
}

std::unique_ptr<ResourceLibrary> ResourceLibrary::Load(std::u16string_view handheldPath) {
    const std::u16string path(handheldPath);
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        HH_TRACE("resources", "cannot open %s", ToUtf8(path).c_str());
        return nullptr;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    QByteArray bytes;
    DWORD read = 0;
    bool ok = size != INVALID_FILE_SIZE && high == 0;
    if (ok) {
        bytes.resize(qsizetype(size));
        ok = ReadFile(file.get(), bytes.data(), size, &read, nullptr) && read == size;
    }
    if (!ok) {
        HH_TRACE("resources", "cannot read %s", ToUtf8(path).c_str());
        return nullptr;
    }
    std::string reason;
    auto library = FromBytes(std::move(bytes), &reason);
    if (!library) HH_TRACE("resources", "%s: %s", ToUtf8(path).c_str(), reason.c_str());
    return library;
}

std::unique_ptr<ResourceLibrary> ResourceLibrary::FromBytes(QByteArray bytes, std::string* reason) {
    std::vector<std::u16string> files;
    if (!ValidateResourceFile(bytes, &files, reason)) return nullptr;

    static std::atomic<int> nextRoot{1};
    std::unique_ptr<ResourceLibrary> library(new ResourceLibrary);
    library->bytes_ = std::move(bytes);
    library->root_ = QStringLiteral("/handheld-module-%1").arg(nextRoot++);
    if (!QResource::registerResource(reinterpret_cast<const uchar*>(library->bytes_.constData()), library->root_)) {
        if (reason) *reason = "the resource system refused the file";
        library->root_.clear();
        return nullptr;
    }
    for (const auto& file : files) {
        const auto slash = file.find(u'/');
        if (slash == std::u16string::npos || file.find(u'/', slash + 1) != std::u16string::npos) continue;
        Entry entry{file.substr(0, slash), file.substr(slash + 1)};
        if (entry.type == kBitmapType) {
            if (!entry.name.ends_with(kBitmapSuffix)) continue;
            entry.name.resize(entry.name.size() - kBitmapSuffix.size());
        }
        library->entries_.push_back(std::move(entry));
    }
    std::sort(library->entries_.begin(), library->entries_.end(),
              [](const Entry& a, const Entry& b) { return std::tie(a.type, a.name) < std::tie(b.type, b.name); });
    return library;
}

ResourceLibrary::~ResourceLibrary() {
    if (!root_.isEmpty()) QResource::unregisterResource(reinterpret_cast<const uchar*>(bytes_.constData()), root_);
}

std::optional<QByteArray> ResourceLibrary::Find(std::u16string_view type, std::u16string_view name) const {
    // A slash would let a name climb out of its type's folder, or out of this library's root.
    if (type.empty() || name.empty() || type.find(u'/') != std::u16string_view::npos ||
        name.find(u'/') != std::u16string_view::npos)
        return std::nullopt;
    QString path =
        QLatin1Char(':') + root_ + QLatin1Char('/') + UpperQString(type) + QLatin1Char('/') + UpperQString(name);
    if (ToUpper(type) == kBitmapType) path += QString::fromStdU16String(std::u16string(kBitmapSuffix));
    QFile resource(path);
    if (!QFileInfo(resource).isFile() || !resource.open(QIODevice::ReadOnly)) return std::nullopt;
    return resource.readAll();
}

QImage ResourceLibrary::LoadBitmap(std::u16string_view name) const {
    const auto bytes = Find(kBitmapType, name);
    if (!bytes) return {};
    QImage image;
    if (!image.loadFromData(*bytes, "BMP")) {
        HH_TRACE("resources", "bitmap %s cannot be decoded", ToUtf8(name).c_str());
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace handheld
