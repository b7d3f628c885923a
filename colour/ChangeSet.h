// The stretches of a text changed since it was last coloured, merged over any
// number of insertions and deletions. Each span says that old bytes
// [Start, OldEnd) became new bytes [Start, NewEnd), positions in the current
// text; the bytes between spans are unchanged (shifted). Edits far apart stay
// apart, so that the next pass rescans the text near each of them and never
// the distance between them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class CChangeSet {
public:
    struct Span {
        std::int64_t start = 0;
        std::int64_t newEnd = 0;
        std::int64_t delta = 0; // the span's length now minus its length at the last pass
        std::int64_t OldLength() const { return newEnd - start - delta; }
    };
    // Spans closer than this are kept as one: a rescan reaches that far anyway.
    static constexpr std::int64_t kNear = 4096;
    // At most this many spans; past it the two closest are joined.
    static constexpr std::size_t kMaxSpans = 32;

    void Insert(std::int64_t pos, std::int64_t length) { Replace(pos, 0, length); }
    void Delete(std::int64_t pos, std::int64_t length) { Replace(pos, length, 0); }
    // The whole text may have changed (nothing is known of the previous pass).
    void MarkAll() { m_bAll = true; }
    static CChangeSet All()
    {
        CChangeSet all;
        all.MarkAll();
        return all;
    }
    void Clear() { *this = CChangeSet(); }

    bool IsAll() const { return m_bAll; }
    bool IsEmpty() const { return !m_bAll && m_spans.empty(); }
    // In text order, disjoint, none touching another.
    const std::vector<Span>& Spans() const { return m_spans; }
    // Current length minus the length at the last pass.
    std::int64_t Delta() const;

    // The marks of the last pass (in text order, each with a .pos in the
    // last pass's text) that no span changed, moved to the current text:
    // calls keep(moved mark, gap) in order, gap being the number of spans
    // before the mark. A mark at or before span k's old start is a place to
    // restart span k's rescan from; one at or after its old end, a claim of
    // the last pass that the rescan may stop at if it agrees.
    template <class Mark, class Keep>
    void MoveMarks(const std::vector<Mark>& marks, Keep&& keep) const
    {
        std::size_t k = 0;
        std::int64_t before = 0; // the deltas of the spans before span k
        for (const Mark& mark : marks) {
            while (k < m_spans.size() && mark.pos >= m_spans[k].start - before + m_spans[k].OldLength() &&
                   mark.pos > m_spans[k].start - before) {
                before += m_spans[k].delta;
                ++k;
            }
            if (k < m_spans.size() && mark.pos > m_spans[k].start - before)
                continue; // inside span k's old bytes
            Mark at = mark;
            at.pos += before;
            keep(at, k);
        }
    }

    // The position of the last of marks at or before the first changed byte
    // (where the next pass starts reading), or 0.
    template <class Mark>
    std::int64_t RestartOf(const std::vector<Mark>& marks) const
    {
        if (m_bAll || m_spans.empty())
            return 0;
        const std::int64_t lo = m_spans.front().start;
        const auto after = std::upper_bound(marks.begin(), marks.end(), lo,
                                            [](std::int64_t pos, const Mark& mark) { return pos < mark.pos; });
        return after == marks.begin() ? 0 : (after - 1)->pos;
    }

private:
    // oldLength bytes at pos became newLength bytes.
    void Replace(std::int64_t pos, std::int64_t oldLength, std::int64_t newLength);
    void JoinNear();

    bool m_bAll = false;
    std::vector<Span> m_spans;
};
