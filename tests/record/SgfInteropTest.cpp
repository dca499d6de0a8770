// Our SGF against @sabaki/sgf (Node.js, tests/interop): files we write parse there to
// the same move tree, and files that library writes load here to the same tree.
// tests/interop needs "npm ci" first (scripts/test.sh does it).

#include "SgfTreeText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace korvana {
namespace {

namespace fs = std::filesystem;

const fs::path interopDir = fs::path(KORVANA_TEST_DATA) / ".." / "interop";

/// The root's children as the interop script prints them (JSON.stringify's spelling).
void appendJson(const MOve *node, std::string &out)
{
    out += '[';
    bool first = true;
    for (const MOve *kid : node->children()) {
        if (!first)
            out += ',';
        first = false;
        out += "{\"c\":\"";
        out += kid->colour();
        out += "\",\"p\":\"";
        out += kid->xLetter();
        out += kid->yLetter();
        out += "\",\"v\":" + std::to_string(kid->GetValue()) + ",\"k\":";
        appendJson(kid, out);
        out += '}';
    }
    out += ']';
}

std::string treeJson(const MOveTree &tree)
{
    std::string out;
    appendJson(tree.root(), out);
    return out;
}

/// Output lines of a shell command, and its exit status.
std::vector<std::string> runLines(const std::string &command, int &status)
{
    std::vector<std::string> lines;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return lines;
    }
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    status = pclose(pipe);
    return lines;
}

std::string quote(const fs::path &p) { return "'" + p.string() + "'"; }

/// Trees of every shape the writer distinguishes, then random ones with variations.
std::vector<std::string> buildTrees(std::vector<std::unique_ptr<MOveTree>> &trees)
{
    const char *fixed[] = {
        "(;GM[4])",
        "(;GM[4];B[hh])",
        "(;GM[4];B[hh]C[150];W[ih]C[-3])",
        "(;GM[4](;B[hh];W[ih])(;B[ii]))",
        "(;GM[4];B[hh](;W[ih](;B[jh])(;B[gh]))(;W[ig];B[jf])(;W[aa]))",
        "(;GM[4];B[aa];W[ba];B[ca];W[da];B[ea];W[fa];B[ga];W[ha];B[ia];W[ja];B[ka];W[la])",
    };
    for (const char *text : fixed) {
        trees.push_back(std::make_unique<MOveTree>());
        EXPECT_TRUE(test::readSgfText(*trees.back(), text));
    }
    for (unsigned seed = 1; seed <= 24; ++seed) {
        trees.push_back(std::make_unique<MOveTree>());
        test::growRandomTree(*trees.back(), 10 + static_cast<int>(seed) * 25, 1000 + seed, 30 + seed * 4);
    }
    std::vector<std::string> json;
    for (const auto &tree : trees)
        json.push_back(treeJson(*tree));
    return json;
}

class SgfInterop : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v node >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "node is not installed";
        ASSERT_TRUE(fs::exists(interopDir / "node_modules" / "@sabaki" / "sgf"))
            << "run \"npm ci\" in tests/interop first";
        char tmpl[] = "/tmp/korvana-interop-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override
    {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    std::string script() const { return "node " + quote(interopDir / "sgf_interop.js"); }

    fs::path dir_;
};

TEST_F(SgfInterop, OurFilesParseThereToTheSameTree)
{
    std::vector<std::unique_ptr<MOveTree>> trees;
    const std::vector<std::string> expected = buildTrees(trees);
    std::string command = script() + " parse";
    for (size_t i = 0; i < trees.size(); ++i) {
        const fs::path file = dir_ / (std::to_string(i) + ".sgf");
        trees[i]->setRecordFormat(MOveTree::FormatSgf);
        ASSERT_EQ(trees[i]->Save(file.string()), 1);
        command += " " + quote(file);
    }
    int status = 0;
    const std::vector<std::string> parsed = runLines(command, status);
    ASSERT_EQ(status, 0) << command;
    ASSERT_EQ(parsed.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(parsed[i], expected[i]) << "tree " << i;
}

TEST_F(SgfInterop, TheirFilesLoadHereToTheSameTree)
{
    std::vector<std::unique_ptr<MOveTree>> trees;
    const std::vector<std::string> expected = buildTrees(trees);
    {
        std::ofstream out(dir_ / "trees.json");
        out << '[';
        for (size_t i = 0; i < expected.size(); ++i)
            out << (i ? "," : "") << expected[i];
        out << ']';
    }
    int status = 0;
    runLines(script() + " stringify " + quote(dir_ / "trees.json") + " " + quote(dir_), status);
    ASSERT_EQ(status, 0);
    for (size_t i = 0; i < expected.size(); ++i) {
        const fs::path file = dir_ / (std::to_string(i) + ".sgf");
        MOveTree loaded;
        ASSERT_EQ(MOveTree::DetectFormat(file.string()), MOveTree::FormatSgf);
        ASSERT_EQ(loaded.Load(file.string()), 1);
        EXPECT_EQ(treeJson(loaded), expected[i]) << "tree " << i;
        // The extra root properties were read as such.
        EXPECT_EQ(loaded.rootProperties().size(), 10u) << "tree " << i;
    }
}

} // namespace
} // namespace korvana
