#include "FoldLevels.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::int64_t kEnd = std::numeric_limits<std::int64_t>::max();
constexpr std::size_t kMaxDirty = 16;
} // namespace

void CFoldLevels::Whole(std::string_view text)
{
    CFoldScan scan(text, m_nSpacing);
    scan.Run({}, {}, 0);
    m_lines = scan.TakeLines();
    m_anchors = scan.Found();
    m_nLength = static_cast<std::int64_t>(text.size());
    m_bValid = true;
    m_nDepthTo = 0;
    m_dirty.assign(1, {0, kEnd});
}

std::int64_t CFoldLevels::ReadsFrom(const CChangeSet& change) const
{
    return m_bValid ? change.RestartOf(m_anchors) : 0;
}

void CFoldLevels::Update(std::string_view text, const CChangeSet& change)
{
    const auto n = static_cast<std::int64_t>(text.size());
    const std::vector<CChangeSet::Span>& spans = change.Spans();
    if (!m_bValid || change.IsAll() || m_nLength + change.Delta() != n ||
        (!spans.empty() && (spans.front().start < 0 || spans.back().newEnd > n)))
        return Whole(text);
    if (spans.empty())
        return;

    // The anchors no span changed, moved to this text's positions, each with
    // the number of spans before it (see CIncrementalColourer::Update); their
    // lines stay those of the last scan until a rescan tells how they moved.
    struct Moved {
        CFoldAnchor anchor;
        std::size_t gap;
    };
    std::vector<Moved> moved;
    moved.reserve(m_anchors.size());
    change.MoveMarks(m_anchors, [&](const CFoldAnchor& at, std::size_t gap) { moved.push_back({at, gap}); });

    std::vector<CFoldAnchor> merged;
    merged.reserve(moved.size() + 16);
    std::int64_t shift = 0; // new line number minus last scan's, past the spans done
    std::size_t m = 0;
    for (std::size_t k = 0; k < spans.size();) {
        for (; m < moved.size() && moved[m].gap <= k; ++m) {
            CFoldAnchor a = moved[m].anchor;
            a.line += shift;
            merged.push_back(a);
        }
        const CFoldAnchor from = merged.empty() ? CFoldAnchor{} : merged.back();
        std::vector<CFoldAnchor> targets;
        targets.reserve(moved.size() - m);
        for (std::size_t i = m; i < moved.size(); ++i)
            targets.push_back(moved[i].anchor);

        CFoldScan scan(text, m_nSpacing);
        scan.Run(from, targets, spans[k].newEnd);
        merged.insert(merged.end(), scan.Found().begin(), scan.Found().end());
        // The lines from.line up to the stop (in this text's numbers) replace
        // the last scan's lines from.line up to the stop anchor's line.
        const std::int64_t oldTo =
            scan.StoppedAt() < 0 ? LineCount() : targets[static_cast<std::size_t>(scan.StoppedAt())].line + shift;
        const std::vector<CFoldLine>& lines = scan.Lines();
        const auto first = m_lines.begin() + from.line;
        std::int64_t oldNet = 0, newNet = 0;
        for (auto it = first; it != m_lines.begin() + oldTo; ++it)
            oldNet += it->net;
        for (const CFoldLine& l : lines)
            newNet += l.net;
        const std::int64_t oldCount = oldTo - from.line;
        const auto newCount = static_cast<std::int64_t>(lines.size());
        if (newCount == oldCount) {
            std::copy(lines.begin(), lines.end(), first);
        } else {
            m_lines.erase(first, m_lines.begin() + oldTo);
            m_lines.insert(m_lines.begin() + from.line, lines.begin(), lines.end());
            ShiftDirty(oldTo, newCount - oldCount);
        }
        m_nDepthTo = std::min(m_nDepthTo, from.line);
        // A rescan that changes the depth after it changes every level after it.
        MarkDirty(from.line, scan.StoppedAt() < 0 || oldNet != newNet ? kEnd : from.line + newCount);
        if (scan.StoppedAt() < 0) {
            m = moved.size();
            break;
        }
        shift += newCount - oldCount;
        m += static_cast<std::size_t>(scan.StoppedAt());
        k = moved[m].gap;
    }
    for (; m < moved.size(); ++m) {
        CFoldAnchor a = moved[m].anchor;
        a.line += shift;
        merged.push_back(a);
    }
    m_anchors = std::move(merged);
    m_nLength = n;
}

