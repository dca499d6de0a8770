#include "log/BoundedFileReader.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace korvana;
using namespace korvana::test;

struct ReadCase {
    const char *name;
    std::string (*make)(const ScratchDir &dir); ///< answers the path to read
    const char *reason;                         ///< empty: the read succeeds
};
[[maybe_unused]] void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }

class BoundedFileReaderCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(BoundedFileReaderCases, ReadsRegularFilesAndRefusesTheRest)
{
    ScratchDir dir;
    const std::string path = GetParam().make(dir);
    BoundedFileReader reader;
    std::string bytes = "stale";
    const bool ok = reader.read(path, 100, bytes);
    const std::string reason = GetParam().reason;
    EXPECT_EQ(ok, reason.empty());
    EXPECT_EQ(reader.reason().substr(0, reason.size()), reason);
    EXPECT_EQ(bytes, ok ? std::string(100, 'x') : "");
}

// The FIFO has no writer: opening it must not block.
INSTANTIATE_TEST_SUITE_P(
    Inputs, BoundedFileReaderCases,
    ::testing::Values(ReadCase{"AtTheLimit",
                               [](const ScratchDir &d) {
                                   writeAll(d.file("f"), std::string(100, 'x'));
                                   return d.file("f");
                               },
                               ""},
                      ReadCase{"OverTheLimit",
                               [](const ScratchDir &d) {
                                   writeAll(d.file("f"), std::string(101, 'x'));
                                   return d.file("f");
                               },
                               "is larger than 100 bytes"},
                      ReadCase{"Directory", [](const ScratchDir &d) { return d.dir(); }, "is a directory"},
                      ReadCase{"Fifo",
                               [](const ScratchDir &d) {
                                   ::mkfifo(d.file("p").c_str(), 0600);
                                   return d.file("p");
                               },
                               "is not a regular file"},
                      ReadCase{"EndlessDevice", [](const ScratchDir &) { return std::string("/dev/zero"); },
                               "is not a regular file"},
                      ReadCase{"Missing", [](const ScratchDir &d) { return d.file("none"); },
                               "cannot be read: No such file or directory"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BoundedFileReader, NamesTheLimitInMegabytes)
{
    ScratchDir dir;
    writeAll(dir.file("f"), "x");
    ::truncate(dir.file("f").c_str(), (64 << 20) + 1);
    BoundedFileReader reader;
    std::string bytes;
    EXPECT_FALSE(reader.read(dir.file("f"), BoundedFileReader::RecordLimit, bytes));
    EXPECT_EQ(reader.reason(), "is larger than 64 MB");
    EXPECT_FALSE(reader.missing());
}
