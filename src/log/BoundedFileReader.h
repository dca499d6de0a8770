#pragma once
// BoundedFileReader: reads a whole file into memory in one go, and only a
// regular file of limited size. A directory, a device such as /dev/zero, a
// FIFO without a writer or a pipe would otherwise block, never end or fail to
// rewind; they are refused with a reason instead.

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace korvana {

class BoundedFileReader {
public:
    static constexpr std::uint64_t RecordLimit = 64ull << 20; ///< game records
    static constexpr std::uint64_t BookLimit = 256ull << 20;  ///< opening-book files
    static constexpr std::uint64_t SettingsLimit = 64ull << 20;

    /// Why the last read failed, to follow the file name: "is a directory",
    /// "is not a regular file", "is larger than 64 MB", "cannot be read:
    /// <system's reason>". Empty after a successful read.
    const std::string &reason() const { return reason_; }
    /// True when the last read failed because the file does not exist.
    bool missing() const { return missing_; }

    /// Replaces `bytes` with the file's content. False (bytes empty, reason
    /// set) for anything but a readable regular file of at most `limit` bytes.
    /// `info`, when given, receives the status of the very file that was read.
    bool read(const std::string &path, std::uint64_t limit, std::string &bytes, struct stat *info = nullptr);

private:
    bool fail(std::string why, std::string &bytes);

    std::string reason_;
    bool missing_ = false;
};

} // namespace korvana
