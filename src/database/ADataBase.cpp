#include "database/ADataBase.h"

#include <filesystem>

#include "board/Point.h"
#include "log/BoundedFileReader.h"
#include "log/ErrorLog.h"
#include "log/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace korvana {

namespace {

// Parked files beyond the current one; their memory is the price of cheap
// moves back and forth between stone counts.
constexpr size_t MaxStashes = 6;
constexpr int64_t MaxStashedRecords = 300000;

// A line longer than this cannot come from this program (at most 225 points
// of a few characters each); it is skipped rather than buffered.
constexpr size_t MaxLineLength = 64 * 1024;

ADataBase::FileStamp stampOf(const struct stat &st)
{
    ADataBase::FileStamp stamp;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.size = static_cast<int64_t>(st.st_size);
    stamp.modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

// File times tick coarsely (a few milliseconds), so a file written again in
// the same tick keeps its stamp. A stamp is only trusted once the file has
// been still for longer than any tick when we look at it.
bool stampTrusted(const ADataBase::FileStamp &stamp)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const int64_t nowNs = int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    return std::max(stamp.modifiedNs, stamp.changedNs) < nowNs - 1000000000;
}

// Walks the lines of a file held in memory; CR before LF is dropped.
class LineReader {
public:
    enum Result { Line, TooLong, End };

    explicit LineReader(std::string_view text) : text_(text) {}

    Result next(std::string_view &line)
    {
        if (text_.empty())
            return End;
        const size_t newline = text_.find('\n');
        const size_t length = newline == std::string_view::npos ? text_.size() : newline;
        line = text_.substr(0, length);
        text_.remove_prefix(newline == std::string_view::npos ? length : length + 1);
        if (length > MaxLineLength)
            return TooLong;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return Line;
    }

private:
    std::string_view text_;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Next whitespace-separated token of the line as a signed 32-bit integer;
// false at the end of the line or when the token is not such a number.
enum class Token { Number, End, Garbage };
Token nextNumber(std::string_view line, size_t &pos, int32_t &value)
{
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    if (pos == line.size())
        return Token::End;
    bool negative = false;
    if (line[pos] == '-' || line[pos] == '+')
        negative = line[pos++] == '-';
    int64_t number = 0;
    size_t digits = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        number = number * 10 + (line[pos++] - '0');
        if (number > int64_t(INT32_MAX) + 1)
            return Token::Garbage;
        ++digits;
    }
    if (!digits || (pos < line.size() && !isBlank(line[pos])))
        return Token::Garbage;
    if (negative)
        number = -number;
    if (number > INT32_MAX)
        return Token::Garbage;
    value = static_cast<int32_t>(number);
    return Token::Number;
}

// A point as the file gives it: its low 8 bits; false when that is off the board.
bool pointFrom(int32_t number, uint8_t &point)
{
    point = static_cast<uint8_t>(number & 0xff);
    return point < PointCount;
}

void appendNumber(std::string &out, int32_t value)
{
    char digits[12];
    char *end = digits + sizeof digits, *p = end;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = '-';
    out.append(p, static_cast<size_t>(end - p));
}

// Book errors go to the error log once for each file and each state of it,
// not on every reload after every move.
void reportOnce(const std::string &name, const ADataBase::FileStamp &stamp, const std::string &message)
{
    static std::mutex lock;
    static std::map<std::string, ADataBase::FileStamp> reported;
    {
        std::lock_guard<std::mutex> hold(lock);
        auto [it, added] = reported.try_emplace(name, stamp);
        if (!added && it->second == stamp)
            return;
        it->second = stamp;
    }
    ErrorLog::instance().log(message + " (" + name + ")");
}

void deleteRecords(tvector<ADataHash::Chain> &chains)
{
    for (int32_t c = 0; c < chains.length(); ++c)
        chains.data()[c].forEachOldestFirst([](ADataHashElement &entry) {
            delete entry.data;
            return true;
        });
}

} // namespace

ADataBase::Stash::~Stash() { deleteRecords(chains); }

ADataBase::ADataBase(int stoneCount, const std::string &directory) : ADataHash(ChainCount), directory_(directory)
{
    setStoneCount(stoneCount);
    Load();
}

