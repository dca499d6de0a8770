#include "log/ErrorLog.h"

#include "support/ErrorLogEntry.h"
#include "support/ScratchDir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace korvana;
using namespace korvana::test;

namespace {

/// Splits at CR, the end of each entry written here.
std::vector<std::string> entriesOf(const std::string &text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t cr; (cr = text.find('\r', start)) != std::string::npos; start = cr + 1)
        out.push_back(text.substr(start, cr - start));
    return out;
}

/// A line of exactly `length` characters whose text tells its index.
std::string numberedLine(int index, std::size_t length)
{
    std::string line = "line " + std::to_string(index) + " ";
    line.resize(length, '.');
    return line;
}

} // namespace

struct StampCase {
    std::tm time;
    const char *text;
    friend void PrintTo(const StampCase &c, std::ostream *os) { *os << c.text; }
};

class TimeStamp : public ::testing::TestWithParam<StampCase> {};

TEST_P(TimeStamp, PrintsYearMonthDayHourMinuteDotSecond)
{
    EXPECT_EQ(ErrorLog::timeStamp(GetParam().time), GetParam().text);
}

static std::tm at(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeStamp,
                         ::testing::Values(StampCase{at(2000, 5, 17, 13, 4, 9), "2000/05/17 13:04.09"},
                                           StampCase{at(1999, 12, 31, 23, 59, 59), "1999/12/31 23:59.59"},
                                           StampCase{at(2024, 1, 1, 0, 0, 0), "2024/01/01 00:00.00"},
                                           StampCase{at(987, 2, 3, 4, 5, 6), " 987/02/03 04:05.06"}));

TEST(ErrorLog, EntryIsStampSeparatorMessageAndOneCr)
{
    ScratchDir dir;
    ErrorLog log(dir.file("error.log"));
    log.log("error: can't save /home/u/korvana_u.ini");
    log.log("second");
    std::string text = readAll(dir.file("error.log"));
    EXPECT_EQ(text.find('\n'), std::string::npos);
    ASSERT_EQ(text.back(), '\r');
    auto entries = entriesOf(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(messageOfEntry(entries[0]), "error: can't save /home/u/korvana_u.ini") << entries[0];
    EXPECT_EQ(messageOfEntry(entries[1]), "second") << entries[1];
}

TEST(ErrorLog, UnopenableFileLosesTheEntrySilently)
{
    ScratchDir dir;
    ErrorLog log(dir.file("missing-dir/error.log"));
    EXPECT_NO_THROW(log.log("lost"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing-dir")));
    ErrorLog onDirectory(dir.path().string());
    EXPECT_NO_THROW(onDirectory.log("lost"));
    // A FIFO without a reader would block a plain open for writing.
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ErrorLog onFifo(dir.file("fifo"));
    onFifo.log("lost");
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("fifo")));
}

TEST(ErrorLog, InstanceCanBePointedElsewhere)
{
    ScratchDir dir;
    std::string before = ErrorLog::instance().fileName();
    ErrorLog::instance().setFileName(dir.file("other.log"));
    ErrorLog::instance().log("redirected");
    ErrorLog::instance().setFileName(before);
    EXPECT_EQ(entriesOf(readAll(dir.file("other.log"))).size(), 1u);
}

// The size limit: file content in, the lines kept before the new entry out.
struct TrimCase {
    const char *name;
    std::string content;
    std::string kept; ///< expected file content before the new entry
    friend void PrintTo(const TrimCase &c, std::ostream *os) { *os << c.name; }
};

class SizeLimit : public ::testing::TestWithParam<TrimCase> {};

TEST_P(SizeLimit, KeepsTheNewerHalfThenAppends)
{
    ScratchDir dir;
    std::string file = dir.file("error.log");
    writeAll(file, GetParam().content);
    ErrorLog(file).log("new");
    std::string text = readAll(file);
    ASSERT_GE(text.size(), GetParam().kept.size());
    EXPECT_TRUE(text.compare(0, GetParam().kept.size(), GetParam().kept) == 0)
        << "kept " << text.size() << " bytes, expected a prefix of " << GetParam().kept.size();
    std::string tail = text.substr(GetParam().kept.size());
    ASSERT_TRUE(!tail.empty() && tail.back() == '\r') << tail.substr(0, 80);
    tail.pop_back();
    EXPECT_EQ(messageOfEntry(tail), "new") << tail.substr(0, 80);
    EXPECT_EQ(dir.entries(), 1u) << "a temporary file was left behind";
}

/// n numbered lines of `length` characters.
static std::vector<std::string> lines(int n, std::size_t length)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(numberedLine(i, length));
    return out;
}

