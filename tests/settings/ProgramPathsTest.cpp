#include "settings/ProgramPaths.h"

#include "support/ScratchDir.h"
#include "settings/KvParam.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace korvana;
using namespace korvana::test;

namespace {

/// Sets or clears environment variables for one test and puts them back after.
class Environment {
public:
    ~Environment()
    {
        for (auto &[name, value] : saved_)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
    void set(const std::string &name, const char *value)
    {
        if (!saved_.count(name)) {
            const char *old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? ::setenv(name.c_str(), value, 1) : ::unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

} // namespace

TEST(ProgramPaths, ExecutableIsResolvedFromTheProcess)
{
    std::string path = executablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(path.ends_with("/tests_settings")) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    // The build directory is writable, so it is the program directory itself.
    EXPECT_EQ(programDirectory(), directoryPart(path));
}

TEST(ProgramPaths, DirectoryPart)
{
    EXPECT_EQ(directoryPart("/usr/bin/korvana"), "/usr/bin/");
    EXPECT_EQ(directoryPart("/korvana"), "/");
    EXPECT_EQ(directoryPart("korvana"), "");
    EXPECT_EQ(directoryPart(""), "");
    EXPECT_EQ(directoryPart("a/b/"), "a/b/");
}

TEST(ProgramPaths, LoginNameIsTheAccountTheProcessRunsAs)
{
    auto name = loginName();
    passwd *entry = ::getpwuid(::geteuid());
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, entry->pw_name);
}

struct PerUserCase {
    const char *name;
    const char *xdg;  ///< nullptr: unset
    const char *home; ///< nullptr: unset
    std::string expected;
    friend void PrintTo(const PerUserCase &c, std::ostream *os) { *os << c.name; }
};

class PerUserDirectory : public ::testing::TestWithParam<PerUserCase> {};

TEST_P(PerUserDirectory, FromTheEnvironment)
{
    Environment env;
    env.set("XDG_CONFIG_HOME", GetParam().xdg);
    env.set("HOME", GetParam().home);
    EXPECT_EQ(perUserDirectory(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PerUserDirectory,
                         ::testing::Values(PerUserCase{"XdgSet", "/x/cfg", "/home/u", "/x/cfg/korvana/"},
                                           PerUserCase{"XdgWithSlash", "/x/cfg/", "/home/u", "/x/cfg/korvana/"},
                                           PerUserCase{"XdgUnset", nullptr, "/home/u", "/home/u/.config/korvana/"},
                                           PerUserCase{"XdgEmpty", "", "/home/u/", "/home/u/.config/korvana/"},
                                           PerUserCase{"XdgRelativeIgnored", "cfg", "/home/u",
                                                       "/home/u/.config/korvana/"}),
                         [](const auto &info) { return std::string(info.param.name); });

class ProgramDirectoryRule : public ::testing::Test {
protected:
    ScratchDir dir;
    Environment env;
    std::string config = dir.file("config");
    void SetUp() override { env.set("XDG_CONFIG_HOME", config.c_str()); }
};

TEST_F(ProgramDirectoryRule, WritableDirectoryIsItself)
{
    std::string programDir = dir.path().string() + "/";
    EXPECT_EQ(programDirectory(programDir), programDir);
    EXPECT_FALSE(std::filesystem::exists(config));
}

TEST_F(ProgramDirectoryRule, UnusableDirectoryGivesThePerUserOneCreated)
{
    std::string standIn = config + "/korvana/";
    EXPECT_EQ(programDirectory(dir.file("missing") + "/"), standIn);
    EXPECT_TRUE(std::filesystem::is_directory(standIn));
    writeAll(dir.file("plain"), "not a directory");
    EXPECT_EQ(programDirectory(dir.file("plain") + "/"), standIn) << "already there this time";
}

TEST_F(ProgramDirectoryRule, NoStandInKeepsTheDirectory)
{
    writeAll(dir.file("plain"), "");
    env.set("XDG_CONFIG_HOME", (dir.file("plain") + "/cfg").c_str());
    EXPECT_EQ(programDirectory("/no/such/dir/"), "/no/such/dir/");
    EXPECT_EQ(programDirectory(""), "");
}

TEST_F(ProgramDirectoryRule, SettingsFileFollowsTheStandIn)
{
    KvParam param;
    param.SetPath("/no/such/dir/korvana");
    EXPECT_EQ(param.Path(), config + "/korvana/" + param.FileNameFor(loginName()));
    EXPECT_EQ(param.Save(), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(param.Path()));
}
