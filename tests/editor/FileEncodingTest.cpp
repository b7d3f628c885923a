#include <gtest/gtest.h>

#include <QStringDecoder>


#include "core/FileEncoding.h"
#include "core/Gb18030Table.h"

using namespace FileEncoding;

namespace {
// A file read and saved unchanged must be the same bytes.
void ExpectRoundTrip(const QByteArray& bytes, Kind kind)
{
    const Decoded d = Decode(bytes);
    EXPECT_EQ(d.format.kind, kind) << bytes.toHex().toStdString();
    EXPECT_TRUE(IsValidUtf8(d.text.constData(), d.text.size()));
    const auto back = Encode(d.text, d.format.kind);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, bytes) << bytes.toHex().toStdString();
}

const QByteArray kChineseUtf8 = "\xe4\xb8\xad\xe6\x96\x87";   // 中文
const QByteArray kChineseGbk = "\xd6\xd0\xce\xc4";            // 中文 in GBK
} // namespace

TEST(FileEncoding, EveryKindOfLineBreakAndNulSurvives)
{
    ExpectRoundTrip("<?php\r\necho 1;\r\n?>\r\n", Kind::Utf8);
    ExpectRoundTrip("a\nb\n", Kind::Utf8);
    ExpectRoundTrip("a\rb\r", Kind::Utf8);
    ExpectRoundTrip("a\r\nb\nc\rd\n\r", Kind::Utf8);
    ExpectRoundTrip(QByteArray("a\0b\0\0c", 6), Kind::Utf8);
    ExpectRoundTrip(QByteArray(), Kind::Utf8);
}

TEST(FileEncoding, ChineseTextInUtf8Gbk18030AndWithByteOrderMark)
{
    ExpectRoundTrip("<p>" + kChineseUtf8 + "</p>\r\n", Kind::Utf8);
    ExpectRoundTrip("\xEF\xBB\xBF<?php echo '" + kChineseUtf8 + "';", Kind::Utf8Bom);
    ExpectRoundTrip("<title>" + kChineseGbk + "</title>\r\n", Kind::Gb18030);
    // A four-byte GB18030 sequence (U+00C2; U+00E9 is two bytes, A8A6).
    ExpectRoundTrip("caf\x81\x30\x87\x30\r\n" + kChineseGbk, Kind::Gb18030);
    // Second bytes in the ASCII range ("@", "~", "\\") belong to their character.
    ExpectRoundTrip("a\x81\x40" "b\x81\x7e\xd5\x5c" "c", Kind::Gb18030);
    EXPECT_EQ(*Gb18030ToUtf8("\x81\x40"), "\xe4\xb8\x82");   // U+4E02

    const Decoded d = Decode("<title>" + kChineseGbk + "</title>");
    EXPECT_EQ(d.text, "<title>" + kChineseUtf8 + "</title>");
    // The byte-order mark is not part of the editor's text.
    EXPECT_EQ(Decode("\xEF\xBB\xBFx").text, "x");
}

// Four-byte codes against the standard's mapping: they count on linearly
// from 81 30 81 30, which is U+0080 (the first character without a two-byte
// code), and from 90 30 81 30, which is U+10000; 95 32 82 36 lies
// (5 * 10 + 2) * 1260 + 1 * 10 + 6 = 65536 codes further: U+20000. Qt's own
// GB18030 decoder, where it has one, agrees.
TEST(FileEncoding, FourByteGb18030CodesAreTheStandardsCharacters)
{
    const struct
    {
        QByteArray gb;
        char32_t code;
        QByteArray utf8;
    } cases[] = {
        {"\x81\x30\x81\x30", 0x80, "\xc2\x80"},
        {"\x90\x30\x81\x30", 0x10000, "\xf0\x90\x80\x80"},
        {"\x95\x32\x82\x36", 0x20000, "\xf0\xa0\x80\x80"},
    };
    QStringDecoder qt("GB18030");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gb.toHex().toStdString());
        EXPECT_EQ(QString::fromUtf8(c.utf8), QString::fromUcs4(&c.code, 1));
        // Detected among GBK text and written back unchanged.
        const Decoded d = Decode("\xd6\xd0" + c.gb);
        EXPECT_EQ(d.format.kind, Kind::Gb18030);
        EXPECT_EQ(d.text, kChineseUtf8.left(3) + c.utf8);
        EXPECT_EQ(Encode(d.text, Kind::Gb18030), "\xd6\xd0" + c.gb);
        if (qt.isValid())
            EXPECT_EQ(qt.decode(c.gb), QString::fromUcs4(&c.code, 1));
    }
    if (!qt.isValid())
        GTEST_SKIP() << "Qt has no GB18030 decoder here: the decoding was not checked against it";
}

