// The stretch of a text changed since it was last coloured, merged over any
// number of insertions and deletions: old bytes [Start, OldEnd) became new
// bytes [Start, NewEnd); everything before and after is unchanged (shifted).
#pragma once

#include <cstdint>

class CChangeSpan {
public:
    void Insert(std::int64_t pos, std::int64_t length);
    void Delete(std::int64_t pos, std::int64_t length);
    // The whole text may have changed (nothing is known of the previous pass).
    void MarkAll() { m_bAll = true; }
    void Clear() { *this = CChangeSpan(); }

    bool IsAll() const { return m_bAll; }
    bool IsEmpty() const { return !m_bAll && !m_bDirty; }
    std::int64_t Start() const { return m_nStart; }
    std::int64_t NewEnd() const { return m_nNewEnd; }
    std::int64_t OldEnd() const { return m_nNewEnd - m_nDelta; }
    std::int64_t Delta() const { return m_nDelta; }

private:
    bool m_bAll = false;
    bool m_bDirty = false;
    std::int64_t m_nStart = 0;
    std::int64_t m_nNewEnd = 0; // in the current text
    std::int64_t m_nDelta = 0;  // current length minus the length at the last pass
};
