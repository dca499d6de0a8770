// The program's settings object: its defaults, and its file on disk.
#include "settings/KvParam.h"

#include "SettingsTestSupport.h"
#include "settings/ProgramPaths.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace korvana;
using namespace korvana::test;

namespace {

// Written out by hand, in the documented order.
const std::string defaultFile = "[Korvana]\n"
                                "Version=Korvana Version 3.0PR1.0\n"
                                "[System]\n"
                                "Language=0\n"
                                "DefaultGameFileFormat=1\n"
                                "DefaultClipboardTextFormat=\n"
                                "ViewBoardNumbering=1\n"
                                "ViewLatestMove=0\n"
                                "ViewWarning=0\n"
                                "ViewToolBar=1\n"
                                "ViewAxisCharacter=1\n"
                                "ViewGameTree=0\n"
                                "[Option]\n"
                                "GameRule=0\n"
                                "InputAssistant=0\n"
                                "SountEffect=1\n"
                                "BoardColor=962532\n"
                                "DefaultBoardColor=962532\n"
                                "[Database]\n"
                                "DatabaseDirName=\n"
                                "ViewDatabase=0\n"
                                "EnableEditing=0\n"
                                "AutomaticallyUpdate=0\n"
                                "NewDataID=1024\n"
                                "[WIN32]\n"
                                "PosWinForm=-1,-1\n"
                                "PosDBDirForm=-1,-1\n"
                                "PosTreeForm=-1,-1\n"
                                "SizeTreeForm=415,446\n";

/// defaultFile with oldLine taken out and newLine put at the end of its
/// section, before the line of nextSection (or at the end), as a set does.
std::string movedLast(const std::string &oldLine, const std::string &newLine, const std::string &nextSection)
{
    std::string text = defaultFile;
    std::size_t at = text.find(oldLine + "\n");
    text.erase(at, oldLine.size() + 1);
    std::size_t next = nextSection.empty() ? text.size() : text.find("[" + nextSection + "]\n");
    text.insert(next, newLine + "\n");
    return text;
}

} // namespace

TEST(KvParam, DefaultsInOrder)
{
    KvParam param;
    EXPECT_EQ(savedText(param), defaultFile);
    EXPECT_EQ(param.Prefix(), "korvana_");
    EXPECT_EQ(param.GetInt("Option", "BoardColor"), 0x0EAFE4);
    EXPECT_EQ(param.GetPointX("WIN32", "PosWinForm"), -1);
    EXPECT_EQ(param.GetPointY("WIN32", "PosDBDirForm"), -1);
    EXPECT_EQ(param.GetText("Database", "DatabaseDirName"), "");
}

TEST(KvParam, OneReadKeyOverridesItsDefaultAndMovesLast)
{
    KvParam param;
    loadText(param, "[System]\nViewToolBar=0\n");
    EXPECT_EQ(param.GetInt("System", "ViewToolBar"), 0);
    EXPECT_EQ(param.GetInt("System", "ViewAxisCharacter"), 1);
    EXPECT_EQ(param.GetInt("System", "ViewBoardNumbering"), 1);
    EXPECT_EQ(savedText(param), movedLast("ViewToolBar=1", "ViewToolBar=0", "Option"));
}

TEST(KvParam, ExtraSectionSurvivesAfterDefaults)
{
    KvParam param;
    loadText(param, "[Extra]\na=b\n");
    EXPECT_EQ(savedText(param), defaultFile + "[Extra]\na=b\n");
}

TEST(KvParam, SetOnMissingSectionCreatesNothing)
{
    KvParam param;
    EXPECT_EQ(param.SetInt("Nowhere", "x", 1), 1);
    EXPECT_EQ(param.SetText("system", "Language", "1"), 1);
    EXPECT_EQ(savedText(param), defaultFile);
    EXPECT_EQ(param.SetPoint("WIN32", "PosWinForm", 10, -20), 0);
    EXPECT_EQ(savedText(param), movedLast("PosWinForm=-1,-1", "PosWinForm=10,-20", ""));
}

// Files on disk.
class SettingsFile : public ::testing::Test {
protected:
    CapturedLog log;
    ScratchDir dir;
    std::string file = dir.file("korvana_test.ini");
};

TEST_F(SettingsFile, SaveThenLoadGivesTheSameSettings)
{
    KvParam param;
    param.SetInt("Option", "GameRule", 2);
    param.SetText("Database", "DatabaseDirName", "/data/adb/");
    param.AddSection("Extra").Set("k", "v");
    ASSERT_EQ(param.SaveFile(file), 0);
    EXPECT_EQ(readAll(file), savedText(param));
    KvParam again;
    ASSERT_EQ(again.LoadFile(file), 0);
    EXPECT_EQ(savedText(again), savedText(param));
    EXPECT_EQ(again.GetInt("Option", "GameRule"), 2);
    EXPECT_TRUE(log.messages().empty());
    EXPECT_EQ(dir.entries(), 1u);
}

TEST_F(SettingsFile, MissingFileIsLoggedAndDefaultsStay)
{
    KvParam param;
    EXPECT_EQ(param.LoadFile(file), 1);
    EXPECT_EQ(savedText(param), defaultFile);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: can't open " + file});
}

