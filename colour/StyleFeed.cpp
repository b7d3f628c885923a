#include "StyleFeed.h"

#include <algorithm>

CStyleFeed::CStyleFeed(std::vector<std::uint8_t> slotBytes) : m_slots(std::move(slotBytes))
{
    if (!m_slots.empty())
        m_stretches.push_back({0, 0, static_cast<std::int64_t>(m_slots.size())});
}

void CStyleFeed::Remove(std::int64_t lo, std::int64_t hi)
{
    if (lo >= hi)
        return;
    std::vector<Stretch> kept;
    kept.reserve(m_stretches.size() + 1);
    for (const Stretch& s : m_stretches) {
        if (s.End() <= lo || s.start >= hi) {
            kept.push_back(s);
            continue;
        }
        if (s.start < lo)
            kept.push_back({s.start, s.source, lo - s.start});
        if (s.End() > hi)
            kept.push_back({hi, s.source + (hi - s.start), s.End() - hi});
    }
    m_stretches.swap(kept);
}

void CStyleFeed::Insert(std::int64_t pos, std::int64_t length)
{
    if (length <= 0)
        return;
    std::vector<Stretch> moved;
    moved.reserve(m_stretches.size() + 1);
    for (const Stretch& s : m_stretches) {
        if (s.End() <= pos) {
            moved.push_back(s);
        } else if (s.start >= pos) {
            moved.push_back({s.start + length, s.source, s.length});
        } else {
            // Split around the new bytes.
            moved.push_back({s.start, s.source, pos - s.start});
            moved.push_back({pos + length, s.source + (pos - s.start), s.End() - pos});
        }
    }
    m_stretches.swap(moved);
}

void CStyleFeed::Delete(std::int64_t pos, std::int64_t length)
{
    if (length <= 0)
        return;
    Remove(pos, pos + length);
    for (Stretch& s : m_stretches)
        if (s.start >= pos + length)
            s.start -= length;
}

void CStyleFeed::Apply(const CChangeSet& change)
{
    if (change.IsAll()) {
        m_stretches.clear();
        return;
    }
    // Left to right, the text before each span is already in current
    // positions, so each span is its old bytes replaced at its start.
    for (const CChangeSet::Span& span : change.Spans()) {
        Delete(span.start, span.OldLength());
        Insert(span.start, span.newEnd - span.start);
    }
}

void CStyleFeed::Cover(std::int64_t start, std::int64_t length)
{
    Remove(start, start + length);
}

CStyleFeed::Piece CStyleFeed::Take(std::int64_t near, std::int64_t most)
{
    if (m_stretches.empty() || most <= 0)
        return {};
    auto it = std::find_if(m_stretches.begin(), m_stretches.end(),
                           [near](const Stretch& s) { return s.End() > near; });
    if (it == m_stretches.end())
        it = m_stretches.begin();
    const std::int64_t from = std::max(it->start, near);
    const std::int64_t length = std::min(most, it->End() - from);
    Piece piece{from, m_slots.data() + it->source + (from - it->start), length};
    Remove(from, from + length);
    return piece;
}

std::int64_t CStyleFeed::Left() const
{
    std::int64_t n = 0;
    for (const Stretch& s : m_stretches)
        n += s.length;
    return n;
}
