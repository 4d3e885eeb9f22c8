// Replacing a file without ever losing the previous one: the new contents go to a temporary file beside the
// target ("<target>~"), are flushed, and only then take the target's place. The handheld's MoveFileW does not
// replace, so the old target is first moved aside to "<target>~old" and deleted once the new file stands in
// its place. A crash between those two moves leaves the old contents under the backup name, and
// OpenForReading falls back to it, so no moment exists at which neither version can be read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "handheld/owners.h"

std::u16string TemporaryPathFor(std::u16string_view target);
std::u16string BackupPathFor(std::u16string_view target);

// Opens the target for reading (no sharing, existing only) or, when only the backup of an interrupted
// replacement survived, that backup. Empty when neither opens.
handheld::UniqueHandle OpenForReading(std::u16string_view target);

class SafeFileWriter {
public:
    enum class OpenResult { Opened, TargetExists, Failed };

    SafeFileWriter() = default;
    ~SafeFileWriter();  // an uncommitted writer removes its temporary file
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // createNew refuses a target that exists already.
    OpenResult Open(std::u16string_view target, bool createNew);
    // False when not everything was written; the target is untouched either way.
    bool Write(const void* bytes, std::size_t count);
    // Flushes and puts the written file in the target's place; false (the previous target kept) on any failure.
    bool Commit();

private:
    void Abandon();

    std::u16string target_;
    std::u16string temporary_;
    handheld::UniqueHandle file_;
    bool createNew_ = false;
};
