#include "log/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {

namespace {

constexpr std::string_view TemporarySuffix = ".tmp";
constexpr size_t MaxNamePart = 200;

std::string directoryOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The final target of a chain of symbolic links; the path itself when it is
/// no link or does not exist. A link may point at a file yet to be made.
std::string followLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string link(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size())
            return path;
        link.resize(static_cast<size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + link;
    }
    return path;
}

bool processIsGone(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

} // namespace

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}

SafeFileWriter::~SafeFileWriter() { discard(); }

std::string SafeFileWriter::temporaryPrefix(const std::string &fileName)
{
    // A long name is cut; the hash of the whole name keeps files that share
    // the cut part apart.
    uint32_t hash = 2166136261u;
    for (unsigned char c : fileName)
        hash = (hash ^ c) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    return "." + fileName.substr(0, MaxNamePart) + "~" + hex + ".";
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

bool SafeFileWriter::fail(std::string why)
{
    error_ = std::move(why);
    failed_ = true;
    discard();
    return false;
}

void SafeFileWriter::removeStaleTemporaries(const std::string &directory, const std::string &prefix) const
{
    DIR *dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() <= prefix.size() + TemporarySuffix.size() || !name.starts_with(prefix) ||
            !name.ends_with(TemporarySuffix))
            continue;
        // "<prefix><pid>-<n>.tmp"
        const std::string rest(name.substr(prefix.size()));
        char *end = nullptr;
        const long pid = std::strtol(rest.c_str(), &end, 10);
        if (end == rest.c_str() || *end != '-' || pid == ::getpid() || !processIsGone(pid))
            continue;
        ::unlink((directory + std::string(name)).c_str());
    }
    ::closedir(dir);
}

bool SafeFileWriter::open()
{
    discard();
    error_.clear();
    failed_ = true;
    if (path_.empty())
        return fail("no file name given");
    target_ = followLinks(path_);
    // Beside the target so that the rename stays within one file system.
    const std::string directory = directoryOf(target_);
    const std::string prefix = temporaryPrefix(baseOf(target_));
    removeStaleTemporaries(directory, prefix);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string candidate = directory + prefix + std::to_string(::getpid()) + "-" +
                                std::to_string(counter.fetch_add(1)) + std::string(TemporarySuffix);
        // 0666: the umask makes it the user's usual permissions.
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tempPath_ = std::move(candidate);
            failed_ = false;
            return true;
        }
        if (errno != EEXIST)
            return fail("cannot write " + path_ + ": " + std::strerror(errno));
    }
    return fail("cannot write " + path_ + ": too many temporary files");
}

bool SafeFileWriter::write(std::string_view bytes)
{
    if (failed_ || fd_ < 0)
        return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("cannot write " + path_ + ": " + std::strerror(n < 0 ? errno : ENOSPC));
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool SafeFileWriter::checkTarget()
{
    struct stat st {};
    if (::stat(target_.c_str(), &st) != 0)
        return true; // a new file
    if (!S_ISREG(st.st_mode))
        return fail(path_ + " is not a regular file");
    // No write bit at all means read-only even for a user access() lets through (root).
    if ((st.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0)
        return fail(path_ + " is read-only");
    // Keep what the file was: its permissions (no set-id bits) and, where
    // allowed, its owner.
    if (::fchmod(fd_, st.st_mode & 01777) != 0)
        return fail("cannot write " + path_ + ": " + std::strerror(errno));
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid())
        (void)!::fchown(fd_, st.st_uid, st.st_gid);
    return true;
}

bool SafeFileWriter::commit()
{
    if (failed_ || fd_ < 0) {
        if (error_.empty())
            error_ = "cannot write " + path_;
        discard();
        return false;
    }
    if (!checkTarget())
        return false;
    if (::fsync(fd_) != 0)
        return fail("cannot write " + path_ + ": " + std::strerror(errno));
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        return fail("cannot write " + path_ + ": " + std::strerror(errno));
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0)
        return fail("cannot write " + path_ + ": " + std::strerror(errno));
    tempPath_.clear();
    return true;
}

} // namespace korvana
