#include "log/SafeFileWriter.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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
    rlimit saved {};
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
