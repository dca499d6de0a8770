// The reading and writing rules of the settings file, as tables: file text
// in, queries and saved text out.
#include "settings/AppRegistryEx.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>

using namespace korvana;

namespace {

/// A small file family with two default sections, so expected texts stay short.
class TestRegistry : public AppRegistryEx {
public:
    TestRegistry() { Initialise(); }
    std::string Prefix() const override { return "test_"; }
    void Initialise() override
    {
        AddSection("A").Set("x", "1");
        AddSection("A").Set("y", "2");
        AddSection("B").Set("z", "3");
    }
};

const std::string defaultsText = "[A]\nx=1\ny=2\n[B]\nz=3\n";

struct Query {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

struct LoadCase {
    const char *name;
    std::string file;
    std::vector<Query> queries;
    std::string saved;
    friend void PrintTo(const LoadCase &c, std::ostream *os) { *os << c.name; }
};

} // namespace

class LoadRules : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadRules, QueriesAndSavedText)
{
    TestRegistry registry;
    loadText(registry, GetParam().file);
    for (const Query &q : GetParam().queries)
        EXPECT_EQ(registry.GetText(q.section, q.key), q.value) << "[" << q.section << "] " << q.key;
    EXPECT_EQ(savedText(registry), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadRules,
    ::testing::Values(
        LoadCase{"EmptyFile", "", {{"A", "x", "1"}}, defaultsText},
        LoadCase{"NotStartingWithBracketIsIgnored", "x=9\n[A]\nx=5\n", {{"A", "x", "1"}}, defaultsText},
        LoadCase{"LeadingBlankLineIsIgnored", "\n[A]\nx=5\n", {{"A", "x", "1"}}, defaultsText},
        LoadCase{"ReadKeyReplacesDefaultAndMovesLast",
                 "[A]\nx=5\n",
                 {{"A", "x", "5"}, {"A", "y", "2"}},
                 "[A]\ny=2\nx=5\n[B]\nz=3\n"},
        LoadCase{"EmptyLineIsKeyWithEmptyName", "[A]\n\nx=1\n", {{"A", "", ""}}, "[A]\ny=2\n=\nx=1\n[B]\nz=3\n"},
        LoadCase{
            "LineWithoutEqualsHasEmptyValue", "[B]\nflag\n", {{"B", "flag", ""}}, "[A]\nx=1\ny=2\n[B]\nz=3\nflag=\n"},
        LoadCase{"FirstEqualsSplits", "[B]\nk=a=b\n", {{"B", "k", "a=b"}}, "[A]\nx=1\ny=2\n[B]\nz=3\nk=a=b\n"},
        LoadCase{"UnknownSectionKeptAfterDefaults",
                 "[Extra]\na=b\n",
                 {{"Extra", "a", "b"}},
                 defaultsText + "[Extra]\na=b\n"},
        LoadCase{"UnknownSectionsInReadOrder",
                 "[Q]\nq=1\n[A]\nx=1\n[P]\np=1\n",
                 {},
                 "[A]\ny=2\nx=1\n[B]\nz=3\n[Q]\nq=1\n[P]\np=1\n"},
        LoadCase{"SectionNameEndsAtFirstBracket", "[A]junk]\nx=7\n", {{"A", "x", "7"}}, "[A]\ny=2\nx=7\n[B]\nz=3\n"},
        LoadCase{"SectionNameWithoutBracketIsWholeLine", "[A\nx=7\n", {{"A", "x", "7"}}, "[A]\ny=2\nx=7\n[B]\nz=3\n"},
        LoadCase{"RepeatedSectionMerges",
                 "[A]\nx=4\n[B]\nz=5\n[A]\ny=6\n",
                 {{"A", "x", "4"}, {"A", "y", "6"}},
                 "[A]\nx=4\ny=6\n[B]\nz=5\n"},
        LoadCase{"RepeatedKeyLastWins", "[A]\nx=1\nx=2\n", {{"A", "x", "2"}}, "[A]\ny=2\nx=2\n[B]\nz=3\n"},
        LoadCase{"SectionNamesAreCaseSensitive",
                 "[a]\nx=9\n",
                 {{"A", "x", "1"}, {"a", "x", "9"}},
                 defaultsText + "[a]\nx=9\n"},
        LoadCase{"KeyNamesAreCaseSensitive",
                 "[A]\nX=9\n",
                 {{"A", "x", "1"}, {"A", "X", "9"}},
                 "[A]\nx=1\ny=2\nX=9\n[B]\nz=3\n"},
        LoadCase{"SectionWithoutKeysIsNotWritten",
                 "[Empty]\n[A]\nx=3\n",
                 {{"Empty", "x", std::nullopt}},
                 "[A]\ny=2\nx=3\n[B]\nz=3\n"},
        LoadCase{"CrLfLineEnds",
                 "[A]\r\nx=5\r\n[New\r\nk\r\n",
                 {{"A", "x", "5"}, {"New", "k", ""}},
                 "[A]\ny=2\nx=5\n[B]\nz=3\n[New]\nk=\n"},
        LoadCase{"LastLineWithoutLineEnd", "[A]\nx=5", {{"A", "x", "5"}}, "[A]\ny=2\nx=5\n[B]\nz=3\n"},
        LoadCase{"BlanksAreKept",
                 "[A]\n x = 5 \n",
                 {{"A", "x", "1"}, {"A", " x ", " 5 "}},
                 "[A]\nx=1\ny=2\n x = 5 \n[B]\nz=3\n"},
        LoadCase{"BracketLineStartsNextSection",
                 "[A]\nx=3\n[B\nz=4",
                 {{"A", "x", "3"}, {"B", "z", "4"}},
                 "[A]\ny=2\nx=3\n[B]\nz=4\n"},
        LoadCase{
            "MissingKeyAndSectionHaveNoValue", "", {{"A", "w", std::nullopt}, {"C", "x", std::nullopt}}, defaultsText}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LoadRules, LoadThenSaveIsStableOnItsOwnOutput)
{
    TestRegistry first;
    loadText(first, "[Q]\n\n[A]\nk\nx=5\n[B]\nz==\n[]\n=v\n");
    std::string once = savedText(first);
    TestRegistry second;
    loadText(second, once);
    EXPECT_EQ(savedText(second), once);
}

// Setting keys: the result, and where the key ends up.
struct SetCase {
    const char *name;
    std::function<int(AppRegistryEx &)> set;
    int result;
    std::string saved;
    friend void PrintTo(const SetCase &c, std::ostream *os) { *os << c.name; }
};

class SetRules : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetRules, ResultAndSavedText)
{
    TestRegistry registry;
    EXPECT_EQ(GetParam().set(registry), GetParam().result);
    EXPECT_EQ(savedText(registry), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetRules,
    ::testing::Values(SetCase{"SetTextMovesKeyLast", [](AppRegistryEx &r) { return r.SetText("A", "x", "9"); }, 0,
                              "[A]\ny=2\nx=9\n[B]\nz=3\n"},
                      SetCase{"SameValueStillMovesLast", [](AppRegistryEx &r) { return r.SetText("A", "x", "1"); }, 0,
                              "[A]\ny=2\nx=1\n[B]\nz=3\n"},
                      SetCase{"NewKeyAppended", [](AppRegistryEx &r) { return r.SetText("B", "n", "v"); }, 0,
                              "[A]\nx=1\ny=2\n[B]\nz=3\nn=v\n"},
                      SetCase{"MissingSectionRefusedAndNotCreated",
                              [](AppRegistryEx &r) { return r.SetInt("C", "x", 1); }, 1, defaultsText},
                      SetCase{"SectionLookupIsCaseSensitive", [](AppRegistryEx &r) { return r.SetText("a", "x", "1"); },
                              1, defaultsText},
                      SetCase{"SetIntDecimal", [](AppRegistryEx &r) { return r.SetInt("B", "z", -40); }, 0,
                              "[A]\nx=1\ny=2\n[B]\nz=-40\n"},
                      SetCase{
                          "SetIntExtremes",
                          [](AppRegistryEx &r) { return r.SetInt("B", "lo", INT_MIN) + r.SetInt("B", "hi", INT_MAX); },
                          0, "[A]\nx=1\ny=2\n[B]\nz=3\nlo=-2147483648\nhi=2147483647\n"},
                      SetCase{"SetPointCommaSeparated", [](AppRegistryEx &r) { return r.SetPoint("B", "p", -5, 30); },
                              0, "[A]\nx=1\ny=2\n[B]\nz=3\np=-5,30\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SetRules, ResultTellsWhetherAKeyWasReplaced)
{
    AppRegistry section("S");
    EXPECT_FALSE(section.Set("k", "1"));
    EXPECT_TRUE(section.Set("k", "2"));
    EXPECT_FALSE(section.Set("K", "3"));
    ASSERT_EQ(section.keys().size(), 2u);
    EXPECT_EQ(*section.Find("k"), "2");
}

// Reading numbers and points out of values.
struct NumberCase {
    std::string value;
    int asInt, x, y;
    friend void PrintTo(const NumberCase &c, std::ostream *os) { *os << '"' << c.value << '"'; }
};

class NumberRules : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberRules, GetIntAndPoint)
{
    TestRegistry registry;
    registry.SetText("B", "v", GetParam().value);
    EXPECT_EQ(registry.GetInt("B", "v"), GetParam().asInt);
    EXPECT_EQ(registry.GetPointX("B", "v"), GetParam().x);
    EXPECT_EQ(registry.GetPointY("B", "v"), GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberRules,
    ::testing::Values(NumberCase{"-1,-1", -1, -1, -1}, NumberCase{"12", 12, 12, 0}, NumberCase{"3,4,5", 3, 3, 4},
                      NumberCase{",7", 0, 0, 7}, NumberCase{"7,", 7, 7, 0}, NumberCase{"", 0, 0, 0},
                      NumberCase{"a,b", 0, 0, 0}, NumberCase{" 5, 6", 5, 5, 6}, NumberCase{"962532", 962532, 962532, 0},
                      NumberCase{"12abc", 12, 12, 0}, NumberCase{"+3", 3, 3, 0}, NumberCase{"-", 0, 0, 0},
                      NumberCase{"0x10", 0, 0, 0}, NumberCase{"99999999999999999999", INT_MAX, INT_MAX, 0},
                      NumberCase{"-99999999999999999999", INT_MIN, INT_MIN, 0},
                      NumberCase{"2147483647", INT_MAX, INT_MAX, 0}, NumberCase{"-2147483648", INT_MIN, INT_MIN, 0},
                      NumberCase{std::string("\0"
                                             "12",
                                             3),
                                 0, 0, 0},
                      NumberCase{std::string("4\0"
                                             "2,1",
                                             5),
                                 4, 4, 1}));

TEST(NumberRules, MissingSectionOrKeyReadsZero)
{
    TestRegistry registry;
    EXPECT_EQ(registry.GetInt("C", "x"), 0);
    EXPECT_EQ(registry.GetInt("A", "w"), 0);
    EXPECT_EQ(registry.GetPointX("C", "x"), 0);
    EXPECT_EQ(registry.GetPointY("A", "w"), 0);
    EXPECT_EQ(registry.GetInt("A", "y"), 2);
}

struct DirectoryCase {
    std::string path, directory;
    friend void PrintTo(const DirectoryCase &c, std::ostream *os) { *os << '"' << c.path << '"'; }
};

class DirectoryOfRule : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(DirectoryOfRule, CutsAfterLastSeparator)
{
    EXPECT_EQ(AppRegistryEx::DirectoryOf(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(Cases, DirectoryOfRule,
                         ::testing::Values(DirectoryCase{"C:\\prog\\run.exe", "C:\\prog\\"},
                                           DirectoryCase{"run.exe", "run.exe/"}, DirectoryCase{"", ""},
                                           DirectoryCase{"/usr/bin/korvana", "/usr/bin/"},
                                           DirectoryCase{"C:run.exe", "C:"}, DirectoryCase{"/", "/"},
                                           DirectoryCase{"dir/", "dir/"}, DirectoryCase{"a\\b/c", "a\\b/"},
                                           DirectoryCase{"a/b\\c", "a/b\\"}));
