// The heap's order on ties decides the search's move order, so the exact
// sequence of tops is pinned here.
#include "engine/pos_value.h"
#include "engine/tdbtree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using korvana::pos_value;

namespace {

// An operation script: "+p:v" inserts (p, v), "-" removes the top,
// "=p:v" replaces the top. The result lists the points removed, in order,
// followed by the points left when the heap is drained.
std::vector<int> run(const std::vector<std::string> &script)
{
    tdbtree_max<pos_value> heap;
    std::vector<int> out;
    for (const std::string &op : script) {
        if (op == "-") {
            out.push_back(heap.removeTop().point);
            continue;
        }
        const size_t colon = op.find(':');
        const pos_value pv{static_cast<uint8_t>(std::stoi(op.substr(1, colon - 1))),
                           static_cast<int16_t>(std::stoi(op.substr(colon + 1)))};
        if (op[0] == '+')
            heap.insert(pv);
        else
            heap.replaceTop(pv);
    }
    while (!heap.empty())
        out.push_back(heap.removeTop().point);
    return out;
}

struct TieCase {
    const char *name;
    std::vector<std::string> script;
    std::vector<int> tops;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const TieCase &c, std::ostream *os) { *os << c.name; }

class TdbtreeTies : public testing::TestWithParam<TieCase> {};

TEST_P(TdbtreeTies, TopsComeOutInTheFixedOrder) { EXPECT_EQ(run(GetParam().script), GetParam().tops); }

// Each sequence worked out by hand from the insert / remove / replace rules.
INSTANTIATE_TEST_SUITE_P(
    Table, TdbtreeTies,
    testing::Values(
        // An equal newcomer never passes its parent; the last node refills the top.
        TieCase{"threeEqual", {"+1:5", "+2:5", "+3:5"}, {1, 3, 2}},
        // The refilled top stops at once among equals.
        TieCase{"fourEqual", {"+1:5", "+2:5", "+3:5", "+4:5"}, {1, 4, 3, 2}},
        // A larger newcomer passes a lower parent, an equal one does not.
        TieCase{"risingEqualPair", {"+1:1", "+2:3", "+3:3"}, {2, 3, 1}},
        // Sifting down takes the right child when it is not lower than the left.
        TieCase{"siftPrefersRight", {"+1:9", "+2:5", "+3:5", "+4:1"}, {1, 3, 2, 4}},
        // Replace top: the new top stays above equal children.
        TieCase{"replaceAmongEqual", {"+1:9", "+2:5", "+3:5", "+4:1", "=7:5"}, {7, 3, 2, 4}},
        // The search removes the top and inserts it again: that reorders ties.
        TieCase{"removeAndReinsert", {"+1:0", "+2:0", "+3:0", "+4:0", "+5:0", "-", "+1:0"}, {1, 5, 1, 4, 3, 2}},
        // Left child is taken when it is strictly higher.
        TieCase{"siftTakesHigherLeft", {"+1:9", "+2:6", "+3:5", "+4:1", "-"}, {1, 2, 3, 4}},
        // Negative values and a single node.
        TieCase{"single", {"+8:-3", "-", "+9:-4", "+10:-4"}, {8, 9, 10}}),
    [](const testing::TestParamInfo<TieCase> &info) { return std::string(info.param.name); });

// The same rules on a plain 1-based array: a second, independent reading of
// them that the linked tree must match on long random scripts.
class ArrayHeap {
public:
    void insert(pos_value pv)
    {
        a_.push_back(pv);
        for (size_t i = a_.size() - 1; i > 1 && a_[i / 2].value < a_[i].value; i /= 2)
            std::swap(a_[i], a_[i / 2]);
    }
    pos_value removeTop()
    {
        pos_value top = a_[1];
        a_[1] = a_.back();
        a_.pop_back();
        siftDown();
        return top;
    }
    void replaceTop(pos_value pv)
    {
        a_[1] = pv;
        siftDown();
    }
    size_t size() const { return a_.size() - 1; }

private:
    void siftDown()
    {
        size_t i = 1;
        while (2 * i < a_.size()) {
            size_t c = 2 * i;
            if (c + 1 < a_.size() && !(a_[c + 1].value < a_[c].value))
                c = c + 1;
            if (!(a_[i].value < a_[c].value))
                return;
            std::swap(a_[i], a_[c]);
            i = c;
        }
    }
    std::vector<pos_value> a_{pos_value{}};
};

TEST(Tdbtree, MatchesArrayReadingOfTheRulesOnRandomScripts)
{
    uint32_t state = 7;
    auto next = [&state](int n) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(n));
    };
    for (int round = 0; round < 200; ++round) {
        tdbtree_max<pos_value> heap;
        ArrayHeap model;
        for (int step = 0; step < 300; ++step) {
            const int op = next(10);
            // Few distinct values, so ties are the rule.
            const pos_value pv{static_cast<uint8_t>(next(225)), static_cast<int16_t>(next(4) - 1)};
            if (op < 6 || model.size() == 0) {
                heap.insert(pv);
                model.insert(pv);
            } else if (op < 9) {
                const pos_value a = heap.removeTop(), b = model.removeTop();
                ASSERT_EQ(a.point, b.point) << "round " << round << " step " << step;
                ASSERT_EQ(a.value, b.value);
            } else {
                heap.replaceTop(pv);
                model.replaceTop(pv);
            }
            ASSERT_EQ(heap.count(), static_cast<int32_t>(model.size()));
        }
    }
}

TEST(Tdbtree, EmptyHeapAnswersDefaultAndStaysUsable)
{
    tdbtree_max<pos_value> heap;
    EXPECT_TRUE(heap.empty());
    EXPECT_EQ(heap.removeTop().point, 0);
    heap.replaceTop(pos_value{5, 5});
    EXPECT_TRUE(heap.empty());
    heap.insert(pos_value{3, 1});
    EXPECT_EQ(heap.top().point, 3);
    EXPECT_EQ(heap.count(), 1);
}

} // namespace
