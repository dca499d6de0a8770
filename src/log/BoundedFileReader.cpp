#include "log/BoundedFileReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {

namespace {

std::string sizeText(std::uint64_t limit)
{
    if (limit % (1ull << 20) == 0)
        return std::to_string(limit >> 20) + " MB";
    return std::to_string(limit) + " bytes";
}

/// Closes on every way out.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

bool BoundedFileReader::fail(std::string why, std::string &bytes)
{
    reason_ = std::move(why);
    bytes.clear();
    return false;
}

bool BoundedFileReader::read(const std::string &path, std::uint64_t limit, std::string &bytes, struct stat *info)
{
    reason_.clear();
    missing_ = false;
    bytes.clear();
    // O_NONBLOCK: opening a FIFO without a writer returns at once, and fstat then refuses it.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) {
        missing_ = errno == ENOENT;
        return fail(std::string("cannot be read: ") + std::strerror(errno), bytes);
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return fail(std::string("cannot be read: ") + std::strerror(errno), bytes);
    if (S_ISDIR(st.st_mode))
        return fail("is a directory", bytes);
    if (!S_ISREG(st.st_mode))
        return fail("is not a regular file", bytes);
    if (static_cast<std::uint64_t>(st.st_size) > limit)
        return fail("is larger than " + sizeText(limit), bytes);
    try {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        for (;;) {
            // A file that grows while it is read is still held to the limit.
            if (got == bytes.size()) {
                if (bytes.size() > limit)
                    return fail("is larger than " + sizeText(limit), bytes);
                bytes.resize(bytes.size() + 4096);
            }
            const ssize_t n = ::read(file.fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(std::string("cannot be read: ") + std::strerror(errno), bytes);
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        bytes.resize(got);
        if (info)
            *info = st;
    } catch (const std::bad_alloc &) {
        return fail("cannot be read: out of memory", bytes);
    }
    return true;
}

} // namespace korvana