static std::string join(const std::vector<std::string> &ls, std::size_t from, const std::string &end)
{
    std::string out;
    for (std::size_t i = from; i < ls.size(); ++i)
        out += ls[i] + end;
    return out;
}

static std::vector<TrimCase> trimCases()
{
    std::vector<TrimCase> cases;
    // Exactly at the limit nothing is dropped.
    std::string atLimit = join(lines(1000, 999), 0, "\n");
    cases.push_back({"AtLimitUntouched", atLimit, atLimit});
    // One byte more and the next entry trims first: 1001 lines, keep 501..1000.
    {
        auto ls = lines(1000, 999);
        ls.push_back("x");
        std::string content = join(ls, 0, "\n");
        content.pop_back(); // 1,000,001 bytes, last line "x" without its LF
        EXPECT_EQ(content.size(), 1000001u);
        cases.push_back(
            {"OneByteOverTrims", content, join(ls, 501, "\n").substr(0, join(ls, 501, "\n").size() - 1) + "\r"});
    }
    // Ten readable LF lines (then an unreadable one that brings the size over): 6 to 9 stay.
    {
        auto ls = lines(10, 100);
        cases.push_back({"TenLfLinesKeepSixToNine", join(ls, 0, "\n") + std::string(1000001, '#'), join(ls, 6, "\n")});
    }
    // The program's own log: CR-ended entries only. Half of them must stay.
    {
        auto ls = lines(30000, 40);
        cases.push_back({"CrOnlyEntriesKeepNewerHalf", join(ls, 0, "\r"), join(ls, 15001, "\r")});
    }
    // CR LF and a mix of all three line ends.
    {
        auto ls = lines(25000, 40);
        cases.push_back({"CrLfLines", join(ls, 0, "\r\n"), join(ls, 12501, "\r\n")});
        std::string mixed;
        std::string keptMixed;
        const char *ends[] = {"\r", "\n", "\r\n"};
        for (std::size_t i = 0; i < ls.size(); ++i) {
            mixed += ls[i] + ends[i % 3];
            if (i > ls.size() / 2)
                keptMixed += ls[i] + ends[i % 3];
        }
        cases.push_back({"MixedLineEnds", mixed, keptMixed});
    }
    // A first line too long to read: nothing is read, the file empties.
    cases.push_back({"FirstLineTooLong", std::string(1000001, 'a'), ""});
    // Reading stops at the first line longer than 4095 characters.
    {
        auto ls = lines(8, 4095); // longest readable lines
        std::string content = join(ls, 0, "\r");
        content += std::string(4096, 'z') + "\r";
        content += std::string(1000001, 'q');
        cases.push_back({"StopsAtFirstLineOver4095", content, join(ls, 5, "\r")});
    }
    // NUL bytes are just characters.
    {
        std::vector<std::string> ls;
        for (int i = 0; i < 400; ++i)
            ls.push_back(std::string(4000, '\0') + std::to_string(i));
        cases.push_back({"NulBytes", join(ls, 0, "\n"), join(ls, 201, "\n")});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, SizeLimit, ::testing::ValuesIn(trimCases()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ErrorLog, ThreadsNeverInterleaveEntries)
{
    ScratchDir dir;
    std::string file = dir.file("error.log");
    // Start just over the limit so that trimming races with appending too.
    auto ls = lines(25000, 40);
    writeAll(file, join(ls, 0, "\r"));
    constexpr int threads = 4, each = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            ErrorLog log(file);
            for (int i = 0; i < each; ++i)
                log.log("thread " + std::to_string(t) + " entry " + std::to_string(i));
        });
    for (auto &w : workers)
        w.join();
    auto entries = entriesOf(readAll(file));
    int logged = 0;
    for (const std::string &e : entries)
        if (messageOfEntry(e))
            ++logged;
    EXPECT_EQ(logged, threads * each);
    EXPECT_EQ(entries.size(), 12499u + threads * each);
}
