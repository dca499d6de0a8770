// The document's record files: the format is recognised by content (SGF, then .ban,
// then a Gomocup .psq, then .pos), and saving goes through a temporary file so a failed
// save keeps the old one. A record that cannot be read leaves the game as it was.

#include "record/MOveTree.h"

#include "log/BoundedFileReader.h"
#include "log/SafeFileWriter.h"

#include <climits>
#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>

namespace korvana {

namespace {

using Traits = std::char_traits<char>;

void restart(std::istream &in)
{
    in.clear();
    in.seekg(0);
}

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

/// The next decimal integer, read the way a stream extracts an int: blanks, a sign,
/// digits. False when the text there is not a number (or does not fit an int).
bool readNumber(std::streambuf *in, int &value)
{
    int c = in->sgetc();
    while (isBlank(c))
        c = in->snextc();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = in->snextc();
    }
    if (c < '0' || c > '9')
        return false;
    long long v = 0;
    while (c >= '0' && c <= '9') {
        if (v < 10'000'000'000LL) // beyond int already; stop growing
            v = v * 10 + (c - '0');
        c = in->snextc();
    }
    if (negative)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    value = static_cast<int>(v);
    return true;
}

/// A .ban number: column and row, each 1..15, as (x + 1) * 100 + (y + 1).
bool isBanNumber(int v)
{
    const int column = v / 100;
    const int row = v % 100;
    return column >= 1 && column <= 15 && row >= 1 && row <= 15;
}

/// Any word containing "GM": the letters next to each other anywhere in the bytes.
bool containsGM(std::streambuf *in)
{
    char buffer[1 << 16];
    char previous = 0;
    std::streamsize n;
    while ((n = in->sgetn(buffer, sizeof buffer)) > 0) {
        for (std::streamsize i = 0; i < n; ++i) {
            if (previous == 'G' && buffer[i] == 'M')
                return true;
            previous = buffer[i];
        }
    }
    return false;
}

bool isBanFile(std::streambuf *in)
{
    int value = 0;
    int count = 0;
    while (readNumber(in, value)) {
        if (!isBanNumber(value))
            return false;
        ++count;
    }
    return count > 0;
}

bool isPosFile(std::streambuf *in)
{
    // An empty file has no move count and is no record.
    const int n = in->sbumpc();
    if (n == Traits::eof() || n > 224)
        return false;
    for (int i = 0; i < n; ++i) {
        const int b = in->sbumpc();
        if (b == Traits::eof())
            return true; // a file cut short still reads
        if (b > 224)
            return false;
    }
    // Bytes after the last move: some other file whose bytes happen to be small.
    return in->sgetc() == Traits::eof();
}

/// One line without its line break ("\r\n" too); false at the end of the stream. A line
/// longer than the limit is cut there and the rest skipped.
bool readLine(std::streambuf *in, std::string &line)
{
    constexpr size_t MaxLine = 256;
    line.clear();
    int c = in->sbumpc();
    if (c == Traits::eof())
        return false;
    for (; c != Traits::eof() && c != '\n'; c = in->sbumpc()) {
        if (line.size() < MaxLine)
            line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

/// Leading digits of text from i (at most six, so they fit any int); -1 when there are none.
int psqNumber(const std::string &text, size_t &i)
{
    while (i < text.size() && text[i] == ' ')
        ++i;
    const size_t start = i;
    int v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 6)
        v = v * 10 + (text[i++] - '0');
    return i > start ? v : -1;
}

/// A Gomocup header line "Piskvorky 15x15, 11:11, 0": the board's width and height.
bool readPsqHeader(std::streambuf *in, int &width, int &height)
{
    std::string line;
    if (!readLine(in, line) || line.compare(0, 10, "Piskvorky ") != 0)
        return false;
    size_t i = 10;
    width = psqNumber(line, i);
    if (width < 0 || i >= line.size() || line[i] != 'x')
        return false;
    ++i;
    height = psqNumber(line, i);
    return height >= 0;
}

/// A move line "x,y,time" (the time may be missing), 1-based coordinates.
bool readPsqMove(const std::string &line, int &x, int &y)
{
    size_t i = 0;
    x = psqNumber(line, i);
    if (x < 0 || i >= line.size() || line[i] != ',')
        return false;
    ++i;
    y = psqNumber(line, i);
    if (y < 0)
        return false;
    if (i < line.size() && line[i] == ',') {
        ++i;
        if (psqNumber(line, i) < 0)
            return false;
    }
    while (i < line.size() && line[i] == ' ')
        ++i;
    return i == line.size();
}

bool isPsqFile(std::streambuf *in)
{
    int width, height;
    return readPsqHeader(in, width, height);
}

/// A .pos file with exactly its n moves (none missing).
bool wholePosFile(std::istream &in)
{
    restart(in);
    const int n = in.rdbuf()->sbumpc();
    in.seekg(0, std::ios::end);
    return n != Traits::eof() && in.tellg() == std::streamoff(n + 1);
}

/// The whole record file in memory, or (said on stderr) false: only a
/// regular file of bounded size, so a directory, a FIFO or /dev/zero cannot
/// block or run on for ever. `why`, when given, gets the reason for the user.
bool readRecordFile(const std::string &fileName, std::istringstream &in, std::string *why = nullptr)
{
    BoundedFileReader reader;
    std::string bytes;
    if (!reader.read(fileName, BoundedFileReader::RecordLimit, bytes)) {
        std::cerr << "error : " << fileName << "can't be read\n";
        if (why)
            *why = reader.missing() ? "the file does not exist" : "the file " + reader.reason();
        return false;
    }
    in.str(std::move(bytes));
    return true;
}

} // namespace

MOveTree::RecordFormat MOveTree::DetectFormat(const std::string &fileName)
{
    std::istringstream in;
    if (!readRecordFile(fileName, in))
        return FormatUnknown;
    return DetectFormat(in);
}

MOveTree::RecordFormat MOveTree::DetectFormat(std::istream &in)
{
    restart(in);
    if (containsGM(in.rdbuf()))
        return FormatSgf;
    restart(in);
    if (isBanFile(in.rdbuf()))
        return FormatBan;
    // Before .pos: a short text file passes the .pos test.
    restart(in);
    if (isPsqFile(in.rdbuf()))
        return FormatPsq;
    restart(in);
    if (isPosFile(in.rdbuf()))
        return FormatPos;
    return FormatUnknown;
}

int MOveTree::Load(const std::string &fileName)
{
    // One read for recognising and parsing, so both see the same bytes.
    std::istringstream in;
    if (!readRecordFile(fileName, in, &loadError_))
        return 0;
    return LoadFrom(in);
}

int MOveTree::LoadFrom(std::istream &in)
{
    loadError_.clear();
    const RecordFormat format = DetectFormat(in);
    restart(in);
    std::streambuf *bytes = in.rdbuf();
    switch (format) {
    case FormatSgf: {
        // Read aside first: a record that fails part way must not cost the game on the board.
        MOveTree read;
        if (!read.ReadSgf(in)) {
            loadError_ = read.readError();
            return 0;
        }
        if (read.sawGameTree()) {
            adoptTree(read);
            return 1;
        }
        // "GM" can be two moves of a .pos file: whole .ban and .pos files still read.
        restart(in);
        if (isBanFile(bytes))
            return readBan(in);
        restart(in);
        if (isPosFile(bytes) && wholePosFile(in))
            return readPos(in);
        loadError_ = "the file holds no SGF game tree";
        return 0;
    }
    case FormatBan: return readBan(in);
    case FormatPsq: {
        int width = 0, height = 0;
        readPsqHeader(bytes, width, height);
        if (width != BoardSize || height != BoardSize) {
            loadError_ = "the Gomocup record is for a " + std::to_string(width) + "x" + std::to_string(height) +
                         " board, not 15x15";
            return 0;
        }
        Reset();
        std::string line;
        int x, y;
        // Free lines (engine names, a result) follow the moves.
        while (readLine(bytes, line) && readPsqMove(line, x, y))
            AddMoveAlternating(x - 1, y - 1);
        return 1;
    }
    case FormatPos: return readPos(in);
    default: loadError_ = "the file is not a game record"; return 0;
    }
}

int MOveTree::readBan(std::istream &in)
{
    restart(in);
    Reset();
    int v = 0;
    while (readNumber(in.rdbuf(), v))
        AddMoveAlternating(v / 100 - 1, v % 100 - 1);
    return 1;
}

int MOveTree::readPos(std::istream &in)
{
    restart(in);
    Reset();
    std::streambuf *bytes = in.rdbuf();
    const int n = bytes->sbumpc();
    for (int i = 0; i < n; ++i) {
        const int b = bytes->sbumpc();
        if (b == Traits::eof())
            break;
        AddMoveAlternating(b % BoardSize, b / BoardSize);
    }
    return 1;
}

void MOveTree::adoptTree(MOveTree &read)
{
    // Both boards are empty after reading, so no board points at a node that changes hands.
    board_.reset();
    std::swap(root_, read.root_);
    countReplacement();
    current_ = root_;
    depth_ = 0;
    read.current_ = read.root_;
    read.depth_ = 0;
    rootProperties_.swap(read.rootProperties_);
    readError_.clear();
    sawGameTree_ = true;
}

std::string MOveTree::RecordText(RecordFormat format)
{
    // Writing SGF rewinds the tree (and so empties the board): come back afterwards.
    Snapshot();
    std::string text;
    switch (format) {
    case FormatSgf: {
        std::ostringstream out;
        WriteSgf(out);
        text = std::move(out).str();
        break;
    }
    case FormatBan:
        for (const MovedPos &m : snapshot_.moves()) {
            text += std::to_string((m.x + 1) * 100 + (m.y + 1));
            text += '\n';
        }
        break;
    case FormatPos:
        text += static_cast<char>(snapshot_.count());
        for (const MovedPos &m : snapshot_.moves())
            text += static_cast<char>(pointOf(m.x, m.y));
        break;
    default: break;
    }
    ReplaySnapshot();
    return text;
}

int MOveTree::Save(const std::string &fileName)
{
    if (recordFormat_ > FormatPos)
        return 0;
    SafeFileWriter file(fileName);
    if (!file.open()) {
        std::cerr << "error : " << fileName << "can't be write\n";
        return 0;
    }
    const std::string text = RecordText(recordFormat_);
    if (!file.write(text) || !file.commit()) {
        std::cerr << "error : " << fileName << "can't be write\n";
        return 0;
    }
    return 1;
}

} // namespace korvana