ADataBase::~ADataBase() = default;

int32_t ADataBase::chainOf(int32_t key) const
{
    const int32_t chain = key % ChainCount;
    return chain < 0 ? chain + ChainCount : chain;
}

void ADataBase::setStoneCount(int stoneCount)
{
    stoneCount_ = (stoneCount >= 0 && stoneCount < PointCount) ? static_cast<uint8_t>(stoneCount) : NothingLoaded;
}

std::string ADataBase::fileName(const std::string &directory, int stoneCount)
{
    char name[32];
    std::snprintf(name, sizeof name, "kumo%03d.adb", stoneCount);
    if (directory.empty())
        return name;
    std::string dir = directory;
    const size_t last = dir.find_last_of(":/\\");
    if (last != std::string::npos)
        dir.resize(last + 1);
    const char end = dir.back();
    if (end != ':' && end != '/' && end != '\\')
        dir += '/';
    return dir + name;
}

// --- file --------------------------------------------------------------

bool ADataBase::Load(int stoneCount)
{
    setStoneCount(stoneCount);
    return Load();
}

bool ADataBase::Load()
{
    if (stoneCount_ >= PointCount)
        return false;
    const std::string name = fileName();
    struct stat st {};
    const bool exists = ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    const FileStamp stamp = exists ? stampOf(st) : FileStamp{};

    if (exists && origin_.trusted && origin_.fileName == name && origin_.stamp == stamp) {
        stoneCount_ = origin_.fileStones;
        return true;
    }
    if (origin_.fileName != name)
        stashCurrent();
    if (exists && restoreFromStash(name, stamp))
        return true;
    dropRecords();
    return readFile(name);
}

bool ADataBase::readFile(const std::string &name)
{
    unreadableFile_.clear();
    lastError_.clear();
    BoundedFileReader reader;
    std::string bytes;
    struct stat st {};
    if (!reader.read(name, BoundedFileReader::BookLimit, bytes, &st)) {
        // A missing file is an empty book, the normal state of most stone counts.
        if (!reader.missing()) {
            struct stat now {};
            const FileStamp stamp = ::stat(name.c_str(), &now) == 0 ? stampOf(now) : FileStamp{};
            fail(name, stamp, "error: database " + reader.reason());
        }
        return false;
    }
    const FileStamp stamp = stampOf(st);
    const bool trusted = stampTrusted(stamp);

    LineReader lines(bytes);
    std::string_view line;
    LineReader::Result result;
    // The header is the first line that is not blank.
    do {
        result = lines.next(line);
    } while (result == LineReader::Line && line.find_first_not_of(" \t\r\v\f") == std::string_view::npos);

    size_t pos = 0;
    int32_t version = 0, count = 0, stones = 0;
    if (result != LineReader::Line || nextNumber(line, pos, version) != Token::Number || version >= VersionLimit)
        return fail(name, stamp, "error: can't read this version");
    if (nextNumber(line, pos, count) != Token::Number || nextNumber(line, pos, stones) != Token::Number || stones < 0 ||
        stones >= PointCount)
        return fail(name, stamp, "error: count is out of range");
    stoneCount_ = static_cast<uint8_t>(stones);

    // The header's count is only an upper bound on the lines read: nothing is
    // reserved for it, and a short file simply ends.
    const int32_t key = AData::keyOf(stones);
    uint8_t stoneBuffer[PointCount];
    std::vector<ADataElement> candidates;
    for (int32_t read = 0; read < count;) {
        result = lines.next(line);
        if (result == LineReader::End)
            break;
        if (result == LineReader::TooLong) {
            ++read;
            continue;
        }
        pos = 0;
        int32_t id = 0, number = 0;
        Token token = nextNumber(line, pos, id);
        if (token == Token::End)
            continue; // blank lines are not records
        ++read;
        if (token != Token::Number)
            continue;
        bool good = true;
        for (int i = 0; i < stones && good; ++i)
            good = nextNumber(line, pos, number) == Token::Number && pointFrom(number, stoneBuffer[i]);
        // The rest: pairs of point and value; a lone last token is dropped.
        candidates.clear();
        ADataElement pending;
        bool half = false;
        while (good && (token = nextNumber(line, pos, number)) != Token::End) {
            if (token == Token::Garbage) {
                good = false;
            } else if (!half) {
                good = pointFrom(number, pending.point);
                half = true;
            } else {
                pending.value = number;
                candidates.push_back(pending);
                half = false;
            }
        }
        if (!good || candidates.empty())
            continue;
        auto *record = new AData(stones);
        record->setId(id);
        std::copy(stoneBuffer, stoneBuffer + stones, record->stones().data());
        record->candidates().resize(static_cast<int32_t>(candidates.size()));
        std::copy(candidates.begin(), candidates.end(), record->candidates().data());
        insertRecord(key, record);
        index_.insert(record);
    }
    origin_ = Origin{name, stamp, trusted, stoneCount_};
    return true;
}

