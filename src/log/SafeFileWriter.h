#pragma once
// SafeFileWriter: replaces a file's content all at once. The new content goes
// to a temporary file in the same directory, which is renamed over the target
// only when every byte reached the disk, so a failed write never costs the
// old content.

#include <string>
#include <string_view>

namespace korvana {

class SafeFileWriter {
public:
    /// Prepares to replace path; nothing is touched before open().
    explicit SafeFileWriter(std::string path);
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;
    /// Removes the temporary file unless commit() succeeded.
    ~SafeFileWriter();

    /// Creates the temporary file; false when the directory takes no new file.
    bool open();
    /// Appends bytes to the temporary file; false (and every later call false) on failure.
    bool write(std::string_view bytes);
    /// Flushes to disk and renames over the target, keeping the target's
    /// permissions when it existed. False on any failure; the target is then unchanged.
    bool commit();

    const std::string &path() const { return path_; }

private:
    void discard();

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace korvana
