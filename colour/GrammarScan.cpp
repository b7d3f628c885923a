// The colouring pass by the grammars: the region split as in the flat pass,
// the HTML parts through one HTML grammar whose state runs on over the PHP
// regions, the code of each region through the PHP grammar. A line start
// where the region split rests is a checkpoint when the grammars' whole state
// there fits in CColourCheckpoint::state: the same state at the same
// position means the same slots from there on.
#include "ColourScan.h"

#include "HtmlGrammar.h"
#include "PhpGrammar.h"
#include "RegionLexer.h"
#include "StyleSlot.h"

#include <algorithm>
#include <cstring>

std::int64_t CColourScan::RunGrammar(CColourCheckpoint from, const std::vector<CColourCheckpoint>& targets,
                                     std::int64_t minStop)
{
    const auto* p = reinterpret_cast<const unsigned char*>(m_text.data());
    const auto n = static_cast<std::int64_t>(m_text.size());
    m_nBase = from.pos;
    m_slots.clear();
    m_found.clear();
    m_nStoppedAt = -1;
    if (targets.empty())
        m_slots.reserve(static_cast<std::size_t>(n - from.pos));

    CHtmlGrammar html;
    CPhpGrammar php(m_text);
    html.SetState(from.state & 0xFFFFu);
    php.SetState(from.state >> 16);
    bool inPhp = from.inPhp;
    auto state = [&] { return html.State() | (inPhp ? php.State() << 16 : 0u); };

    std::int64_t coloured = from.pos; // the slots of the bytes before this are final
    auto colourTo = [&](std::int64_t to) {
        if (to <= coloured)
            return;
        if (static_cast<std::int64_t>(m_slots.size()) < to - m_nBase)
            m_slots.resize(static_cast<std::size_t>(to - m_nBase));
        const CSlotSink out{m_slots.data(), m_nBase};
        if (inPhp)
            php.Colour(static_cast<std::size_t>(coloured), static_cast<std::size_t>(to), out);
        else
            html.Colour(p, static_cast<std::size_t>(coloured), static_cast<std::size_t>(to), out);
        coloured = to;
    };

    std::int64_t nextMark = from.pos + m_nSpacing;
    std::size_t k = 0;
    std::int64_t stop = -1;
    // In the gap [i, j] the region split rests; its line starts are visited
    // in order: a target there in the same state stops the scan, and one
    // every spacing bytes or more becomes a checkpoint.
    auto visitGap = [&](std::int64_t i, std::int64_t j) {
        std::int64_t s = std::max(i, nextMark - 1);
        for (;;) {
            std::int64_t cp = -1;
            if (nextMark <= j && s < j)
                if (const void* q = std::memchr(p + s, '\n', static_cast<std::size_t>(j - s)))
                    cp = static_cast<const unsigned char*>(q) - p + 1;
            for (; k < targets.size(); ++k) {
                const CColourCheckpoint& t = targets[k];
                if (t.pos > j || (cp >= 0 && t.pos > cp))
                    break;
                const bool lineStart = t.pos == 0 || p[t.pos - 1] == '\n';
                if (t.pos >= minStop && (t.pos > i || t.pos == from.pos) && lineStart && t.inPhp == inPhp &&
                    t.pos >= coloured) {
                    colourTo(t.pos);
                    if (html.Capturable() && state() == t.state) {
                        stop = t.pos;
                        m_nStoppedAt = static_cast<std::int64_t>(k);
                        return true;
                    }
                }
            }
            if (cp < 0)
                return false;
            colourTo(cp);
            if (html.Capturable()) {
                m_found.push_back({cp, inPhp, state()});
                nextMark = cp + m_nSpacing;
                s = std::max(cp, nextMark - 1);
            } else {
                s = cp;
            }
        }
    };

    RegionLexer::Scan(m_text, static_cast<std::size_t>(from.pos), from.inPhp,
                      [&](RegionLexer::Event event, std::size_t start, std::size_t end) {
                          const auto a = static_cast<std::int64_t>(start);
                          auto b = static_cast<std::int64_t>(end);
                          if (event == RegionLexer::GAP)
                              return visitGap(a, b);
                          // "<?=" is one tag to PHP.
                          if (event == RegionLexer::OPEN && b == a + 2 && b < n && p[b] == '=')
                              ++b;
                          colourTo(a);
                          Fill(SLOT_PHP_DELIMITER, a, b);
                          coloured = b;
                          inPhp = event == RegionLexer::OPEN;
                          php.Reset();
                          return false;
                      });
    if (stop < 0) {
        colourTo(n);
        return n;
    }
    m_slots.resize(static_cast<std::size_t>(stop - m_nBase));
    while (!m_found.empty() && m_found.back().pos >= stop)
        m_found.pop_back();
    return stop;
}