TEST_F(SettingsFile, DirectoryCannotBeLoaded)
{
    KvParam param;
    EXPECT_EQ(param.LoadFile(dir.path().string()), 1);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: can't open " + dir.path().string()});
}

TEST_F(SettingsFile, EmptyNames)
{
    KvParam param;
    EXPECT_EQ(param.LoadFile(""), 1);
    EXPECT_TRUE(log.messages().empty()) << "an empty name fails without a log entry";
    EXPECT_EQ(param.SaveFile(""), 1);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: can't save "});
    EXPECT_EQ(param.Load(), 1) << "no path stored yet";
}

TEST_F(SettingsFile, UnwritablePlaceIsLoggedAndSettingsUnchanged)
{
    KvParam param;
    param.SetInt("Option", "GameRule", 1);
    std::string before = savedText(param);
    std::string nowhere = dir.file("no-such-dir/korvana_test.ini");
    EXPECT_EQ(param.SaveFile(nowhere), 1);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: can't save " + nowhere});
    EXPECT_EQ(savedText(param), before);
}

TEST_F(SettingsFile, SaveFailingHalfWayKeepsThePreviousFile)
{
    writeAll(file, "[System]\nViewToolBar=0\n");
    KvParam param;
    // A file-size limit stops the write after 100 bytes, like a full disk.
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = param.SaveFile(file);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 1);
    EXPECT_EQ(readAll(file), "[System]\nViewToolBar=0\n");
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: can't save " + file});
    EXPECT_EQ(dir.entries(), 1u) << "the temporary file was left behind";
}

TEST_F(SettingsFile, PathFromTheProgramPath)
{
    KvParam param;
    param.SetPath(dir.file("korvana"));
    std::string expected = dir.file(param.FileNameFor(loginName()));
    EXPECT_EQ(param.Path(), expected);
    EXPECT_EQ(param.Load(), 1);
    EXPECT_EQ(param.Save(), 0);
    EXPECT_EQ(readAll(expected), defaultFile);
    EXPECT_EQ(param.Load(), 0);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: can't open " + expected});
}

TEST(KvParamFileName, UserNameOrSysParam)
{
    KvParam param;
    EXPECT_EQ(param.FileNameFor(std::string("alice")), "korvana_alice.ini");
    EXPECT_EQ(param.FileNameFor(std::nullopt), "korvana_sys_param.ini");
    param.SetPath("");
    EXPECT_EQ(param.Path(), param.FileNameFor(loginName()));
    param.SetPath("korvana");
    EXPECT_EQ(param.Path(), param.FileNameFor(loginName())) << "no directory: the bare file name";
}

TEST(AppRegistryFile, OneSectionRoundTripAndErrors)
{
    CapturedLog log;
    ScratchDir dir;
    AppRegistry section("Solo");
    section.Set("a", "1");
    section.Set("", "");
    ASSERT_EQ(section.SaveFile(dir.file("solo.ini")), 0);
    EXPECT_EQ(readAll(dir.file("solo.ini")), "[Solo]\na=1\n=\n");
    AppRegistry read;
    ASSERT_EQ(read.LoadFile(dir.file("solo.ini")), 0);
    EXPECT_EQ(read.name(), "Solo");
    ASSERT_NE(read.Find("a"), nullptr);
    EXPECT_EQ(*read.Find("a"), "1");
    EXPECT_EQ(read.keys().size(), 2u);

    EXPECT_EQ(read.LoadFile(dir.file("none.ini")), 1);
    EXPECT_EQ(read.SaveFile(dir.file("none/none.ini")), 1);
    EXPECT_EQ(log.messages(), (std::vector<std::string>{"error: can't open " + dir.file("none.ini"),
                                                        "error: can't save " + dir.file("none/none.ini")}));
}

namespace {

TEST(KvParamTyped, DefaultsAndWrittenNumbersReadAsTheirTypes)
{
    KvParam p;
    EXPECT_TRUE(p.get(Settings::ViewBoardNumbering));
    EXPECT_FALSE(p.get(Settings::ViewWarning));
    EXPECT_EQ(p.get(Settings::BoardColor), 962532);
    EXPECT_EQ(p.get(Settings::SizeTreeForm), (SettingPoint{415, 446}));
    EXPECT_EQ(p.get(Settings::DatabaseDirName), "");
    EXPECT_EQ(p.get(Settings::Rule), GameRule::Renju);

    const std::pair<const char *, GameRule> rules[] = {
        {"1", GameRule::Gomoku}, {"2", GameRule::Wc1998}, {"3", GameRule::Other},
        {"-1", GameRule::Other}, {"x", GameRule::Renju}, // no number reads as 0
    };
    for (const auto &[text, rule] : rules) {
        p.SetText("Option", "GameRule", text);
        EXPECT_EQ(p.get(Settings::Rule), rule) << text;
    }
    p.set(Settings::Rule, GameRule::Wc1998);
    p.set(Settings::ViewWarning, true);
    p.set(Settings::PosWinForm, {3, -4});
    EXPECT_EQ(p.GetText("Option", "GameRule"), "2");
    EXPECT_EQ(p.GetText("System", "ViewWarning"), "1");
    EXPECT_EQ(p.GetText("WIN32", "PosWinForm"), "3,-4");
    p.SetText("System", "ViewWarning", "7");
    EXPECT_TRUE(p.get(Settings::ViewWarning)) << "any number but 0 is on";
}

} // namespace
