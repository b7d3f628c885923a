#include "Gb18030Table.h"

#include <iconv.h>

#include <cstring>
#include <vector>

namespace Gb18030Table {

namespace {

// One iconv direction, opened at its first use and then kept for every
// further conversion: opening a descriptor costs far more than converting
// one character.
class Converter {
public:
    Converter(const char* to, const char* from) : m_to(to), m_from(from) {}
    ~Converter()
    {
        if (m_cd != kNone)
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The whole of in converted, starting from the initial shift state; empty
    // on failure.
    QByteArray operator()(const char* in, std::size_t length)
    {
        if (m_cd == kNone && !m_bTried) {
            m_bTried = true;
            m_cd = iconv_open(m_to, m_from);
        }
        if (m_cd == kNone)
            return {};
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        std::size_t inLeft = length;
        std::size_t outLeft = sizeof out;
        const bool ok =
            iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
        return ok ? QByteArray(out, outPtr - out) : QByteArray();
    }

private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    const char* m_to;
    const char* m_from;
    iconv_t m_cd = kNone;
    bool m_bTried = false;
};

void AppendUtf8(QByteArray& out, char32_t u)
{
    if (u < 0x800) {
        out.append(static_cast<char>(0xC0 | (u >> 6)));
    } else {
        out.append(static_cast<char>(0xE0 | (u >> 12)));
        out.append(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    }
    out.append(static_cast<char>(0x80 | (u & 0x3F)));
}

// The code point of one UTF-8 character of up to three bytes; 0 if it is not one.
char32_t FromUtf8(const char* s, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    if (size == 2)
        return ((p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    if (size == 3)
        return ((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    return 0;
}

char32_t FromUtf8(const QByteArray& s)
{
    return FromUtf8(s.constData(), s.size());
}

// Every two-byte code (lead 0x81..0xFE, trail 0x40..0xFE but 0x7F) whose
// character is in the Basic Multilingual Plane and encodes back to the same
// code, both ways.
struct Tables {
    std::vector<char16_t> toUnicode = std::vector<char16_t>(128 * 256, 0);   // by (lead - 0x80) * 256 + trail
    std::vector<std::uint16_t> fromUnicode = std::vector<std::uint16_t>(65536, 0);

    Tables()
    {
        Converter toUtf8("UTF-8", "GB18030"), toGb("GB18030", "UTF-8");
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const char32_t u = FromUtf8(toUtf8(code, 2));
                if (u < 0x80)
                    continue;
                QByteArray utf8;
                AppendUtf8(utf8, u);
                if (toGb(utf8.constData(), static_cast<std::size_t>(utf8.size())) != QByteArray(code, 2))
                    continue;
                toUnicode[(lead - 0x80) * 256 + trail] = static_cast<char16_t>(u);
                fromUnicode[u] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
    }
};

const Tables& TheTables()
{
    static const Tables tables;
    return tables;
}

// Where the ASCII bytes from i on end, found eight at a time where it can.
qsizetype AsciiEnd(const char* s, qsizetype i, qsizetype n)
{
    qsizetype j = i;
    while (j + 8 <= n) {
        quint64 w;
        std::memcpy(&w, s + j, 8);
        if (w & 0x8080808080808080ULL)
            break;
        j += 8;
    }
    while (j < n && static_cast<unsigned char>(s[j]) < 0x80)
        ++j;
    return j;
}

// Copies the ASCII bytes from i on; returns where they end.
qsizetype CopyAscii(const char* s, qsizetype i, qsizetype n, QByteArray& out)
{
    const qsizetype j = AsciiEnd(s, i, n);
    out.append(s + i, j - i);
    return j;
}

} // namespace

std::optional<QByteArray> DecodeRoundTrip(const QByteArray& bytes)
{
    const Tables& t = TheTables();
    Converter toUtf8("UTF-8", "GB18030"), toGb("GB18030", "UTF-8");
    const char* s = bytes.constData();
    const qsizetype n = bytes.size();
    QByteArray out;
    out.reserve(n + n / 2);
    qsizetype i = 0;
    while ((i = CopyAscii(s, i, n, out)) < n) {
        const auto lead = static_cast<unsigned char>(s[i]);
        if (i + 1 >= n)
            return std::nullopt;
        const auto trail = static_cast<unsigned char>(s[i + 1]);
        if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40) {
            if (const char16_t u = t.toUnicode[(lead - 0x80) * 256 + trail]) {
                AppendUtf8(out, u);
                i += 2;
                continue;
            }
        }
        // Four-byte codes and anything the table lacks: iconv, both ways.
        const qsizetype len = trail >= '0' && trail <= '9' ? 4 : 2;
        if (i + len > n)
            return std::nullopt;
        const QByteArray utf8 = toUtf8(s + i, static_cast<std::size_t>(len));
        if (utf8.isEmpty() || toGb(utf8.constData(), static_cast<std::size_t>(utf8.size())) != QByteArray(s + i, len))
            return std::nullopt;
        out.append(utf8);
        i += len;
    }
    return out;
}

std::optional<QByteArray> Encode(const QByteArray& utf8)
{
    const Tables& t = TheTables();
    Converter toGb("GB18030", "UTF-8");
    const char* s = utf8.constData();
    const qsizetype n = utf8.size();
    // Written through a cursor into room for the longest result: a two-byte
    // UTF-8 character may take four bytes of GB18030, nothing takes more
    // than twice its length.
    QByteArray out(2 * n, Qt::Uninitialized);
    char* o = out.data();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype ascii = AsciiEnd(s, i, n);
        std::memcpy(o, s + i, static_cast<std::size_t>(ascii - i));
        o += ascii - i;
        i = ascii;
        if (i >= n)
            break;
        const auto c = static_cast<unsigned char>(s[i]);
        const qsizetype len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        if (i + len > n)
            return std::nullopt;
        for (qsizetype k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return std::nullopt;
        const char32_t u = FromUtf8(s + i, len);
        if (u >= 0x80 && u < 0x10000 && t.fromUnicode[u]) {
            *o++ = static_cast<char>(t.fromUnicode[u] >> 8);
            *o++ = static_cast<char>(t.fromUnicode[u] & 0xFF);
        } else {
            const QByteArray gb = toGb(s + i, static_cast<std::size_t>(len));
            if (gb.isEmpty() || gb.size() > 2 * len)
                return std::nullopt;
            std::memcpy(o, gb.constData(), static_cast<std::size_t>(gb.size()));
            o += gb.size();
        }
        i += len;
    }
    out.truncate(o - out.constData());
    return out;
}

} // namespace Gb18030Table
