#include "IncrementalColourer.h"

#include <algorithm>

namespace {
bool PosBefore(const CColourCheckpoint& c, std::int64_t pos) { return c.pos < pos; }
} // namespace

CIncrementalColourer::Pass CIncrementalColourer::WholePass(std::string_view text, std::int64_t spacing,
                                                           ColourRules rules)
{
    CColourScan scan(text, spacing, rules);
    scan.Run({0, false}, {}, 0);
    Pass pass;
    pass.length = static_cast<std::int64_t>(text.size());
    pass.rules = rules;
    pass.checkpoints = scan.Found();
    pass.slotBytes = scan.TakeSlots();
    return pass;
}

CIncrementalColourer::Window CIncrementalColourer::Adopt(Pass&& pass)
{
    m_checkpoints = std::move(pass.checkpoints);
    m_nLength = pass.length;
    m_rules = pass.rules;
    m_bValid = true;
    Window w;
    w.all = true;
    w.slotBytes = std::move(pass.slotBytes);
    return w;
}

CIncrementalColourer::Window CIncrementalColourer::Whole(std::string_view text)
{
    return Adopt(WholePass(text, m_nSpacing, m_rules));
}

CIncrementalColourer::Window CIncrementalColourer::Update(std::string_view text, const CChangeSpan& change)
{
    const auto n = static_cast<std::int64_t>(text.size());
    if (!m_bValid || change.IsAll())
        return Whole(text);
    if (change.IsEmpty() && n == m_nLength)
        return {};
    const std::int64_t lo = change.Start();
    const std::int64_t newEnd = change.NewEnd();
    const std::int64_t oldEnd = change.OldEnd();
    // A change that does not fit the text (it cannot, but nothing is lost by
    // checking) is taken as a new text.
    if (change.IsEmpty() || lo < 0 || lo > newEnd || newEnd > n || oldEnd < lo || oldEnd > m_nLength ||
        m_nLength + change.Delta() != n)
        return Whole(text);
    // A text replaced whole (a file loaded) shares nothing with the last pass.
    if (lo == 0 && newEnd == n)
        return Whole(text);

    // Restart at the last checkpoint at or before the first changed byte: the
    // state there depends only on the bytes before it.
    const auto restartEnd = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), lo,
                                             [](std::int64_t pos, const CColourCheckpoint& c) { return pos < c.pos; });
    const CColourCheckpoint from = restartEnd == m_checkpoints.begin() ? CColourCheckpoint{0, false} : *(restartEnd - 1);
    // Checkpoints after the change, moved to the new positions: where the scan
    // meets one in the same state, the rest is the last pass's.
    const auto after = std::lower_bound(m_checkpoints.begin(), m_checkpoints.end(), oldEnd, PosBefore);
    std::vector<CColourCheckpoint> targets(after, m_checkpoints.end());
    for (CColourCheckpoint& t : targets)
        t.pos += change.Delta();

    CColourScan scan(text, m_nSpacing, m_rules);
    scan.Run(from, targets, newEnd);

    std::vector<CColourCheckpoint> merged(m_checkpoints.begin(), restartEnd);
    merged.insert(merged.end(), scan.Found().begin(), scan.Found().end());
    if (scan.StoppedAt() >= 0)
        merged.insert(merged.end(), targets.begin() + scan.StoppedAt(), targets.end());
    m_checkpoints = std::move(merged);
    m_nLength = n;

    Window w;
    w.start = from.pos;
    w.slotBytes = scan.TakeSlots();
    return w;
}
