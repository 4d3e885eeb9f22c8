// Replacing a file without ever losing the previous one: the new contents go to a temporary file beside the
// target ("<target>~"), are flushed, and only then take the target's place. The handheld's MoveFileW does not
// replace, so the old target is first moved aside to "<target>~old" and deleted once the new file stands in
// its place. A crash between those two moves leaves the old contents under the backup name; the first read
// or write of the target afterwards moves them back under the target's name, so no moment exists at which
// neither version can be read, and a folder scan finds the file again once it has been touched.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "handheld/owners.h"

std::u16string TemporaryPathFor(std::u16string_view target);
std::u16string BackupPathFor(std::u16string_view target);

// When only the backup of an interrupted replacement survived, moves it back to the target's name.
void RecoverInterruptedReplacement(std::u16string_view target);

// Opens the target for reading (no sharing, existing only), first recovering it from the backup of an
// interrupted replacement; when that backup cannot be moved back, it is read in the target's stead. Empty
// when nothing opens.
handheld::UniqueHandle OpenForReading(std::u16string_view target);

class SafeFileWriter {
public:
    enum class OpenResult { Opened, TargetExists, Failed };

    SafeFileWriter() = default;
    ~SafeFileWriter();  // an uncommitted writer removes its temporary file
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // createNew refuses a target that exists already, also as the backup of an interrupted replacement.
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