void CFoldLevels::MarkDirty(std::int64_t from, std::int64_t to)
{
    if (from >= to)
        return;
    m_dirty.emplace_back(from, to);
    std::sort(m_dirty.begin(), m_dirty.end());
    std::vector<std::pair<std::int64_t, std::int64_t>> joined;
    for (const auto& r : m_dirty) {
        if (!joined.empty() && r.first <= joined.back().second)
            joined.back().second = std::max(joined.back().second, r.second);
        else
            joined.push_back(r);
    }
    // Past the limit the closest two become one: more lines are set, none missed.
    while (joined.size() > kMaxDirty) {
        std::size_t best = 0;
        for (std::size_t i = 1; i + 1 < joined.size(); ++i)
            if (joined[i + 1].first - joined[i].second < joined[best + 1].first - joined[best].second)
                best = i;
        joined[best].second = joined[best + 1].second;
        joined.erase(joined.begin() + static_cast<std::ptrdiff_t>(best) + 1);
    }
    m_dirty = std::move(joined);
}

// Lines at or after `after` moved by `by` (the control moves its levels with
// its lines, so what was set stays set).
void CFoldLevels::ShiftDirty(std::int64_t after, std::int64_t by)
{
    for (auto& r : m_dirty) {
        if (r.first >= after)
            r.first = std::max(after, r.first + by);
        if (r.second >= after && r.second != kEnd)
            r.second = std::max(after, r.second + by);
    }
    m_dirty.erase(std::remove_if(m_dirty.begin(), m_dirty.end(), [](const auto& r) { return r.first >= r.second; }),
                  m_dirty.end());
}

void CFoldLevels::DepthTo(std::int64_t line)
{
    if (line <= m_nDepthTo)
        return;
    m_depth.resize(m_lines.size());
    std::int64_t d = m_nDepthTo == 0 ? 0 : m_depth[static_cast<std::size_t>(m_nDepthTo - 1)] +
                                               m_lines[static_cast<std::size_t>(m_nDepthTo - 1)].net;
    for (std::int64_t l = m_nDepthTo; l < line; ++l) {
        m_depth[static_cast<std::size_t>(l)] = static_cast<std::int32_t>(d);
        d += m_lines[static_cast<std::size_t>(l)].net;
    }
    m_nDepthTo = line;
}

int CFoldLevels::Level(std::int64_t line)
{
    DepthTo(line + 1);
    const CFoldLine& l = m_lines[static_cast<std::size_t>(line)];
    const std::int64_t depth = m_depth[static_cast<std::size_t>(line)];
    const auto clamp = [](std::int64_t d) { return static_cast<int>(std::clamp<std::int64_t>(d, 0, kMaxDepth)); };
    const int level = clamp(depth + l.low);
    return kBase + level + (clamp(depth + l.net) > level ? kHeader : 0);
}

void CFoldLevels::Apply(std::int64_t from, std::int64_t to, const std::function<void(std::int64_t, int)>& set)
{
    to = std::min(to, LineCount());
    if (from >= to)
        return;
    std::vector<std::pair<std::int64_t, std::int64_t>> rest;
    for (const auto& r : m_dirty) {
        const std::int64_t a = std::max(r.first, from), b = std::min(r.second, to);
        if (a >= b) {
            rest.push_back(r);
            continue;
        }
        for (std::int64_t l = a; l < b; ++l)
            set(l, Level(l));
        if (r.first < a)
            rest.emplace_back(r.first, a);
        if (b < r.second)
            rest.emplace_back(b, r.second);
    }
    m_dirty = std::move(rest);
}
