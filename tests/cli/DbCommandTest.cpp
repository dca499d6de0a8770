// korvana-cli db lookup / update, run as the real program.
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CliRun {
    int status;
    std::string out;
};

// Runs korvana-cli with arguments (each single-quoted); stderr is discarded.
CliRun cli(const std::vector<std::string> &args)
{
    std::string command = KORVANA_BIN_DIR "/korvana-cli";
    for (const std::string &a : args)
        command += " '" + a + "'";
    command += " 2>/dev/null";
    FILE *pipe = ::popen(command.c_str(), "r");
    CliRun run{-1, {}};
    if (!pipe)
        return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DbCommand : public testing::Test {
protected:
    korvana::test::ScratchDir scratch_;
    const std::string dir_ = scratch_.dir();
};

struct LookupCase {
    const char *moves;
    const char *out;
    int status;
};

TEST_F(DbCommand, LookupMapsIntoTheAskedOrientation)
{
    ASSERT_EQ(cli({"db", "update", "--dir", dir_, "h8,i8,i9,**,", "j9", "g7"}).status, 0);
    EXPECT_EQ(readText(dir_ + "kumo003.adb"), "210 1 3\r\n1024 112 113 128 129 0 96 0\r\n");
    const LookupCase cases[] = {
        {"h8,i8,i9,**,", "j9 g7\n", 0},  {"h8,i9,i8,**,", "not found\n", 1}, // colours differ
        {"i9,i8,h8", "j9 g7\n", 0},                                          // another move order
        {"h8,g8,g7,**,", "f7 i9\n", 0},                                      // a half turn (kind 2)
        {"h8,h9,g9,**,", "gA i7\n", 0},                                      // a quarter turn (kind 3)
        {"h8, i8, i9,", "j9 g7\n", 0},                                       // spaces and no terminator
        {"h8,i8,**,", "not found\n", 1},                                     // no file for two stones
    };
    for (const LookupCase &c : cases) {
        const CliRun run = cli({"db", "lookup", "--dir", dir_, c.moves});
        EXPECT_EQ(run.out, c.out) << c.moves;
        EXPECT_EQ(run.status, c.status) << c.moves;
    }
}

TEST_F(DbCommand, UpdateReplacesAndDeletes)
{
    ASSERT_EQ(cli({"db", "update", "--dir", dir_, "h8,i8,**,", "h9"}).status, 0);
    ASSERT_EQ(cli({"db", "update", "--dir", dir_, "--id", "7", "h8,g8,**,", "oF", "a1"}).status, 0);
    EXPECT_EQ(readText(dir_ + "kumo002.adb"), "210 1 2\r\n7 112 111 224 0 0 0\r\n");
    EXPECT_EQ(cli({"db", "lookup", "--dir", dir_, "h8,i8,**,"}).out, "a1 oF\n");
    ASSERT_EQ(cli({"db", "update", "--dir", dir_, "h8,i8,**,"}).status, 0);
    EXPECT_EQ(readText(dir_ + "kumo002.adb"), "210 0 2\r\n");
    EXPECT_EQ(cli({"db", "lookup", "--dir", dir_, "h8,i8,**,"}).status, 1);
}

TEST_F(DbCommand, EmptyBoard)
{
    ASSERT_EQ(cli({"db", "update", "--dir", dir_, "", "h8"}).status, 0);
    EXPECT_EQ(readText(dir_ + "kumo000.adb"), "210 1 0\r\n1024 112 0\r\n");
    EXPECT_EQ(cli({"db", "lookup", "--dir", dir_, "**,"}).out, "h8\n");
}

TEST_F(DbCommand, AnUnreadBookIsNotSavedOver)
{
    const std::string book = "230 2 3\r\n1024 112 113 128 129 0 96 0\r\n";
    std::ofstream(dir_ + "kumo003.adb", std::ios::binary) << book;
    EXPECT_EQ(cli({"db", "update", "--dir", dir_, "a1,b1,c1,**,", "d1"}).status, 1);
    EXPECT_EQ(readText(dir_ + "kumo003.adb"), book);
}

TEST_F(DbCommand, TheDirectoryIsTakenAsGiven)
{
    std::filesystem::create_directory(dir_ + "book");
    ASSERT_EQ(cli({"db", "update", "--dir", dir_ + "book", "h8,", "h9"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ + "book/kumo001.adb"));
    EXPECT_FALSE(std::filesystem::exists(dir_ + "kumo001.adb"));
}

// A bad book is worth an error-log entry, which belongs beside the program
// (or in the per-user directory), never in the working directory.
TEST_F(DbCommand, TheErrorLogLivesBesideTheProgram)
{
    namespace fs = std::filesystem;
    for (const char *dir : {"prog", "work", "book", "config"})
        fs::create_directory(dir_ + dir);
    fs::copy_file(KORVANA_BIN_DIR "/korvana-cli", dir_ + "prog/korvana-cli");
    std::ofstream(dir_ + "book/kumo001.adb") << "garbage\n";
    const std::string run = "cd '" + dir_ + "work' && XDG_CONFIG_HOME='" + dir_ +
                            "config' ../prog/korvana-cli db lookup --dir ../book h8 >/dev/null 2>&1";
    EXPECT_EQ(std::system(run.c_str()) >> 8, 1);
    EXPECT_NE(readText(dir_ + "prog/error.log").find("error: can't read this version"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir_ + "work"));
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes to a read-only program directory; the per-user fall-back is not reached";
    fs::remove(dir_ + "prog/error.log");
    fs::permissions(dir_ + "prog", fs::perms::owner_read | fs::perms::owner_exec);
    std::ofstream(dir_ + "book/kumo001.adb") << "garbage again\n";
    EXPECT_EQ(std::system(run.c_str()) >> 8, 1);
    fs::permissions(dir_ + "prog", fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(dir_ + "prog/error.log"));
    EXPECT_NE(readText(dir_ + "config/korvana/error.log").find("error:"), std::string::npos);
}

TEST_F(DbCommand, BadArgumentsAreRefused)
{
    const std::vector<std::vector<std::string>> cases = {
        {"db"},
        {"db", "find", "h8,"},
        {"db", "lookup", "--dir", "x", "h8,zz,"},
        {"db", "lookup", "--dir", "x", "h8,h8,"},
        {"db", "lookup", "--dir", "x", "h8,", "i8,"},
        {"db", "update", "--dir", "x", "h8,i8,", "h8"}, // a stone stands there
        {"db", "update", "--dir", "x", "h8,i8,", "p1"},
        {"db", "update", "--dir", "x", "--id", "1x", "h8,"},
    };
    for (const auto &args : cases)
        EXPECT_EQ(cli(args).status, 2) << args.back();
    EXPECT_FALSE(std::filesystem::exists("x"));
}

} // namespace
