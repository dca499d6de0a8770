// The indexed database against the plain design it replaces: one list in
// order, every look-up a walk from the oldest record.
#include "database/ADataBase.h"

#include "board/Point.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace korvana;
using korvana::test::ScratchDir;

namespace {

class PlainBook {
public:
    const AData *find(const AData &r) const
    {
        for (const AData &stored : records_)
            if (stored.key() == r.key() && stored.samePosition(r))
                return &stored;
        return nullptr;
    }
    int findAny(const AData &r, const AData **hit) const
    {
        for (int s = 0; s < 8; ++s)
            if ((*hit = find(r.transformed(s))))
                return s;
        return -1;
    }
    bool add(const AData &r)
    {
        const AData *hit = nullptr;
        if (r.candidateCount() == 0 || findAny(r, &hit) >= 0)
            return false;
        records_.push_back(r);
        return true;
    }
    bool remove(const AData &r)
    {
        const AData *hit = nullptr;
        if (findAny(r, &hit) < 0)
            return false;
        records_.erase(records_.begin() + (hit - records_.data()));
        return true;
    }
    bool update(const AData &r)
    {
        if (add(r))
            return true;
        remove(r);
        return add(r);
    }
    std::vector<AData> records_;
};

std::vector<AData> walk(ADataBase &db)
{
    std::vector<AData> out;
    int32_t key = 0;
    const AData *r = nullptr;
    db.resetWalk();
    while (db.nextRecord(key, r))
        out.push_back(*r);
    return out;
}

bool identical(const AData &a, const AData &b)
{
    if (a.id() != b.id() || a.stoneCount() != b.stoneCount() || a.candidateCount() != b.candidateCount())
        return false;
    for (int i = 0; i < a.stoneCount(); ++i)
        if (a.stone(i) != b.stone(i))
            return false;
    for (int i = 0; i < a.candidateCount(); ++i)
        if (!(a.candidates()[i] == b.candidates()[i]))
            return false;
    return true;
}

class ADataBaseModel : public testing::TestWithParam<int> {};

// Few points and few stones, so that positions meet again in other
// orientations and move orders; duplicates come in through the file.
TEST_P(ADataBaseModel, SameAnswersAsThePlainDesign)
{
    const int stones = GetParam();
    std::mt19937 rng(1234 + stones);
    ScratchDir tmp;
    const uint8_t pool[] = {112, 113, 97, 98, 111, 127, 96, 128, 126};
    auto randomRecord = [&](bool withCandidates) {
        std::vector<uint8_t> points(std::begin(pool), std::end(pool));
        std::shuffle(points.begin(), points.end(), rng);
        AData r;
        r.setStones(points.data(), stones);
        r.setId(static_cast<int32_t>(rng() % 5));
        const int n = withCandidates ? 1 + static_cast<int>(rng() % 3) : static_cast<int>(rng() % 3);
        for (int i = 0; i < n; ++i)
            r.addCandidate(static_cast<int>(rng() % 225));
        for (int i = 0; i < r.candidateCount(); ++i)
            r.candidates()[i].value = static_cast<int32_t>(rng() % 7) - 3;
        return r.transformed(static_cast<int>(rng() % 8));
    };

    // A file with duplicates in several orientations.
    PlainBook plain;
    std::string text;
    for (int i = 0; i < 30; ++i) {
        AData r = randomRecord(true);
        if (r.candidateCount() == 0)
            continue;
        plain.records_.push_back(r);
        text += std::to_string(r.id());
        for (int k = 0; k < stones; ++k)
            text += ' ' + std::to_string(r.stone(k));
        for (int k = 0; k < r.candidateCount(); ++k)
            text +=
                (k ? " " : " ") + std::to_string(r.candidatePoint(k)) + ' ' + std::to_string(r.candidates()[k].value);
        text += "\r\n";
    }
    korvana::test::writeAll(tmp.file(ADataBase::fileName("", stones)), "210 " + std::to_string(plain.records_.size()) +
                                                                           ' ' + std::to_string(stones) + "\r\n" +
                                                                           text);
    ADataBase db(stones, tmp.dir());

    int hits = 0;
    for (int step = 0; step < 3000; ++step) {
        const AData r = randomRecord(rng() % 4 != 0);
        const AData *expectedHit = nullptr;
        const int expectedKind = plain.findAny(r, &expectedHit);
        const AData *hit = nullptr;
        ASSERT_EQ(db.FindOrientation(r, &hit), expectedKind) << step;
        if (expectedKind >= 0) {
            ++hits;
            ASSERT_TRUE(identical(*hit, *expectedHit)) << step;
        }
        switch (rng() % 6) {
        case 0: ASSERT_EQ(db.Add(r), plain.add(r)) << step; break;
        case 1: ASSERT_EQ(db.Remove(r), plain.remove(r)) << step; break;
        case 2: ASSERT_EQ(db.Update(r), plain.update(r)) << step; break;
        case 3:
            if (step % 50 == 0) {
                ASSERT_TRUE(db.Save());
                ASSERT_TRUE(db.Load(stones));
            }
            break;
        default: {
            AData out, plainOut;
            ASSERT_EQ(db.CopyFromAnyOrientation(r, out) != NoPointCode, expectedKind >= 0);
            if (expectedKind >= 0) {
                for (int i = 0; i < expectedHit->candidateCount(); ++i)
                    ASSERT_EQ(out.candidatePoint(i),
                              inverseSymmetryTransform(expectedKind, expectedHit->candidatePoint(i)));
            }
        }
        }
        ASSERT_EQ(db.count(), static_cast<int32_t>(plain.records_.size()));
    }
    EXPECT_GT(hits, 300); // both hits and misses were exercised
    EXPECT_LT(hits, 3000 - 300);
    const std::vector<AData> got = walk(db);
    ASSERT_EQ(got.size(), plain.records_.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(identical(got[i], plain.records_[i])) << i;
}

INSTANTIATE_TEST_SUITE_P(StoneCounts, ADataBaseModel, testing::Values(1, 2, 3, 4),
                         [](const auto &info) { return "Stones" + std::to_string(info.param); });

} // namespace
