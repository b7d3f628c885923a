#include "Utf8Text.h"

#include <algorithm>

namespace {

bool IsTrail(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at p (1..4), or 0 when the byte at
// p starts none: no overlong forms, no surrogates, nothing past U+10FFFF.
int SequenceLength(const unsigned char* p, qsizetype left)
{
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return left >= 2 && IsTrail(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !IsTrail(p[1]) || !IsTrail(p[2]))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] > 0x9F))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !IsTrail(p[1]) || !IsTrail(p[2]) || !IsTrail(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

// Code units a sequence of the given length decodes to (an invalid byte: one).
int UnitsOf(int length) { return length == 4 ? 2 : 1; }

} // namespace

CUtf8Text::CUtf8Text(QByteArray utf8) : m_bytes(std::move(utf8))
{
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    const qsizetype n = m_bytes.size();
    m_text.resize(n);   // never more units than bytes
    char16_t* out = reinterpret_cast<char16_t*>(m_text.data());
    qsizetype unit = 0;
    qsizetype nextMark = 0;
    for (qsizetype i = 0; i < n;) {
        if (unit >= nextMark) {
            m_marks.append({unit, i});
            nextMark = unit + kMarkEvery;
        }
        const unsigned char c = p[i];
        if (c < 0x80) {
            out[unit++] = c;
            ++i;
            continue;
        }
        switch (SequenceLength(p + i, n - i)) {
        case 2:
            out[unit++] = char16_t(((c & 0x1F) << 6) | (p[i + 1] & 0x3F));
            i += 2;
            break;
        case 3:
            out[unit++] = char16_t(((c & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F));
            i += 3;
            break;
        case 4: {
            const char32_t cp = ((c & 0x07) << 18) | ((p[i + 1] & 0x3F) << 12) | ((p[i + 2] & 0x3F) << 6) |
                                (p[i + 3] & 0x3F);
            out[unit++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out[unit++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
            i += 4;
            break;
        }
        default:
            out[unit++] = 0xFFFD;
            ++i;
        }
    }
    m_text.resize(unit);
    if (m_marks.isEmpty())
        m_marks.append({0, 0});
}

CUtf8Text::Mark CUtf8Text::StartFor(qsizetype value, qsizetype Mark::*field) const
{
    const auto it = std::upper_bound(m_marks.begin(), m_marks.end(), value,
                                     [field](qsizetype v, const Mark& m) { return v < m.*field; });
    const Mark mark = it == m_marks.begin() ? m_marks.first() : *(it - 1);
    return m_last.*field <= value && m_last.*field > mark.*field ? m_last : mark;
}

qsizetype CUtf8Text::ToUnit(qsizetype byte) const
{
    byte = std::clamp<qsizetype>(byte, 0, m_bytes.size());
    const Mark mark = StartFor(byte, &Mark::byte);
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    qsizetype unit = mark.unit;
    qsizetype i = mark.byte;
    while (i < byte) {
        const int length = std::max(1, SequenceLength(p + i, m_bytes.size() - i));
        if (i + length > byte)
            break;
        i += length;
        unit += UnitsOf(length);
    }
    m_last = {unit, i};
    return unit;
}

qsizetype CUtf8Text::ToByte(qsizetype unit) const
{
    unit = std::clamp<qsizetype>(unit, 0, m_text.size());
    const Mark mark = StartFor(unit, &Mark::unit);
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    qsizetype byte = mark.byte;
    qsizetype u = mark.unit;
    while (u < unit) {
        const int length = std::max(1, SequenceLength(p + byte, m_bytes.size() - byte));
        if (u + UnitsOf(length) > unit)
            break;
        u += UnitsOf(length);
        byte += length;
    }
    m_last = {u, byte};
    return byte;
}
