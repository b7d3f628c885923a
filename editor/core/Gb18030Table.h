// GB18030 two-byte characters both ways, from a table built once through
// iconv, so that a text of mostly ASCII with Chinese words in it converts
// without an iconv call per word. Other characters go through iconv.
#pragma once

#include <QByteArray>
#include <optional>

namespace Gb18030Table {

// GB18030 bytes to UTF-8, only when every character encodes back to the
// bytes it came from (checked as it goes); nothing otherwise.
std::optional<QByteArray> DecodeRoundTrip(const QByteArray& bytes);

// UTF-8 to GB18030; nothing when the text is not UTF-8 or holds a character
// GB18030 cannot carry.
std::optional<QByteArray> Encode(const QByteArray& utf8);

} // namespace Gb18030Table
