// Incremental colouring gives exactly the slots of a whole-text pass: random
// edits to real-looking pages, each followed by a pass whose window is written
// over a model of the editor's style bytes (which, as Scintilla's, move with
// the text and are 0 for inserted bytes), compared with a fresh whole pass.
#include "ChangeSet.h"
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
    CChangeSet change;

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
    // Returns how many bytes the pass scanned.
    std::size_t Pass(CIncrementalColourer& colourer)
    {
        std::size_t scanned = 0;
        for (const CIncrementalColourer::Window& w : colourer.Update(text, change)) {
            scanned += w.slotBytes.size();
            if (w.all)
                styles = w.slotBytes;
            else
                std::copy(w.slotBytes.begin(), w.slotBytes.end(),
                          styles.begin() + static_cast<std::ptrdiff_t>(w.start));
        }
        change.Clear();
        return scanned;
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

// The spans merged over edits say exactly where old and new texts differ:
// the bytes between them are the old bytes, moved.
TEST(ChangeSet, MergedEditsBoundTheDifference)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const std::string before = RandomPage::Page(rng, 20000, round % 2 == 0);
        std::string text = before;
        CChangeSet set;
        RandomPage::EditLog log;
        const int edits = 1 + static_cast<int>(rng() % 12);
        for (int e = 0; e < edits; ++e)
            RandomPage::RandomEdit(
                rng, text, log,
                [&](std::size_t pos, const std::string& s) {
                    text.insert(pos, s);
                    set.Insert(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(s.size()));
                },
                [&](std::size_t pos, std::size_t len) {
                    text.erase(pos, len);
                    set.Delete(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(len));
                });
        ASSERT_EQ(static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(before.size()), set.Delta());
        std::int64_t at = 0, oldAt = 0; // the unchanged stretch's start, new and old
        for (const CChangeSet::Span& span : set.Spans()) {
            ASSERT_LE(at, span.start);
            ASSERT_LE(span.start, span.newEnd);
            ASSERT_GE(span.OldLength(), 0);
            const auto len = static_cast<std::size_t>(span.start - at);
            ASSERT_EQ(text.substr(static_cast<std::size_t>(at), len), before.substr(static_cast<std::size_t>(oldAt), len))
                << "round " << round;
            oldAt += static_cast<std::int64_t>(len) + span.OldLength();
            at = span.newEnd;
        }
        EXPECT_EQ(text.substr(static_cast<std::size_t>(at)), before.substr(static_cast<std::size_t>(oldAt)))
            << "round " << round;
    }
}

// Edits alternating between the first and the last thousand lines of a 10 MB
// page, a few between passes as when typing on one line and jumping: every
// pass gives the whole-pass slots and scans near the edits only.
TEST(IncrementalColourer, FarJumpsScanNearEachEdit)
{
    std::mt19937 rng(17);
    Model m;
    m.text = RandomPage::Page(rng, 10u << 20, false);
    m.change.MarkAll();
    CIncrementalColourer colourer;
    m.Pass(colourer);
    auto thousandLines = [&](std::size_t from, int step) {
        std::size_t pos = from;
        for (int lines = 0; lines < 1000; ++lines)
            pos = step > 0 ? m.text.find('\n', pos) + 1 : m.text.rfind('\n', pos - 1);
        return pos;
    };
    std::size_t topLength = thousandLines(0, 1);
    std::size_t bottomLength = m.text.size() - thousandLines(m.text.size() - 1, -1);
    RandomPage::EditLog logs[2];
    for (int pass = 0; pass < EditCount(24); ++pass) {
        std::string what;
        for (int end = 0; end < 2; ++end) {
            std::size_t& length = end == 0 ? topLength : bottomLength;
            const std::size_t offset = end == 0 ? 0 : m.text.size() - bottomLength;
            what += RandomPage::RandomEdit(
                        rng, m.text.substr(offset, length), logs[end],
                        [&](std::size_t pos, const std::string& s) {
                            m.Insert(offset + pos, s);
                            length += s.size();
                        },
                        [&](std::size_t pos, std::size_t len) {
                            m.Erase(offset + pos, len);
                            length -= len;
                        }) +
                    "; ";
        }
        const std::size_t scanned = m.Pass(colourer);
        EXPECT_LT(scanned, 1u << 20) << "pass " << pass << ": " << what;
        if (m.styles != ColourBytes(m.text))
            FAIL() << "pass " << pass << " (" << what << "): " << FirstDifference(m.styles, ColourBytes(m.text), m.text);
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
        const std::vector<CIncrementalColourer::Window> windows = copy.Update(edited.text, edited.change);
        ASSERT_EQ(windows.size(), 1u);
        const CIncrementalColourer::Window& w = windows.front();
        ASSERT_FALSE(w.all);
        EXPECT_LE(w.start, static_cast<std::int64_t>(mid));
        if (c.far)
            EXPECT_GT(w.start + static_cast<std::int64_t>(w.slotBytes.size()), static_cast<std::int64_t>(partEnd));
        else
            EXPECT_LT(w.slotBytes.size(), 3u * 4096u);
    }
}

} // namespace
