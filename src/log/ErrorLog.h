#pragma once
// ErrorLog: a lasting record of failures the user would otherwise never see
// (the windowed program shows no standard error). Entries are appended to a
// text file, one per failure, each "yyyy/mm/dd hh:mm.ss : message" and a CR.

#include <cstdint>
#include <ctime>
#include <string>

namespace korvana {

class ErrorLog {
public:
    /// Above this many bytes the older half of the file is dropped before the next entry.
    static constexpr std::uintmax_t SizeLimit = 1000000;
    /// Longest line (without its line end) the trimming reads.
    static constexpr std::size_t MaxLineLength = 4095;

    /// A log writing to fileName; the programs point theirs beside themselves at start.
    explicit ErrorLog(std::string fileName = "error.log");
    virtual ~ErrorLog() = default;

    /// The program's log, made on first use. Tests point it elsewhere with setFileName.
    static ErrorLog &instance();

    /// Appends one entry stamped with the local time now. Never throws; when the
    /// file cannot be opened the entry is lost without a word.
    void log(const std::string &message);

    const std::string &fileName() const { return fileName_; }
    /// Changes the file later entries go to.
    void setFileName(std::string fileName);

    /// "%4d/%02d/%02d %02d:%02d.%02d" of a local time.
    static std::string timeStamp(const std::tm &local);

    /// Drops the older half of the lines when the file is above SizeLimit.
    /// CR, LF and CR LF all end a line. Reading stops at the first line longer
    /// than MaxLineLength; lines past it are dropped too. The file is replaced
    /// through a temporary file, so a failure leaves it as it was.
    static void applySizeLimit(const std::string &fileName);

private:
    std::string fileName_;
};

} // namespace korvana
