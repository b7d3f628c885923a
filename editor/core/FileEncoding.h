// Converts a file's bytes to the editor's UTF-8 text and back, byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace FileEncoding {

enum class Kind {
    Utf8,      // valid UTF-8 (plain ASCII included)
    Utf8Bom,   // valid UTF-8 after a byte-order mark, which is written back
    Gb18030,   // GB18030, the superset of code page 936 (GBK)
    Latin1     // anything else: every byte is one character
};

enum class LineBreak { Lf, CrLf, Cr };

// What a file was read as: saving with the same format gives the same bytes.
struct Format
{
    Kind kind = Kind::Utf8;
    LineBreak lineBreak = LineBreak::Lf;
};

struct Decoded
{
    Format format;
    QByteArray text;   // UTF-8, as the editor control holds it
};

bool IsValidUtf8(const char* data, qsizetype size);

// The first line break found in text; LF when there is none.
LineBreak DetectLineBreak(const QByteArray& text);

// How the status bar names a format: "GB18030 · CRLF", "UTF-8 · LF".
QString KindName(Kind kind);
QString LineBreakName(LineBreak lineBreak);
QString FormatName(const Format& format);

// Picks the first encoding under which bytes decode and encode back to the
// same bytes: UTF-8 (with or without a byte-order mark), GB18030, Latin-1.
Decoded Decode(const QByteArray& bytes);

// The file's bytes for the editor's UTF-8 text under kind; nothing when the
// text holds a character that kind cannot represent.
std::optional<QByteArray> Encode(const QByteArray& utf8, Kind kind);

// Raw conversions through iconv; nothing on any invalid or unmappable sequence.
std::optional<QByteArray> Gb18030ToUtf8(const QByteArray& bytes);
std::optional<QByteArray> Utf8ToGb18030(const QByteArray& utf8);

} // namespace FileEncoding
