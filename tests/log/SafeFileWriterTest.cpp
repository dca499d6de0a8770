#include "log/SafeFileWriter.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvana;
using namespace korvana::test;

TEST(SafeFileWriter, CommitReplacesTheWholeContent)
{
    ScratchDir dir;
    std::string file = dir.file("a.ini");
    writeAll(file, "old content that is longer than the new one\n");
    SafeFileWriter out(file);
    ASSERT_TRUE(out.open());
    EXPECT_TRUE(out.write("new\n"));
    EXPECT_TRUE(out.write(""));
    EXPECT_TRUE(out.commit());
    EXPECT_EQ(readAll(file), "new\n");
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(SafeFileWriter, WithoutCommitTheOldFileStaysAndNoTemporaryRemains)
{
    ScratchDir dir;
    std::string file = dir.file("a.ini");
    writeAll(file, "old\n");
    {
        SafeFileWriter out(file);
        ASSERT_TRUE(out.open());
        out.write("half of the new");
    }
    EXPECT_EQ(readAll(file), "old\n");
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(SafeFileWriter, FailsWhereNoFileCanBeMade)
{
    ScratchDir dir;
    SafeFileWriter missingDir(dir.file("no/such/dir/a.ini"));
    EXPECT_FALSE(missingDir.open());
    EXPECT_FALSE(missingDir.write("x"));
    EXPECT_FALSE(missingDir.commit());
    SafeFileWriter empty("");
    EXPECT_FALSE(empty.open());
}

TEST(SafeFileWriter, RenameOntoADirectoryFailsAndCleansUp)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "taken");
    SafeFileWriter out(dir.file("taken"));
    ASSERT_TRUE(out.open());
    EXPECT_TRUE(out.write("x"));
    EXPECT_FALSE(out.commit());
    EXPECT_EQ(dir.entries(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken"));
}

TEST(SafeFileWriter, KeepsThePermissionsOfTheReplacedFile)
{
    ScratchDir dir;
    std::string file = dir.file("a.ini");
    writeAll(file, "old\n");
    ::chmod(file.c_str(), 0640);
    SafeFileWriter out(file);
    ASSERT_TRUE(out.open());
    out.write("new\n");
    ASSERT_TRUE(out.commit());
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SafeFileWriter, AWriteThatFailsHalfWayKeepsTheOldFile)
{
    // A file-size limit makes the disk "full" after 100 bytes.
    ScratchDir dir;
    std::string file = dir.file("a.ini");
    writeAll(file, "old\n");
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok;
    {
        SafeFileWriter out(file);
        ok = out.open() && out.write(std::string(1000, 'n')) && out.commit();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(readAll(file), "old\n");
    EXPECT_EQ(dir.entries(), 1u);
}

namespace {

bool save(const std::string &path, const std::string &text, std::string *error = nullptr)
{
    SafeFileWriter out(path);
    const bool ok = out.open() && out.write(text) && out.commit();
    if (error)
        *error = out.error();
    return ok;
}

} // namespace

TEST(SafeFileWriter, SavesThroughSymbolicLinksToTheirTarget)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "real");
    writeAll(dir.file("real/a.sgf"), "old");
    std::filesystem::create_symlink("real/a.sgf", dir.path() / "link");
    std::filesystem::create_symlink("link", dir.path() / "link2");
    std::filesystem::create_symlink("real/new.sgf", dir.path() / "dangling");
    ASSERT_TRUE(save(dir.file("link2"), "new"));
    ASSERT_TRUE(save(dir.file("dangling"), "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "dangling"));
    EXPECT_EQ(readAll(dir.file("real/a.sgf")), "new");
    EXPECT_EQ(readAll(dir.file("real/new.sgf")), "made");
    EXPECT_EQ(dir.entries(), 4u);
}

struct RefusedTarget {
    const char *name;
    void (*make)(const std::string &path);
    const char *reason;
};
[[maybe_unused]] void PrintTo(const RefusedTarget &c, std::ostream *os) { *os << c.name; }

class SafeFileWriterRefuses : public ::testing::TestWithParam<RefusedTarget> {};

TEST_P(SafeFileWriterRefuses, KeepsTheTargetAndSaysWhy)
{
    ScratchDir dir;
    const std::string target = dir.file("target");
    GetParam().make(target);
    struct stat before {};
    ASSERT_EQ(::lstat(target.c_str(), &before), 0);
    std::string error;
    EXPECT_FALSE(save(target, "new", &error));
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
    struct stat after {};
    ASSERT_EQ(::lstat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(dir.entries(), 1u);
}

// A file without write bits is read-only for root as well.
INSTANTIATE_TEST_SUITE_P(
    Targets, SafeFileWriterRefuses,
    ::testing::Values(
        RefusedTarget{"Fifo", [](const std::string &p) { ::mkfifo(p.c_str(), 0644); }, "is not a regular file"},
        RefusedTarget{"Directory", [](const std::string &p) { ::mkdir(p.c_str(), 0755); }, "is not a regular file"},
        RefusedTarget{"ReadOnly",
                      [](const std::string &p) {
                          writeAll(p, "old");
                          ::chmod(p.c_str(), 0444);
                      },
                      "is read-only"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SafeFileWriter, NewFilesGetTheUsualPermissions)
{
    ScratchDir dir;
    for (mode_t mask : {022u, 077u}) {
        const mode_t saved = ::umask(mask);
        const std::string file = dir.file("new" + std::to_string(mask));
        const bool ok = save(file, "x");
        ::umask(saved);
        ASSERT_TRUE(ok);
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
    }
}

TEST(SafeFileWriter, RemovesTemporariesOfDeadProcessesOnly)
{
    ScratchDir dir;
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string prefix = SafeFileWriter::temporaryPrefix("a.adb");
    const std::string stale = dir.file(prefix + std::to_string(dead) + "-3.tmp");
    const std::string live = dir.file(prefix + std::to_string(::getppid()) + "-0.tmp");
    const std::string other = dir.file(SafeFileWriter::temporaryPrefix("b.adb") + std::to_string(dead) + "-0.tmp");
    for (const std::string &f : {stale, live, other})
        writeAll(f, "half");
    ASSERT_TRUE(save(dir.file("a.adb"), "new"));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(live));
    EXPECT_TRUE(std::filesystem::exists(other));
}

TEST(SafeFileWriter, SavesANameOfTheLongestLength)
{
    ScratchDir dir;
    const std::string longName(250, 'n');
    ASSERT_TRUE(save(dir.file(longName), "new"));
    EXPECT_EQ(readAll(dir.file(longName)), "new");
    EXPECT_NE(SafeFileWriter::temporaryPrefix(longName + "1"), SafeFileWriter::temporaryPrefix(longName + "2"));
}
