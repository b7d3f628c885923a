#include "ChangeSet.h"

#include <algorithm>

std::int64_t CChangeSet::Delta() const
{
    std::int64_t d = 0;
    for (const Span& s : m_spans)
        d += s.delta;
    return d;
}

void CChangeSet::Replace(std::int64_t pos, std::int64_t oldLength, std::int64_t newLength)
{
    if (oldLength <= 0 && newLength <= 0)
        return;
    const std::int64_t end = pos + oldLength;
    // The spans the change touches (overlapping it or meeting it at an end)
    // become one with it.
    auto first = std::lower_bound(m_spans.begin(), m_spans.end(), pos,
                                  [](const Span& s, std::int64_t p) { return s.newEnd < p; });
    auto last = first;
    Span merged{pos, end, 0};
    for (; last != m_spans.end() && last->start <= end; ++last) {
        merged.start = std::min(merged.start, last->start);
        merged.newEnd = std::max(merged.newEnd, last->newEnd);
        merged.delta += last->delta;
    }
    const std::int64_t shift = newLength - oldLength;
    merged.newEnd += shift;
    merged.delta += shift;
    for (auto it = last; it != m_spans.end(); ++it) {
        it->start += shift;
        it->newEnd += shift;
    }
    const auto at = m_spans.erase(first, last);
    m_spans.insert(at, merged);
    JoinNear();
}

void CChangeSet::JoinNear()
{
    auto join = [this](std::size_t i) {
        m_spans[i].newEnd = m_spans[i + 1].newEnd;
        m_spans[i].delta += m_spans[i + 1].delta;
        m_spans.erase(m_spans.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    };
    for (std::size_t i = 0; i + 1 < m_spans.size();) {
        if (m_spans[i + 1].start - m_spans[i].newEnd < kNear)
            join(i);
        else
            ++i;
    }
    while (m_spans.size() > kMaxSpans) {
        std::size_t closest = 0;
        for (std::size_t i = 1; i + 1 < m_spans.size(); ++i)
            if (m_spans[i + 1].start - m_spans[i].newEnd < m_spans[closest + 1].start - m_spans[closest].newEnd)
                closest = i;
        join(closest);
    }
}