// GB18030 is taken only when the text written back is the same bytes. This
// iconv reads 95 32 90 31 as U+20087 but writes U+20087 as FE 51, the code
// the character had before it got its own: a file with it is not GB18030.
TEST(FileEncoding, Gb18030IsTakenOnlyWhenItWritesBackTheSameBytes)
{
    const QByteArray code = "\x95\x32\x90\x31";
    const std::optional<QByteArray> read = Gb18030ToUtf8(code);
    ASSERT_TRUE(read.has_value());
    if (Utf8ToGb18030(*read) == code)
        GTEST_SKIP() << "this iconv writes the code back as it was";
    ExpectRoundTrip(kChineseGbk + code + "\r\n", Kind::Latin1);
}

TEST(FileEncoding, BytesNoOtherEncodingAcceptsFallBackToLatin1)
{
    // A lone lead byte at the end is valid neither as UTF-8 nor as GB18030.
    const QByteArray bytes("abc\xff\xfe\x80 \xd6", 9);
    ExpectRoundTrip(bytes, Kind::Latin1);
    EXPECT_EQ(Decode("\xe9t\xe9").text, "\xc3\xa9t\xc3\xa9");
}

TEST(FileEncoding, TextThatTheEncodingCannotHoldIsRefused)
{
    EXPECT_FALSE(Encode(kChineseUtf8, Kind::Latin1).has_value());
    EXPECT_EQ(*Encode("\xc3\xa9", Kind::Latin1), "\xe9");
    EXPECT_EQ(*Encode(kChineseUtf8, Kind::Gb18030), kChineseGbk);
    EXPECT_FALSE(Gb18030ToUtf8("\x81").has_value());
}

TEST(FileEncoding, Utf8Validation)
{
    const auto valid = [](const QByteArray& b) { return IsValidUtf8(b.constData(), b.size()); };
    EXPECT_TRUE(valid("plain ascii, long enough to take the eight-byte path"));
    EXPECT_TRUE(valid("\xf0\x9f\x98\x80"));          // U+1F600
    EXPECT_FALSE(valid("\xc0\xaf"));                  // overlong "/"
    EXPECT_FALSE(valid("\xe0\x80\xaf"));              // overlong, three bytes
    EXPECT_FALSE(valid("\xed\xa0\x80"));              // a surrogate
    EXPECT_FALSE(valid("\xf4\x90\x80\x80"));          // past U+10FFFF
    EXPECT_FALSE(valid("abcdefgh\xe4\xb8"));          // cut short at the end
    EXPECT_FALSE(valid("\x80"));
}

TEST(FileEncoding, FirstLineBreakDecidesNewLines)
{
    EXPECT_EQ(DetectLineBreak("no break"), LineBreak::Lf);
    EXPECT_EQ(DetectLineBreak("a\r\nb\n"), LineBreak::CrLf);
    EXPECT_EQ(DetectLineBreak("a\nb\r\n"), LineBreak::Lf);
    EXPECT_EQ(DetectLineBreak("a\rb\r\n"), LineBreak::Cr);
    EXPECT_EQ(DetectLineBreak("a\r"), LineBreak::Cr);
}

// The table conversions agree with iconv over every two-byte code at once,
// and on four-byte codes, invalid bytes and text cut inside a character.
TEST(Gb18030Table, AgreesWithIconvWholeText)
{
    QByteArray all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (trail != 0x7F)
                all += QByteArray("a") + char(lead) + char(trail);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"every two-byte code", all},
        {"ascii and chinese", QByteArray("<?php echo \"\xD6\xD0\xCE\xC4\"; ?>\r\n")},
        {"four-byte code", QByteArray("x\x81\x30\x81\x30y")},
        {"lead at the end", QByteArray("abc\xD6")},
        {"0x80", QByteArray("a\x80")},
        {"bad trail", QByteArray("a\xD6\x7F")},
        {"0xFF", QByteArray("\xFF\xFF")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QByteArray> viaIconv = FileEncoding::Gb18030ToUtf8(c.bytes);
        const bool roundTrips = viaIconv && FileEncoding::Utf8ToGb18030(*viaIconv) == c.bytes;
        const std::optional<QByteArray> viaTable = Gb18030Table::DecodeRoundTrip(c.bytes);
        ASSERT_EQ(viaTable.has_value(), roundTrips);
        if (!viaTable)
            continue;
        EXPECT_EQ(*viaTable, *viaIconv);
        EXPECT_EQ(Gb18030Table::Encode(*viaTable), FileEncoding::Utf8ToGb18030(*viaTable));
    }
    EXPECT_FALSE(Gb18030Table::Encode(QByteArray("a\xE4\xB8")).has_value()) << "a character cut short";
    EXPECT_FALSE(Gb18030Table::Encode(QByteArray("\xED\xA0\x80")).has_value()) << "a surrogate";
}
