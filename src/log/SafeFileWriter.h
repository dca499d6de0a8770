#pragma once
// SafeFileWriter: replaces a file's content all at once. The new content goes
// to a temporary file in the same directory, which is renamed over the target
// only when every byte reached the disk, so a failed write never costs the
// old content.
//
// A symbolic link is saved through: its final target gets the new content and
// the link stays. An existing target that is not a regular file, or that may
// not be written, is refused rather than replaced. New files get 0666 less
// the umask. Temporaries carry the writer's process id, so the next save of
// the same file removes those that a killed process left behind.

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
    /// permissions when it existed. False on any failure (error() says why);
    /// the target is then unchanged.
    bool commit();

    /// The path as given.
    const std::string &path() const { return path_; }
    /// Why the last open(), write() or commit() failed, naming the file;
    /// empty while nothing failed.
    const std::string &error() const { return error_; }

    /// The name temporaries of `fileName` (no directory part) start with; at
    /// most 212 bytes, so a temporary name stays within the usual 255.
    static std::string temporaryPrefix(const std::string &fileName);

private:
    void discard();
    bool fail(std::string why);
    bool checkTarget();
    void removeStaleTemporaries(const std::string &directory, const std::string &prefix) const;

    std::string path_;
    std::string target_; ///< path_ with symbolic links followed
    std::string tempPath_;
    std::string error_;
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace korvana
