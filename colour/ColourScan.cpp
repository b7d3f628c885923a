#include "ColourScan.h"

#include "HtmlTokenizer.h"
#include "RegionLexer.h"
#include "PHPTokenizer.h"
#include "StyleSlot.h"
#include "StyleTarget.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// Collects the colourers' ranges into the scan's window of slots.
class WindowTarget : public CStyleTarget {
public:
    explicit WindowTarget(std::function<void(int, std::int64_t, std::int64_t)> fill) : m_fill(std::move(fill)) {}
    std::string_view Text() override { return {}; }
    void BeginPass() override {}
    void EndPass() override {}
    void ApplySlot(int slot, std::int32_t start, std::int32_t end) override { m_fill(slot, start, end); }

private:
    std::function<void(int, std::int64_t, std::int64_t)> m_fill;
};

} // namespace

CColourScan::CColourScan(std::string_view text, std::int64_t spacing, ColourRules rules)
    : m_text(text), m_nSpacing(std::max<std::int64_t>(spacing, 1)), m_rules(rules)
{
}

void CColourScan::Fill(int slot, std::int64_t from, std::int64_t to)
{
    if (from >= to)
        return;
    const auto end = static_cast<std::size_t>(to - m_nBase);
    if (m_slots.size() < end)
        m_slots.resize(end);
    std::memset(m_slots.data() + (from - m_nBase), slot, static_cast<std::size_t>(to - from));
}

std::int64_t CColourScan::Run(CColourCheckpoint from, const std::vector<CColourCheckpoint>& targets,
                              std::int64_t minStop)
{
    if (m_rules == ColourRules::Grammar)
        return RunGrammar(from, targets, minStop);
    const auto* p = reinterpret_cast<const unsigned char*>(m_text.data());
    const auto n = static_cast<std::int64_t>(m_text.size());
    m_nBase = from.pos;
    m_slots.clear();
    m_found.clear();
    m_nStoppedAt = -1;
    if (targets.empty())
        m_slots.reserve(static_cast<std::size_t>(n - from.pos));

    WindowTarget target([this](int slot, std::int64_t s, std::int64_t e) { Fill(slot, s, e); });
    CHtmlTokenizer html(target);
    CPHPTokenizer php(target);

    bool inPhp = from.inPhp;
    std::int64_t coloured = from.pos; // the slots of the bytes before this are final
    // The not yet coloured part of the current HTML part or PHP code, up to
    // `to`: a line start outside strings or the part's end, where no token of
    // either colourer crosses, so colouring it alone gives the same slots.
    auto colourTo = [&](std::int64_t to) {
        if (to <= coloured)
            return;
        const std::string_view part = m_text.substr(static_cast<std::size_t>(coloured),
                                                    static_cast<std::size_t>(to - coloured));
        const auto offset = static_cast<std::int32_t>(coloured);
        if (inPhp) {
            Fill(SLOT_PHP_IDENTIFIER, coloured, to);
            php.ColourText(part, offset);
        } else {
            Fill(SLOT_HTML_ELEMENT, coloured, to);
            html.ColourText(part, offset);
        }
        coloured = to;
    };

    // Whether the colourers' double-quoted strings are all closed at cp, a
    // position of the current part: strings of the colourers are a double
    // quote to the next, whatever PHP reads there.
    std::int64_t quotesTo = from.pos; // the quotes of the part before this are counted
    bool oddQuotes = false;
    auto evenAt = [&](std::int64_t cp) {
        if (cp < quotesTo)
            return oddQuotes == ((RegionLexer::CountOf(p, cp, quotesTo, '"') & 1) != 0);
        oddQuotes ^= (RegionLexer::CountOf(p, quotesTo, cp, '"') & 1) != 0;
        quotesTo = cp;
        return !oddQuotes;
    };
    auto newPart = [&](std::int64_t start) {
        quotesTo = start;
        oddQuotes = false;
    };

    std::int64_t nextMark = from.pos + m_nSpacing;
    std::size_t k = 0;
    std::int64_t stop = -1;
    // In the gap [i, j] the region split rests (in HTML, or in PHP code
    // outside strings and comments) with the state inPhp; a line start there
    // outside the colourers' strings is a checkpoint.
    auto visitGap = [&](std::int64_t i, std::int64_t j) {
        std::int64_t s = std::max(i, nextMark - 1);
        while (nextMark <= j && s < j) {
            const void* q = std::memchr(p + s, '\n', static_cast<std::size_t>(j - s));
            if (!q)
                break;
            const std::int64_t cp = static_cast<const unsigned char*>(q) - p + 1;
            if (!evenAt(cp)) {
                s = cp;
                continue;
            }
            colourTo(cp);
            m_found.push_back({cp, inPhp});
            nextMark = cp + m_nSpacing;
            s = std::max(cp, nextMark - 1);
        }
        for (; k < targets.size(); ++k) {
            const CColourCheckpoint& t = targets[k];
            if (t.pos > j)
                return false;
            const bool lineStart = t.pos == 0 || p[t.pos - 1] == '\n';
            if (t.pos >= minStop && (t.pos > i || t.pos == from.pos) && lineStart && t.inPhp == inPhp &&
                evenAt(t.pos)) {
                stop = t.pos;
                m_nStoppedAt = static_cast<std::int64_t>(k);
                return true;
            }
        }
        return false;
    };

    RegionLexer::Scan(m_text, static_cast<std::size_t>(from.pos), from.inPhp,
                      [&](RegionLexer::Event event, std::size_t start, std::size_t end) {
                          const auto a = static_cast<std::int64_t>(start);
                          const auto b = static_cast<std::int64_t>(end);
                          if (event == RegionLexer::GAP)
                              return visitGap(a, b);
                          colourTo(a);
                          Fill(SLOT_PHP_DELIMITER, a, b);
                          coloured = b;
                          inPhp = event == RegionLexer::OPEN;
                          newPart(b);
                          return false;
                      });
    if (stop < 0) {
        colourTo(n);
        return n;
    }
    // Checkpoints found past the stop, and their slots, belong to the earlier pass.
    colourTo(stop);
    m_slots.resize(static_cast<std::size_t>(stop - m_nBase));
    while (!m_found.empty() && m_found.back().pos >= stop)
        m_found.pop_back();
    return stop;
}
