#include "app/model/safe_file.h"

#include "handheld/trace.h"

using namespace handheld;

namespace {
bool Exists(const std::u16string& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

std::u16string TemporaryPathFor(std::u16string_view target) {
    return std::u16string(target) + u"~";
}
std::u16string BackupPathFor(std::u16string_view target) {
    return std::u16string(target) + u"~old";
}

void RecoverInterruptedReplacement(std::u16string_view target) {
    const std::u16string path(target);
    if (path.empty() || Exists(path)) return;
    const std::u16string backup = BackupPathFor(target);
    if (Exists(backup) && MoveFileW(backup.c_str(), path.c_str())) {
        HH_TRACE("files", "put back the file an interrupted save had moved aside");
    }
}

UniqueHandle OpenForReading(std::u16string_view target) {
    RecoverInterruptedReplacement(target);
    const std::u16string path(target);
    UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || Exists(path)) return file;
    const std::u16string backup = BackupPathFor(target);
    file.reset(CreateFileW(backup.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) HH_TRACE("files", "reading the backup left by an interrupted save");
    return file;
}

SafeFileWriter::~SafeFileWriter() {
    Abandon();
}

void SafeFileWriter::Abandon() {
    if (file_) {
        file_.reset();
        DeleteFileW(temporary_.c_str());
    }
}

SafeFileWriter::OpenResult SafeFileWriter::Open(std::u16string_view target, bool createNew) {
    Abandon();
    target_ = target;
    temporary_ = TemporaryPathFor(target);
    createNew_ = createNew;
    if (target_.empty()) return OpenResult::Failed;
    RecoverInterruptedReplacement(target_);
    if (createNew && Exists(BackupPathFor(target_))) return OpenResult::TargetExists;
    const DWORD attributes = GetFileAttributesW(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (createNew) return OpenResult::TargetExists;
        // Replacing by rename would get past what creating over the file would refuse.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return OpenResult::Failed;
    }
    file_.reset(
        CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file_ ? OpenResult::Opened : OpenResult::Failed;
}

bool SafeFileWriter::Write(const void* bytes, std::size_t count) {
    if (!file_) return false;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    while (count != 0) {
        const auto chunk = static_cast<DWORD>(count > 0x7FFFFFFF ? 0x7FFFFFFF : count);
        DWORD written = 0;
        if (!WriteFile(file_.get(), p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        count -= written;
    }
    return true;
}

bool SafeFileWriter::Commit() {
    if (!file_) return false;
    if (!FlushFileBuffers(file_.get())) {
        Abandon();
        return false;
    }
    file_.reset();
    const std::u16string backup = BackupPathFor(target_);
    const bool hadTarget = Exists(target_);
    if (hadTarget && createNew_) {  // the target appeared while we wrote
        DeleteFileW(temporary_.c_str());
        return false;
    }
    if (hadTarget) {
        DeleteFileW(backup.c_str());  // a stale one from an earlier interrupted save
        if (!MoveFileW(target_.c_str(), backup.c_str())) {
            DeleteFileW(temporary_.c_str());
            return false;
        }
    }
    if (!MoveFileW(temporary_.c_str(), target_.c_str())) {
        if (hadTarget) MoveFileW(backup.c_str(), target_.c_str());
        DeleteFileW(temporary_.c_str());
        return false;
    }
    DeleteFileW(backup.c_str());
    return true;
}
