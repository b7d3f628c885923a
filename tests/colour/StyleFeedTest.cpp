// The stretches a style feed still has to give, moved through random edits,
// covers and takes, against a model that keeps, for every byte of the current
// text, the pass's byte it still waits for (or none).
#include "StyleFeed.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kNone = -1;

TEST(StyleFeed, GivesEachWaitingByteItsOwnSlotThroughEdits)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 40; ++round) {
        const int n = 1 + static_cast<int>(rng() % 3000);
        std::vector<std::uint8_t> slots(static_cast<std::size_t>(n));
        for (auto& s : slots)
            s = static_cast<std::uint8_t>(rng() % 10);
        CStyleFeed feed(slots);
        std::vector<int> model(static_cast<std::size_t>(n)); // the pass's position each byte waits for
        for (int i = 0; i < n; ++i)
            model[static_cast<std::size_t>(i)] = i;
        std::vector<int> given(model.size(), kNone);

        const auto size = [&] { return static_cast<std::int64_t>(model.size()); };
        for (int op = 0; op < 60 && !feed.Done(); ++op) {
            const std::int64_t pos = static_cast<std::int64_t>(rng() % (model.size() + 1));
            const std::int64_t len = std::min<std::int64_t>(static_cast<std::int64_t>(rng() % 200), size() - pos);
            switch (rng() % 5) {
            case 0: { // insert: new bytes wait for nothing
                const std::int64_t k = 1 + static_cast<std::int64_t>(rng() % 50);
                feed.Insert(pos, k);
                model.insert(model.begin() + pos, static_cast<std::size_t>(k), kNone);
                given.insert(given.begin() + pos, static_cast<std::size_t>(k), kNone);
                break;
            }
            case 1:
                feed.Delete(pos, len);
                model.erase(model.begin() + pos, model.begin() + pos + len);
                given.erase(given.begin() + pos, given.begin() + pos + len);
                break;
            case 2:
                feed.Cover(pos, len);
                std::fill(model.begin() + pos, model.begin() + pos + len, kNone);
                break;
            default: {
                const CStyleFeed::Piece piece = feed.Take(pos, 1 + static_cast<std::int64_t>(rng() % 400));
                for (std::int64_t i = 0; i < piece.length; ++i) {
                    const auto at = static_cast<std::size_t>(piece.start + i);
                    ASSERT_LT(at, model.size());
                    ASSERT_NE(model[at], kNone) << "a byte given twice, or one nothing waited for";
                    ASSERT_EQ(piece.bytes[i], slots[static_cast<std::size_t>(model[at])]);
                    model[at] = kNone;
                }
                // From pos on while anything there waits.
                const bool waitingFromPos = std::any_of(model.begin() + pos, model.end(), [](int m) { return m != kNone; });
                if (piece.length > 0 && waitingFromPos)
                    ASSERT_GE(piece.start, pos);
                break;
            }
            }
            const auto waiting = std::count_if(model.begin(), model.end(), [](int m) { return m != kNone; });
            ASSERT_EQ(feed.Left(), waiting) << "round " << round << " op " << op;
        }
        // What is left comes out whole, each byte once, with its own slot.
        while (!feed.Done()) {
            const CStyleFeed::Piece piece = feed.Take(0, 97);
            ASSERT_GT(piece.length, 0);
            for (std::int64_t i = 0; i < piece.length; ++i) {
                const auto at = static_cast<std::size_t>(piece.start + i);
                ASSERT_NE(model[at], kNone);
                ASSERT_EQ(piece.bytes[i], slots[static_cast<std::size_t>(model[at])]);
                model[at] = kNone;
            }
        }
        EXPECT_EQ(std::count_if(model.begin(), model.end(), [](int m) { return m != kNone; }), 0);
    }
}

TEST(StyleFeed, ChangeSetAppliedAsItsEdits)
{
    // Edits before the feed began, given as a change set, leave the same
    // stretches as the same edits made one by one.
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> slots(5000, 1);
        CStyleFeed byEdits(slots);
        CStyleFeed byChange(slots);
        CChangeSet change;
        std::int64_t length = 5000;
        for (int e = 0; e < 6; ++e) {
            const std::int64_t pos = static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(length + 1));
            if (rng() % 2) {
                const std::int64_t k = 1 + static_cast<std::int64_t>(rng() % 30);
                byEdits.Insert(pos, k);
                change.Insert(pos, k);
                length += k;
            } else {
                const std::int64_t k = std::min<std::int64_t>(1 + static_cast<std::int64_t>(rng() % 30), length - pos);
                byEdits.Delete(pos, k);
                change.Delete(pos, k);
                length -= k;
            }
        }
        byChange.Apply(change);
        // A span may join unchanged bytes between near edits: those the
        // change set no longer waits for are exactly its spans' bytes.
        std::vector<int> a(static_cast<std::size_t>(length), 0), b(a);
        for (auto [feed, marks] : {std::pair{&byEdits, &a}, std::pair{&byChange, &b}})
            while (!feed->Done()) {
                const CStyleFeed::Piece p = feed->Take(0, 1 << 20);
                for (std::int64_t i = 0; i < p.length; ++i)
                    (*marks)[static_cast<std::size_t>(p.start + i)] = 1;
            }
        for (const CChangeSet::Span& span : change.Spans())
            for (std::int64_t i = span.start; i < span.newEnd; ++i)
                a[static_cast<std::size_t>(i)] = 0;
        ASSERT_EQ(a, b) << "round " << round;
    }
}

} // namespace

#include "LongLines.h"

namespace {

TEST(LongLines, FindsTheLinesANaiveWalkFinds)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 100; ++round) {
        std::vector<std::int64_t> starts{0};
        for (int l = 0; l < 300; ++l)
            starts.push_back(starts.back() + 1 + (rng() % 20 == 0 ? rng() % 5000 : rng() % 80));
        const std::int64_t limit = 1 + rng() % 3000;
        const std::int64_t first = rng() % 300;
        const std::int64_t last = first + rng() % (300 - first);
        std::vector<std::int64_t> want, got;
        for (std::int64_t l = first; l <= last; ++l)
            if (starts[l + 1] - starts[l] > limit)
                want.push_back(l);
        ForEachLongLine(first, last, limit, [&](std::int64_t l) { return starts[static_cast<std::size_t>(l)]; },
                        [&](std::int64_t l, std::int64_t from, std::int64_t to) {
                            EXPECT_EQ(to - from, starts[l + 1] - starts[l]);
                            got.push_back(l);
                        });
        ASSERT_EQ(got, want) << "round " << round;
    }
}

} // namespace
