// Settings files that were never written by the program: junk must load
// without a crash and be read by the same rules as any other file.
#include "settings/KvParam.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include <sys/stat.h>

using namespace korvana;
using namespace korvana::test;

namespace {

const std::string defaultText = savedText(KvParam());

} // namespace

TEST(BadInput, NulBytesAreOrdinaryCharacters)
{
    KvParam param;
    const std::string file("[Sys\0tem]\nk\0ey=va\0lue\n\0\n", 24);
    loadText(param, file);
    EXPECT_EQ(param.GetText(std::string_view("Sys\0tem", 7), std::string_view("k\0ey", 4)), std::string("va\0lue", 6));
    EXPECT_EQ(param.GetText(std::string_view("Sys\0tem", 7), std::string_view("\0", 1)), "");
    EXPECT_EQ(param.GetText("Sys", "k"), std::nullopt);
    EXPECT_EQ(savedText(param), defaultText + file.substr(0, 22) + std::string("\0=\n", 3));
}

TEST(BadInput, MegabyteLines)
{
    KvParam param;
    const std::string digits(3'000'000, '7');
    const std::string name(2'000'000, 'n');
    loadText(param, "[Option]\nGameRule=" + digits + "\n[" + name + "]\n" + name + "\n");
    EXPECT_EQ(param.GetInt("Option", "GameRule"), INT_MAX);
    EXPECT_EQ(param.GetText("Option", "GameRule")->size(), digits.size());
    EXPECT_EQ(param.GetText(name, name), "");
    EXPECT_EQ(savedText(param).size(), defaultText.size() + digits.size() - 1 + 2 * name.size() + 5);
}

TEST(BadInput, NoEqualsAnywhere)
{
    KvParam param;
    std::string file = "[Lines]\n";
    for (int i = 0; i < 100000; ++i)
        file += "word" + std::to_string(i % 50000) + "\n";
    loadText(param, file);
    const AppRegistry *lines = param.FindSection("Lines");
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->keys().size(), 50000u);
    EXPECT_EQ(lines->keys().front().name(), "word0");
    EXPECT_EQ(lines->keys().back().name(), "word49999");
    EXPECT_EQ(param.GetInt("Lines", "word7"), 0);
}

TEST(BadInput, HundredThousandSections)
{
    KvParam param;
    std::string file;
    for (int i = 0; i < 100000; ++i)
        file += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    loadText(param, file);
    EXPECT_EQ(param.sections().size(), 5u + 100000u);
    EXPECT_EQ(param.GetInt("S99999", "k"), 99999);
    EXPECT_EQ(param.sections().back().name(), "S99999");
    EXPECT_EQ(savedText(param), defaultText + file);
}

TEST(BadInput, OneKeyRepeatedManyTimes)
{
    KvParam param;
    std::string file = "[System]\n";
    for (int i = 0; i < 200000; ++i)
        file += "ViewToolBar=" + std::to_string(i) + "\n\n";
    loadText(param, file);
    EXPECT_EQ(param.GetInt("System", "ViewToolBar"), 199999);
    EXPECT_EQ(param.FindSection("System")->keys().size(), KvParam().FindSection("System")->keys().size() + 1)
        << "the defaults and the empty name";
}

// Random bytes, with and without the '[' that makes them read, and biased
// towards the characters the reader cares about.
TEST(BadInput, RandomJunkLoadsAndKeepsEveryDefault)
{
    std::mt19937 random(20240601);
    const char special[] = {'[', ']', '=', '\n', '\r', '\0', ','};
    for (int round = 0; round < 300; ++round) {
        std::string junk(random() % 5000, '\0');
        for (char &c : junk)
            c = random() % 4 == 0 ? special[random() % sizeof special] : static_cast<char>(random());
        if (round % 2 == 0)
            junk.insert(junk.begin(), '[');
        KvParam param;
        loadText(param, junk);
        for (const char *key : {"Version", "Language", "ViewToolBar"})
            EXPECT_TRUE(param.GetText(key == std::string("Version") ? "Korvana" : "System", key).has_value());
        // Without CRs (a CR before a line end is dropped on reading) the
        // saved text reads back to itself.
        std::erase(junk, '\r');
        KvParam first;
        loadText(first, junk);
        std::string once = savedText(first);
        KvParam second;
        loadText(second, once);
        ASSERT_EQ(savedText(second), once) << "round " << round;
    }
}

TEST(BadInput, JunkFileOnDisk)
{
    CapturedLog log;
    ScratchDir dir;
    std::string file = dir.file("junk.ini");
    std::string junk;
    std::mt19937 random(7);
    for (int i = 0; i < 1 << 20; ++i)
        junk += static_cast<char>(random());
    writeAll(file, "[J]\n" + junk);
    KvParam param;
    EXPECT_EQ(param.LoadFile(file), 0);
    EXPECT_NE(param.FindSection("J"), nullptr);
    EXPECT_EQ(param.SaveFile(file), 0);
    KvParam again;
    EXPECT_EQ(again.LoadFile(file), 0);
    EXPECT_TRUE(log.messages().empty());
}

// Junk keys past the bounds are dropped with one log line; the program's own keys still read.
TEST(BadInput, UnknownKeysAreBounded)
{
    CapturedLog log;
    ScratchDir dir;
    const std::string file = dir.file("many.ini");
    std::string text = "[Junk]\n";
    const size_t junk = AppRegistryEx::MaxNewKeys + 50000;
    for (size_t i = 0; i < junk; ++i)
        text += "k" + std::to_string(i) + "=v\n";
    text += "[System]\nViewToolBar=0\n[More]\nx=1\n";
    writeAll(file, text);
    KvParam param;
    ASSERT_EQ(param.LoadFile(file), 0);
    EXPECT_EQ(param.FindSection("Junk")->keys().size(), AppRegistryEx::MaxNewKeys);
    EXPECT_EQ(param.GetInt("System", "ViewToolBar"), 0);
    EXPECT_EQ(param.GetText("More", "x"), std::nullopt);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"error: too many settings in " + file + ", 50001 dropped"});
}

TEST(BadInput, AFifoInPlaceOfTheFileDoesNotBlock)
{
    CapturedLog log;
    ScratchDir dir;
    const std::string file = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    KvParam param;
    EXPECT_EQ(param.LoadFile(file), 1);
    EXPECT_EQ(param.SaveFile(file), 1); // and it is not replaced by a file
    EXPECT_TRUE(std::filesystem::is_fifo(file));
    EXPECT_EQ(log.messages(), (std::vector<std::string>{"error: can't open " + file, "error: can't save " + file}));
}
