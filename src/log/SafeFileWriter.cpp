#include "log/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

void SafeFileWriter::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

bool SafeFileWriter::open()
{
    discard();
    failed_ = true;
    if (path_.empty())
        return false;
    // Beside the target so that the rename stays within one file system.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string candidate = path_ + ".tmp" + std::to_string(::getpid()) + "_" +
                                std::to_string(counter.fetch_add(1));
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tempPath_ = std::move(candidate);
            failed_ = false;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool SafeFileWriter::write(std::string_view bytes)
{
    if (failed_ || fd_ < 0)
        return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool SafeFileWriter::commit()
{
    if (failed_ || fd_ < 0) {
        discard();
        return false;
    }
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
    bool ok = ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok && ::rename(tempPath_.c_str(), path_.c_str()) == 0) {
        tempPath_.clear();
        return true;
    }
    discard();
    return false;
}

} // namespace korvana
