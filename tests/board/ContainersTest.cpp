#include "board/tdlist.h"
#include "board/thash.h"
#include "board/tvector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(tvector, BadIndexReportsAndHandsOutScratch)
{
    tvector<int> v(5);
    for (int i = 0; i < 5; ++i)
        v[i] = i * 10;
    for (int bad : {5, -1, 1000}) {
        ::testing::internal::CaptureStderr();
        int &scratch = v[bad];
        scratch = 99; // writes through the scratch element are not kept
        std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(err, "(" + std::to_string(bad) + ")/(5)\nOut of array index\n");
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(v[i], i * 10);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(v[7], 0); // a fresh scratch element reads as a default value
    ::testing::internal::GetCapturedStderr();
}

TEST(tvector, ResizeToSameLengthKeepsContentsOtherwiseFresh)
{
    tvector<std::string> v(3);
    v[1] = "kept";
    v.resize(3);
    EXPECT_EQ(v[1], "kept");
    v.resize(4);
    EXPECT_EQ(v.length(), 4);
    EXPECT_EQ(v[1], "");
    v.resize(0);
    EXPECT_EQ(v.length(), 0);
    EXPECT_EQ(v.data(), nullptr);
}

TEST(tvector, AssignCopiesLengthAndElements)
{
    tvector<short> a(3), b(7);
    a[0] = 1, a[1] = 2, a[2] = 3;
    b.assign(a);
    ASSERT_EQ(b.length(), 3);
    EXPECT_EQ(b[2], 3);
    tvector<short> c = a;
    a[0] = 9;
    EXPECT_EQ(c[0], 1);
}

std::vector<std::string> walk(tdlist<std::string> &list)
{
    std::vector<std::string> out;
    list.reset();
    while (list.next())
        out.push_back(list.current());
    return out;
}

TEST(tdlist, WalksOldestFirstAndRemovesAtCursor)
{
    tdlist<std::string> list;
    EXPECT_TRUE(walk(list).empty());
    for (const char *s : {"a", "b", "c", "d"})
        list.insert(s);
    EXPECT_EQ(walk(list), (std::vector<std::string>{"a", "b", "c", "d"}));
    // Remove b and d during one walk; the walk carries on over c.
    std::vector<std::string> seen;
    list.reset();
    while (list.next()) {
        seen.push_back(list.current());
        if (list.current() == "b" || list.current() == "d")
            list.removeAtCursor();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(walk(list), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(list.count(), 2);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(walk(list).empty());
}

class ModHash : public thash<int, std::string> {
public:
    ModHash() : thash(7) {}
    int32_t chainOf(const int &key) const override { return key % chainCount(); }
};

TEST(thash, FindsTheOldestEntryOfAKey)
{
    ModHash h;
    h.add(3, "first");
    h.add(10, "other chain mate");
    h.add(3, "second");
    ASSERT_NE(h.find(3), nullptr);
    EXPECT_EQ(*h.find(3), "first");
    EXPECT_EQ(*h.find(10), "other chain mate");
    EXPECT_EQ(h.find(4), nullptr);
    EXPECT_EQ(h.entries(), 3);
    h.clear();
    EXPECT_EQ(h.find(3), nullptr);
    EXPECT_EQ(h.entries(), 0);
}

} // namespace
