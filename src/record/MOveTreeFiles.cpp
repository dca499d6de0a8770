// The document's record files: the format is recognised by content (SGF, then .ban,
// then .pos), and saving goes through a temporary file so a failed save keeps the old one.

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

bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

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
            break;
        if (b > 224)
            return false;
    }
    return true;
}

} // namespace

namespace {

/// The whole record file in memory, or (said on stderr) false: only a
/// regular file of bounded size, so a directory, a FIFO or /dev/zero cannot
/// block or run on for ever.
bool readRecordFile(const std::string &fileName, std::istringstream &in)
{
    BoundedFileReader reader;
    std::string bytes;
    if (!reader.read(fileName, BoundedFileReader::RecordLimit, bytes)) {
        std::cerr << "error : " << fileName << "can't be read\n";
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
    restart(in);
    if (isPosFile(in.rdbuf()))
        return FormatPos;
    return FormatUnknown;
}

int MOveTree::Load(const std::string &fileName)
{
    // One read for recognising and parsing, so both see the same bytes.
    std::istringstream in;
    if (!readRecordFile(fileName, in))
        return 0;
    return LoadFrom(in);
}

int MOveTree::LoadFrom(std::istream &in)
{
    const RecordFormat format = DetectFormat(in);
    restart(in);
    std::streambuf *bytes = in.rdbuf();
    switch (format) {
    case FormatSgf:
        ReadSgf(in);
        return 1;
    case FormatBan: {
        Reset();
        int v = 0;
        while (readNumber(bytes, v))
            AddMoveAlternating(v / 100 - 1, v % 100 - 1);
        return 1;
    }
    case FormatPos: {
        Reset();
        const int n = bytes->sbumpc();
        for (int i = 0; i < n; ++i) {
            const int b = bytes->sbumpc();
            if (b == Traits::eof())
                break;
            AddMoveAlternating(b % BoardSize, b / BoardSize);
        }
        return 1;
    }
    default:
        return 0;
    }
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
    default:
        break;
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