bool ADataBase::fail(const std::string &name, const FileStamp &stamp, const std::string &message)
{
    unreadableFile_ = name;
    lastError_ = message;
    reportOnce(name, stamp, message);
    return false;
}

bool ADataBase::Save()
{
    if (stoneCount_ >= PointCount)
        return false;
    const std::string name = fileName();
    // The default book directory beside the program may not exist yet: the
    // first saved position creates it.
    const std::filesystem::path parent = std::filesystem::path(name).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
    if (name == unreadableFile_) {
        lastError_ = name + " could not be read, so it is not saved over";
        return false;
    }
    SafeFileWriter file(name);
    if (!file.open()) {
        lastError_ = file.error();
        return false;
    }

    // Records that do not fit this stone count would make the file unreadable.
    int32_t written = 0, key = 0;
    const AData *record = nullptr;
    resetWalk();
    while (nextRecord(key, record))
        if (record->stoneCount() == stoneCount_)
            ++written;
    std::string text;
    text.reserve(1 << 20);
    appendNumber(text, Version);
    text += ' ';
    appendNumber(text, written);
    text += ' ';
    appendNumber(text, stoneCount_);
    text += "\r\n";
    bool ok = true;
    resetWalk();
    while (ok && nextRecord(key, record)) {
        if (record->stoneCount() != stoneCount_)
            continue;
        appendNumber(text, record->id());
        text += ' ';
        for (int i = 0; i < record->stoneCount(); ++i) {
            appendNumber(text, record->stones().data()[i]);
            text += ' ';
        }
        for (int i = 0; i < record->candidateCount(); ++i) {
            if (i)
                text += ' ';
            appendNumber(text, record->candidates().data()[i].point);
            text += ' ';
            appendNumber(text, record->candidates().data()[i].value);
        }
        text += "\r\n";
        if (text.size() >= (1 << 20)) {
            ok = file.write(text);
            text.clear();
        }
    }
    resetWalk();
    if (!ok || !file.write(text) || !file.commit()) {
        lastError_ = file.error();
        return false;
    }
    lastError_.clear();

    // A parked copy of this file is out of date now.
    std::erase_if(stashes_, [&](const std::unique_ptr<Stash> &stash) { return stash->origin.fileName == name; });
    struct stat st {};
    if (written == count() && ::stat(name.c_str(), &st) == 0) {
        const FileStamp stamp = stampOf(st);
        origin_ = Origin{name, stamp, stampTrusted(stamp), stoneCount_};
    } else {
        origin_ = Origin{};
    }
    return true;
}

// --- look-up -----------------------------------------------------------

const AData *ADataBase::findStones(const uint8_t *stones, int count) const { return index_.find(stones, count); }

const AData *ADataBase::Find(const AData &record) const
{
    return findStones(record.stones().data(), record.stoneCount());
}

int ADataBase::FindOrientation(const AData &record, const AData **hit) const
{
    const int count = record.stoneCount();
    // Off-board stones could map onto the board under a symmetry; such a
    // record is no position at all.
    if (count >= PointCount || !record.stonesOnBoard())
        return -1;
    uint8_t mapped[PointCount];
    const uint8_t *stones = record.stones().data();
    for (int kind = 0; kind < 8; ++kind) {
        for (int i = 0; i < count; ++i)
            mapped[i] = static_cast<uint8_t>(symmetryTransform(kind, stones[i]));
        if (const AData *found = findStones(mapped, count)) {
            if (hit)
                *hit = found;
            return kind;
        }
    }
    return -1;
}

