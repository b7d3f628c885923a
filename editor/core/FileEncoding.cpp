#include "FileEncoding.h"

#include "Gb18030Table.h"

#include <iconv.h>

namespace FileEncoding {

namespace {
const char kBom[] = "\xEF\xBB\xBF";

// How many bytes the character at in[i] (a byte of 0x80 or more) takes.
using CharLength = qsizetype (*)(const QByteArray& in, qsizetype i);

// GB18030: four bytes when the second byte is a digit, two otherwise. Invalid
// sequences are left for iconv to reject.
qsizetype Gb18030CharLength(const QByteArray& in, qsizetype i)
{
    return i + 1 < in.size() && in.at(i + 1) >= '0' && in.at(i + 1) <= '9' ? 4 : 2;
}

// UTF-8: every byte of a multi-byte character is 0x80 or more anyway.
qsizetype Utf8CharLength(const QByteArray&, qsizetype) { return 1; }

// Converts through iconv. ASCII is the same bytes in both encodings, so runs of
// it are copied as they are and only the runs of other characters (never cut
// inside a character) go through iconv: most of a source file is ASCII.
std::optional<QByteArray> Convert(const char* to, const char* from, const QByteArray& in,
                                  CharLength charLength)
{
    if (in.isEmpty())
        return QByteArray();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out;
    out.reserve(in.size() + in.size() / 2 + 16);
    QByteArray buffer;
    const char* data = in.constData();
    const qsizetype size = in.size();
    bool ok = true;
    qsizetype i = 0;
    while (ok && i < size) {
        qsizetype j = i;
        while (j < size && static_cast<unsigned char>(data[j]) < 0x80)
            ++j;
        out.append(data + i, j - i);
        i = j;
        if (i >= size)
            break;
        while (j < size && static_cast<unsigned char>(data[j]) >= 0x80)
            j += charLength(in, j);
        j = qMin(j, size);
        buffer.resize((j - i) * 2 + 16);
        char* inPtr = const_cast<char*>(data + i);
        size_t inLeft = static_cast<size_t>(j - i);
        char* outPtr = buffer.data();
        size_t outLeft = static_cast<size_t>(buffer.size());
        // The run holds whole characters only, so iconv converts all of it or
        // meets an invalid or unmappable sequence.
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            ok = false;
        else
            out.append(buffer.constData(), outPtr - buffer.constData());
        i = j;
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    return out;
}

QByteArray Latin1ToUtf8(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.append(ch);
        } else {
            out.append(static_cast<char>(0xC0 | (c >> 6)));
            out.append(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::optional<QByteArray> Utf8ToLatin1(const QByteArray& utf8)
{
    QByteArray out;
    out.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8.at(i));
        if (c < 0x80) {
            out.append(static_cast<char>(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            const auto c2 = static_cast<unsigned char>(utf8.at(++i));
            out.append(static_cast<char>(((c & 0x03) << 6) | (c2 & 0x3F)));
        } else {
            return std::nullopt;   // a character above U+00FF
        }
    }
    return out;
}
} // namespace

bool IsValidUtf8(const char* data, qsizetype size)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < size) {
        // Skip ASCII eight bytes at a time: the common case for source files.
        while (i + 8 <= size) {
            quint64 word;
            memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int n;
        unsigned int cp;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= n; ++k) {
            if (i + k >= size || (s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

LineBreak DetectLineBreak(const QByteArray& text)
{
    const qsizetype i = text.indexOf('\n');
    const qsizetype j = text.indexOf('\r');
    if (i < 0 && j < 0)
        return LineBreak::Lf;
    if (j < 0 || (i >= 0 && i < j))
        return LineBreak::Lf;
    return j + 1 < text.size() && text.at(j + 1) == '\n' ? LineBreak::CrLf : LineBreak::Cr;
}

QString KindName(Kind kind)
{
    switch (kind) {
    case Kind::Utf8:
        return QStringLiteral("UTF-8");
    case Kind::Utf8Bom:
        return QStringLiteral("UTF-8 BOM");
    case Kind::Gb18030:
        return QStringLiteral("GB18030");
    case Kind::Latin1:
        return QStringLiteral("Latin-1");
    }
    return QString();
}

QString LineBreakName(LineBreak lineBreak)
{
    return lineBreak == LineBreak::CrLf ? QStringLiteral("CRLF")
           : lineBreak == LineBreak::Cr ? QStringLiteral("CR")
                                        : QStringLiteral("LF");
}

QString FormatName(const Format& format)
{
    return KindName(format.kind) + QStringLiteral(" · ") + LineBreakName(format.lineBreak);
}

std::optional<QByteArray> Gb18030ToUtf8(const QByteArray& bytes)
{
    return Convert("UTF-8", "GB18030", bytes, Gb18030CharLength);
}

std::optional<QByteArray> Utf8ToGb18030(const QByteArray& utf8)
{
    return Convert("GB18030", "UTF-8", utf8, Utf8CharLength);
}

Decoded Decode(const QByteArray& bytes)
{
    Decoded d;
    if (bytes.startsWith(kBom) && IsValidUtf8(bytes.constData() + 3, bytes.size() - 3)) {
        d.format.kind = Kind::Utf8Bom;
        d.text = bytes.mid(3);
    } else if (IsValidUtf8(bytes.constData(), bytes.size())) {
        d.format.kind = Kind::Utf8;
        d.text = bytes;
    } else if (auto text = Gb18030Table::DecodeRoundTrip(bytes)) {
        d.format.kind = Kind::Gb18030;
        d.text = std::move(*text);
    } else {
        d.format.kind = Kind::Latin1;
        d.text = Latin1ToUtf8(bytes);
    }
    d.format.lineBreak = DetectLineBreak(d.text);
    return d;
}

std::optional<QByteArray> Encode(const QByteArray& utf8, Kind kind)
{
    switch (kind) {
    case Kind::Utf8:
        return utf8;
    case Kind::Utf8Bom:
        return QByteArray(kBom) + utf8;
    case Kind::Gb18030:
        return Gb18030Table::Encode(utf8);
    case Kind::Latin1:
        return Utf8ToLatin1(utf8);
    }
    return std::nullopt;
}

} // namespace FileEncoding
