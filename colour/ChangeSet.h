// The stretches of a text changed since it was last coloured, merged over any
// number of insertions and deletions. Each span says that old bytes
// [Start, OldEnd) became new bytes [Start, NewEnd), positions in the current
// text; the bytes between spans are unchanged (shifted). Edits far apart stay
// apart, so that the next pass rescans the text near each of them and never
// the distance between them.
#pragma once

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
    void Clear() { *this = CChangeSet(); }

    bool IsAll() const { return m_bAll; }
    bool IsEmpty() const { return !m_bAll && m_spans.empty(); }
    // In text order, disjoint, none touching another.
    const std::vector<Span>& Spans() const { return m_spans; }
    // Current length minus the length at the last pass.
    std::int64_t Delta() const;

private:
    // oldLength bytes at pos became newLength bytes.
    void Replace(std::int64_t pos, std::int64_t oldLength, std::int64_t newLength);
    void JoinNear();

    bool m_bAll = false;
    std::vector<Span> m_spans;
};