uint8_t ADataBase::FindAnyOrientation(const AData &record) const
{
    const AData *hit = nullptr;
    const int kind = FindOrientation(record, &hit);
    if (kind < 0 || hit->candidateCount() == 0)
        return NoPointCode;
    return static_cast<uint8_t>(inverseSymmetryTransform(kind, hit->candidatePoint(0)));
}

uint8_t ADataBase::CopyFromAnyOrientation(const AData &record, AData &out) const
{
    const AData *hit = nullptr;
    const int kind = FindOrientation(record, &hit);
    if (kind < 0 || hit->candidateCount() == 0)
        return NoPointCode;
    AData copy(record);
    VectorADataElement &candidates = copy.candidates();
    candidates.resize(hit->candidateCount());
    for (int i = 0; i < candidates.length(); ++i)
        candidates.data()[i] =
            ADataElement{static_cast<uint8_t>(inverseSymmetryTransform(kind, hit->candidates().data()[i].point)), 0};
    out = std::move(copy);
    return out.candidatePoint(0);
}

// --- changes -----------------------------------------------------------

bool ADataBase::Add(const AData &record)
{
    if (record.candidateCount() == 0 || record.stoneCount() != stoneCount_ || !record.stonesOnBoard())
        return false;
    for (int i = 0; i < record.candidateCount(); ++i)
        if (record.candidates().data()[i].point >= PointCount)
            return false;
    if (FindOrientation(record) >= 0)
        return false;
    auto *copy = new AData(record);
    insertRecord(copy->key(), copy);
    index_.insert(copy);
    changed();
    return true;
}

bool ADataBase::Remove(const AData &record)
{
    const AData *hit = nullptr;
    if (FindOrientation(record, &hit) < 0)
        return false;
    index_.erase(hit);
    destroyRecord(hit->key(), hit);
    changed();
    return true;
}

bool ADataBase::Update(const AData &record)
{
    if (Add(record))
        return true;
    Remove(record);
    return Add(record);
}

void ADataBase::Clear() { dropRecords(); }

// --- parked files --------------------------------------------------------

void ADataBase::dropRecords()
{
    destroyAll();
    index_.clear();
    changed();
}

void ADataBase::stashCurrent()
{
    if (origin_.fileName.empty() || !origin_.trusted) {
        return;
    }
    auto stash = std::make_unique<Stash>();
    stash->chains.resize(ChainCount);
    swapChains(stash->chains, stash->count);
    stash->index = std::move(index_);
    index_ = PositionIndex{};
    stash->origin = origin_;
    changed();
    std::erase_if(stashes_,
                  [&](const std::unique_ptr<Stash> &s) { return s->origin.fileName == stash->origin.fileName; });
    stashes_.push_back(std::move(stash));
    int64_t parked = 0;
    for (const auto &s : stashes_)
        parked += s->count;
    while (!stashes_.empty() && (stashes_.size() > MaxStashes || parked > MaxStashedRecords)) {
        parked -= stashes_.front()->count;
        stashes_.erase(stashes_.begin());
    }
}

bool ADataBase::restoreFromStash(const std::string &name, const FileStamp &stamp)
{
    auto it = std::find_if(stashes_.begin(), stashes_.end(),
                           [&](const std::unique_ptr<Stash> &s) { return s->origin.fileName == name; });
    if (it == stashes_.end())
        return false;
    std::unique_ptr<Stash> stash = std::move(*it);
    stashes_.erase(it);
    if (!stash->origin.trusted || !(stash->origin.stamp == stamp))
        return false;
    dropRecords();
    swapChains(stash->chains, stash->count);
    index_ = std::move(stash->index);
    origin_ = stash->origin;
    stoneCount_ = origin_.fileStones;
    return true;
}

} // namespace korvana
