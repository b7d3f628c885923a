#include "ChangeSpan.h"

#include <algorithm>

void CChangeSpan::Insert(std::int64_t pos, std::int64_t length)
{
    if (length <= 0)
        return;
    if (!m_bDirty) {
        m_bDirty = true;
        m_nStart = pos;
        m_nNewEnd = pos + length;
        m_nDelta = length;
        return;
    }
    // Text inserted at or before the span's end moves the end; text inserted
    // after it widens the span to cover the unchanged bytes between.
    m_nNewEnd = pos <= m_nNewEnd ? m_nNewEnd + length : pos + length;
    m_nStart = std::min(m_nStart, pos);
    m_nDelta += length;
}

void CChangeSpan::Delete(std::int64_t pos, std::int64_t length)
{
    if (length <= 0)
        return;
    if (!m_bDirty) {
        m_bDirty = true;
        m_nStart = pos;
        m_nNewEnd = pos;
        m_nDelta = -length;
        return;
    }
    // Bytes removed wholly before the span's end move it back; a removal that
    // reaches past the end (or lies after it) ends the span where it was made.
    m_nNewEnd = pos + length <= m_nNewEnd ? m_nNewEnd - length : pos;
    m_nStart = std::min(m_nStart, pos);
    m_nDelta -= length;
}
