// Encoding detection on any bytes: what is decoded encodes back to the same
// bytes, so an unchanged file always saves as it was read.
#include <QByteArray>
#include <cstdlib>

#include "core/FileEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const FileEncoding::Decoded decoded = FileEncoding::Decode(bytes);
    if (!FileEncoding::IsValidUtf8(decoded.text.constData(), decoded.text.size()))
        std::abort();
    const std::optional<QByteArray> back = FileEncoding::Encode(decoded.text, decoded.format.kind);
    if (!back || *back != bytes)
        std::abort();
    return 0;
}
