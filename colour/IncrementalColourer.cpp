#include "IncrementalColourer.h"

#include <algorithm>

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

std::vector<CIncrementalColourer::Window> CIncrementalColourer::Whole(std::string_view text)
{
    std::vector<Window> windows;
    windows.push_back(Adopt(WholePass(text, m_nSpacing, m_rules)));
    return windows;
}

std::int64_t CIncrementalColourer::ReadsFrom(const CChangeSet& change) const
{
    return m_bValid ? change.RestartOf(m_checkpoints) : 0;
}

std::vector<CIncrementalColourer::Window> CIncrementalColourer::Update(std::string_view text,
                                                                       const CChangeSet& change)
{
    const auto n = static_cast<std::int64_t>(text.size());
    if (!m_bValid || change.IsAll())
        return Whole(text);
    const std::vector<CChangeSet::Span>& spans = change.Spans();
    if (spans.empty() && n == m_nLength)
        return {};
    // A change that does not fit the text (it cannot, but nothing is lost by
    // checking) is taken as a new text.
    if (spans.empty() || m_nLength + change.Delta() != n || spans.front().start < 0 || spans.back().newEnd > n)
        return Whole(text);
    // A text replaced whole (a file loaded) shares nothing with the last pass.
    if (spans.size() == 1 && spans[0].start == 0 && spans[0].newEnd == n)
        return Whole(text);

    // The last pass's checkpoints that no span changed, moved to this text's
    // positions, each with the number of spans before it: a checkpoint before
    // span k's old start is a place to restart its scan from (the state there
    // depends only on the bytes before it); one after its old end is a claim
    // of the last pass where the scan may stop if it agrees.
    struct Moved {
        CColourCheckpoint cp;
        std::size_t gap;
    };
    std::vector<Moved> moved;
    moved.reserve(m_checkpoints.size());
    change.MoveMarks(m_checkpoints,
                     [&](const CColourCheckpoint& at, std::size_t gap) { moved.push_back({at, gap}); });

    std::vector<CColourCheckpoint> merged;
    merged.reserve(moved.size() + 16);
    std::vector<Window> windows;
    std::size_t m = 0; // the next moved checkpoint not yet in merged
    for (std::size_t k = 0; k < spans.size();) {
        const CChangeSet::Span& span = spans[k];
        for (; m < moved.size() && moved[m].gap <= k; ++m)
            merged.push_back(moved[m].cp);
        const CColourCheckpoint from = merged.empty() ? CColourCheckpoint{0, false} : merged.back();
        std::vector<CColourCheckpoint> targets;
        targets.reserve(moved.size() - m);
        for (std::size_t i = m; i < moved.size(); ++i)
            targets.push_back(moved[i].cp);

        CColourScan scan(text, m_nSpacing, m_rules);
        scan.Run(from, targets, span.newEnd);
        merged.insert(merged.end(), scan.Found().begin(), scan.Found().end());
        windows.push_back({from.pos, scan.TakeSlots(), false});
        if (scan.StoppedAt() < 0) {
            m = moved.size();
            break;
        }
        // The scan ran over every span before the checkpoint it stopped at.
        m += static_cast<std::size_t>(scan.StoppedAt());
        k = moved[m].gap;
    }
    for (; m < moved.size(); ++m)
        merged.push_back(moved[m].cp);
    m_checkpoints = std::move(merged);
    m_nLength = n;
    return windows;
}
