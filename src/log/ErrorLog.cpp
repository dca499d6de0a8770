#include "log/ErrorLog.h"

#include "log/SafeFileWriter.h"
#include "log/SimpleMutex.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace korvana {

namespace {

/// Walks the lines of a file in place. A line ends at CR, LF or CR LF: the
/// program's own entries end in a lone CR, files touched by editors in LF.
class LineCursor {
public:
    enum Result { Line, LastLineWithoutEnd, TooLong, End };

    explicit LineCursor(std::streambuf &buffer) : buffer_(buffer) {}

    /// Steps over one line; offset() is then just past its line end.
    Result next()
    {
        using Traits = std::streambuf::traits_type;
        std::size_t length = 0;
        for (;;) {
            int c = buffer_.sbumpc();
            if (c == Traits::eof())
                return length == 0 ? End : LastLineWithoutEnd;
            ++offset_;
            if (c == '\n')
                return Line;
            if (c == '\r') {
                if (buffer_.sgetc() == '\n') {
                    buffer_.sbumpc();
                    ++offset_;
                }
                return Line;
            }
            if (++length > ErrorLog::MaxLineLength)
                return TooLong;
        }
    }

    std::uintmax_t offset() const { return offset_; }

private:
    std::streambuf &buffer_;
    std::uintmax_t offset_ = 0;
};

} // namespace

ErrorLog::ErrorLog(std::string fileName) : fileName_(std::move(fileName)) {}

ErrorLog &ErrorLog::instance()
{
    static ErrorLog log;
    return log;
}

void ErrorLog::setFileName(std::string fileName)
{
    std::lock_guard<SimpleMutex> hold(SimpleMutex::process());
    fileName_ = std::move(fileName);
}

std::string ErrorLog::timeStamp(const std::tm &local)
{
    char text[64];
    std::snprintf(text, sizeof text, "%4d/%02d/%02d %02d:%02d.%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

void ErrorLog::applySizeLimit(const std::string &fileName)
{
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (error || size <= SizeLimit)
        return;

    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return;
    // First pass: how many lines can be read, and where the last one ends.
    std::uintmax_t lines = 0, readEnd = 0;
    bool lastHasEnd = true;
    {
        LineCursor cursor(*in.rdbuf());
        for (;;) {
            LineCursor::Result r = cursor.next();
            if (r == LineCursor::End || r == LineCursor::TooLong)
                break;
            ++lines;
            readEnd = cursor.offset();
            if (r == LineCursor::LastLineWithoutEnd) {
                lastHasEnd = false;
                break;
            }
        }
    }
    // Second pass: skip lines 0 .. lines/2, copy the rest as it stands.
    in.clear();
    in.seekg(0);
    if (!in)
        return;
    std::uintmax_t keepFrom = readEnd;
    {
        LineCursor cursor(*in.rdbuf());
        for (std::uintmax_t i = 0; i <= lines / 2 && i < lines; ++i)
            cursor.next();
        if (lines > 0)
            keepFrom = cursor.offset();
    }
    in.clear();
    in.seekg(static_cast<std::streamoff>(keepFrom));
    if (!in)
        return;

    SafeFileWriter out(fileName);
    if (!out.open())
        return;
    char chunk[65536];
    std::uintmax_t remaining = readEnd - keepFrom;
    while (remaining > 0) {
        std::streamsize want = static_cast<std::streamsize>(std::min<std::uintmax_t>(remaining, sizeof chunk));
        in.read(chunk, want);
        if (in.gcount() != want || !out.write(std::string_view(chunk, static_cast<size_t>(want))))
            return;
        remaining -= static_cast<std::uintmax_t>(want);
    }
    // Every kept line is followed by a line end; the new entry must not join the last one.
    if (!lastHasEnd && readEnd > keepFrom && !out.write("\r"))
        return;
    out.commit();
}

void ErrorLog::log(const std::string &message)
{
    try {
        std::lock_guard<SimpleMutex> hold(SimpleMutex::process());
        applySizeLimit(fileName_);

        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::string entry = timeStamp(local) + " : " + message + '\r';

        // Non-blocking, and a regular file only: a FIFO or a device in the
        // log's place must not stall the program.
        const int fd = ::open(fileName_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0)
            return;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            (void)!::write(fd, entry.data(), entry.size());
        ::close(fd);
    } catch (...) {
        // Logging never disturbs the caller.
    }
}

} // namespace korvana
