// Encoding detection on any bytes: what is decoded encodes back to the same
// bytes, so an unchanged file always saves as it was read; the kind chosen is
// the first that fits (UTF-8 with or without its mark, then GB18030, then
// Latin-1); and the fast GB18030 table agrees with iconv both ways.
#include <QByteArray>
#include <cstdlib>

#include "core/FileEncoding.h"
#include "core/Gb18030Table.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

// The GB18030 table is built once, at the first text that is not UTF-8: build
// it before the first input so that its cost is not charged to one.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    (void)FileEncoding::Decode(QByteArray("\xFF"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using FileEncoding::Kind;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const FileEncoding::Decoded decoded = FileEncoding::Decode(bytes);
    Check(FileEncoding::IsValidUtf8(decoded.text.constData(), decoded.text.size()));
    const std::optional<QByteArray> back = FileEncoding::Encode(decoded.text, decoded.format.kind);
    Check(back && *back == bytes);
    Check(decoded.format.lineBreak == FileEncoding::DetectLineBreak(decoded.text));

    const bool utf8 = FileEncoding::IsValidUtf8(bytes.constData(), bytes.size());
    const bool bom = bytes.startsWith("\xEF\xBB\xBF") && FileEncoding::IsValidUtf8(bytes.constData() + 3, size - 3);
    const std::optional<QByteArray> gb = Gb18030Table::DecodeRoundTrip(bytes);
    const Kind expected = bom ? Kind::Utf8Bom : utf8 ? Kind::Utf8 : gb ? Kind::Gb18030 : Kind::Latin1;
    Check(decoded.format.kind == expected);

    // The table's decoding is iconv's wherever it accepts the bytes, and its
    // encoding of that text is iconv's too.
    const std::optional<QByteArray> slow = FileEncoding::Gb18030ToUtf8(bytes);
    if (gb) {
        Check(slow && *slow == *gb);
        const std::optional<QByteArray> encoded = Gb18030Table::Encode(*gb);
        Check(encoded && *encoded == bytes && FileEncoding::Utf8ToGb18030(*gb) == encoded);
    }
    // Any valid UTF-8 GB18030 can carry encodes the same way through the table and iconv.
    if (utf8) {
        const std::optional<QByteArray> viaTable = Gb18030Table::Encode(bytes);
        Check(viaTable == FileEncoding::Utf8ToGb18030(bytes));
        if (viaTable)
            Check(Gb18030Table::DecodeRoundTrip(*viaTable) == bytes);
    }
    return 0;
}
