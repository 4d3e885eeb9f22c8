#include "tools/host_file/host_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace host_file {

namespace fs = std::filesystem;

namespace {

// The temporary file until it has been renamed over the target: removed on every failure path.
class Temporary {
public:
    explicit Temporary(const fs::path& target)
        : path_((target.has_parent_path() ? target.parent_path() : fs::path(".")) /
                ("." + target.filename().string() + ".XXXXXX")) {
        std::string pattern = path_.string();
        fd_ = mkstemp(pattern.data());
        created_ = fd_ >= 0;
        path_ = pattern;
    }
    ~Temporary() {
        if (fd_ >= 0) close(fd_);
        if (created_ && !renamed_) unlink(path_.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    bool Created() const { return created_; }

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written == 0) errno = EIO;
            if (written <= 0) return false;
            bytes.remove_prefix(std::size_t(written));
        }
        return true;
    }

    // Flushed to the disk before it replaces anything, so a crash leaves the old file or the new one.
    bool Finish(mode_t mode) {
        const bool ok = fchmod(fd_, mode) == 0 && fsync(fd_) == 0;
        const bool closed = close(fd_) == 0;
        fd_ = -1;
        return ok && closed;
    }

    bool RenameOver(const fs::path& target) {
        renamed_ = rename(path_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    fs::path path_;
    int fd_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

// An existing target keeps its permissions; a new one gets what the user's file-creation mask allows.
mode_t ModeFor(const fs::path& target) {
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) return existing.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool Fail(const fs::path& target, const std::string& reason, std::string& error) {
    error = "cannot write " + target.string() + ": " + reason;
    return false;
}

}  // namespace

bool WriteAtomically(const fs::path& target, std::string_view bytes, std::string& error) {
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    if (ec) return Fail(target, ec.message(), error);
    Temporary temporary(target);
    if (!temporary.Created()) return Fail(target, std::strerror(errno), error);
    if (!temporary.Write(bytes) || !temporary.Finish(ModeFor(target)) || !temporary.RenameOver(target)) {
        return Fail(target, std::strerror(errno), error);
    }
    SyncFolder(target);
    return true;
}

bool CopyAtomically(const fs::path& source, const fs::path& target, std::string& error) {
    std::ifstream in(source, std::ios::binary);
    if (!in) return Fail(target, "cannot read " + source.string(), error);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Fail(target, "cannot read " + source.string(), error);
    return WriteAtomically(target, bytes, error);
}

}  // namespace host_file
