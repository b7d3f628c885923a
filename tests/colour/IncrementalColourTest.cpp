// Incremental colouring gives exactly the slots of a whole-text pass: random
// edits to real-looking pages, each followed by a pass whose window is written
// over a model of the editor's style bytes (which, as Scintilla's, move with
// the text and are 0 for inserted bytes), compared with a fresh whole pass.
#include "ChangeSpan.h"
#include "IncrementalColourer.h"
#include "RandomPage.h"
#include "SlotBuffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

// The editor as far as colouring sees it: text, style bytes, changes.
struct Model {
    std::string text;
    std::vector<std::uint8_t> styles;
    CChangeSpan change;

    void Insert(std::size_t pos, const std::string& s)
    {
        text.insert(pos, s);
        styles.insert(styles.begin() + static_cast<std::ptrdiff_t>(pos), s.size(), 0);
        change.Insert(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(s.size()));
    }
    void Erase(std::size_t pos, std::size_t len)
    {
        text.erase(pos, len);
        styles.erase(styles.begin() + static_cast<std::ptrdiff_t>(pos),
                     styles.begin() + static_cast<std::ptrdiff_t>(pos + len));
        change.Delete(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(len));
    }
    void Pass(CIncrementalColourer& colourer)
    {
        const CIncrementalColourer::Window w = colourer.Update(text, change);
        change.Clear();
        if (w.all)
            styles = w.slotBytes;
        else
            std::copy(w.slotBytes.begin(), w.slotBytes.end(), styles.begin() + static_cast<std::ptrdiff_t>(w.start));
    }
};

std::string FirstDifference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want,
                            const std::string& text)
{
    std::size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i])
        ++i;
    const std::size_t from = i < 40 ? 0 : i - 40;
    return "first differing byte " + std::to_string(i) + " (slot " +
           (i < got.size() ? std::to_string(got[i]) : "-") + ", whole pass " +
           (i < want.size() ? std::to_string(want[i]) : "-") + ") after: " + text.substr(from, i - from) + "|";
}

int EditCount(int fallback)
{
    const char* env = std::getenv("QUILLET_IDENTITY_EDITS");
    return env && std::atoi(env) > 0 ? std::atoi(env) : fallback;
}

struct IdentityCase {
    const char* name;
    unsigned seed;
    std::int64_t spacing;
    bool phpOnly;
    int editsBetweenPasses; // at most, as typing on one line never recolours
    ColourRules rules = ColourRules::Flat;
};

class IncrementalIdentity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(IncrementalIdentity, RandomEditsGiveTheWholePassSlots)
{
    const IdentityCase& c = GetParam();
    std::mt19937 rng(c.seed);
    Model m;
    m.text = RandomPage::Page(rng, 24 * 1024, c.phpOnly);
    m.change.MarkAll();
    CIncrementalColourer colourer(c.spacing, c.rules);
    m.Pass(colourer);
    RandomPage::EditLog log;
    const int edits = EditCount(1500);
    for (int e = 0; e < edits;) {
        const int burst = 1 + static_cast<int>(rng() % c.editsBetweenPasses);
        std::string what;
        for (int b = 0; b < burst; ++b, ++e)
            what += RandomPage::RandomEdit(rng, m.text, log,
                                           [&](std::size_t pos, const std::string& s) { m.Insert(pos, s); },
                                           [&](std::size_t pos, std::size_t len) { m.Erase(pos, len); }) + "; ";
        m.Pass(colourer);
        const std::vector<std::uint8_t> want =
            c.rules == ColourRules::Flat ? ColourBytes(m.text) : ColourBytes(m.text, c.rules);
        if (m.styles != want)
            FAIL() << "after edit " << e << " (" << what << "): " << FirstDifference(m.styles, want, m.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, IncrementalIdentity,
                         ::testing::Values(IdentityCase{"mixed_small_spacing", 11, 64, false, 1},
                                           IdentityCase{"mixed_bursts", 23, 256, false, 4},
                                           IdentityCase{"php_file", 37, 128, true, 2},
                                           IdentityCase{"mixed_default_spacing", 41, 4096, false, 3},
                                           IdentityCase{"grammar_mixed", 53, 64, false, 1, ColourRules::Grammar},
                                           IdentityCase{"grammar_bursts", 59, 256, false, 4, ColourRules::Grammar},
                                           IdentityCase{"grammar_php_file", 61, 128, true, 2, ColourRules::Grammar}),
                         [](const auto& info) { return std::string(info.param.name); });

// A span merged over edits says exactly where old and new texts differ: the
// bytes before Start and after the ends are the same.
TEST(ChangeSpan, MergedEditsBoundTheDifference)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const std::string before = RandomPage::Page(rng, 600, round % 2 == 0);
        std::string text = before;
        CChangeSpan span;
        RandomPage::EditLog log;
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits; ++e)
            RandomPage::RandomEdit(
                rng, text, log,
                [&](std::size_t pos, const std::string& s) {
                    text.insert(pos, s);
                    span.Insert(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(s.size()));
                },
                [&](std::size_t pos, std::size_t len) {
                    text.erase(pos, len);
                    span.Delete(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(len));
                });
        if (span.IsEmpty()) {
            EXPECT_EQ(text, before);
            continue;
        }
        ASSERT_LE(span.Start(), span.NewEnd());
        ASSERT_LE(span.Start(), span.OldEnd());
        ASSERT_EQ(static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(before.size()), span.Delta());
        const auto lo = static_cast<std::size_t>(span.Start());
        EXPECT_EQ(text.substr(0, lo), before.substr(0, lo)) << "round " << round;
        EXPECT_EQ(text.substr(static_cast<std::size_t>(span.NewEnd())),
                  before.substr(static_cast<std::size_t>(span.OldEnd())))
            << "round " << round;
    }
}

// What the last pass kept decides how much the next one scans: a change in a
// quiet stretch rescans a few KB, a quote that hides the rest of its part scans to the part's end.
TEST(IncrementalColourer, WindowStaysNearTheChangeUnlessItReachesFar)
{
    std::mt19937 rng(3);
    Model m;
    m.text = RandomPage::Page(rng, 200 * 1024, false);
    m.change.MarkAll();
    CIncrementalColourer colourer(4096);
    m.Pass(colourer);
    ASSERT_GT(colourer.Checkpoints().size(), 20u);

    const std::size_t mid = m.text.find('\n', m.text.size() / 2) + 1;
    // The HTML part or PHP region around mid ends at the next tag after it.
    const std::size_t partEnd = std::min(m.text.find("<?", mid), m.text.find("?>", mid));
    struct Case {
        const char* typed;
        bool far;
    } cases[] = {{"x", false}, {"\n", false}, {"\r\n<td>", false}, {"\"", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Model edited = m;
        CIncrementalColourer copy = colourer;
        edited.Insert(mid, c.typed);
        const CIncrementalColourer::Window w = copy.Update(edited.text, edited.change);
        ASSERT_FALSE(w.all);
        EXPECT_LE(w.start, static_cast<std::int64_t>(mid));
        if (c.far)
            EXPECT_GT(w.start + static_cast<std::int64_t>(w.slotBytes.size()), static_cast<std::int64_t>(partEnd));
        else
            EXPECT_LT(w.slotBytes.size(), 3u * 4096u);
    }
}

} // namespace
