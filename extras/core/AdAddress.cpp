#include "AdAddress.h"

#include <QSettings>

#include "DesCipher.h"

namespace AdAddress {

namespace {

// The key, also an 8-character text.
constexpr char kKey[] = "Fennroth";

// The shipped page's address padded with zero bytes to 64, enciphered with
// DES in ECB mode under kKey.
constexpr unsigned char kEnciphered[64] = {
    0x4C, 0xF8, 0xFA, 0x16, 0x5E, 0x72, 0x57, 0xEE,
    0xBC, 0xC8, 0x55, 0x53, 0xB2, 0x0A, 0xE6, 0x5A,
    0xA8, 0x79, 0x41, 0x1C, 0xA8, 0x88, 0x92, 0xCC,
    0x87, 0xA6, 0x88, 0x31, 0xEB, 0x36, 0x3B, 0x54,
    0x1E, 0x00, 0x6D, 0x7D, 0xFB, 0x26, 0xE7, 0xE3,
    0x1E, 0x00, 0x6D, 0x7D, 0xFB, 0x26, 0xE7, 0xE3,
    0x1E, 0x00, 0x6D, 0x7D, 0xFB, 0x26, 0xE7, 0xE3,
    0x1E, 0x00, 0x6D, 0x7D, 0xFB, 0x26, 0xE7, 0xE3};

} // namespace

QString Decipher(QByteArray block, const QByteArray& key)
{
    if (key.size() != 8)
        return {};
    CDesCipher des;
    des.KeySetup(reinterpret_cast<const std::uint8_t*>(key.constData()), CDesCipher::Decipher);
    des.TransformBlocks(reinterpret_cast<std::uint8_t*>(block.data()),
                        static_cast<std::size_t>(block.size()));
    const qsizetype end = block.indexOf('\0');
    return QString::fromUtf8(end < 0 ? block : block.left(end));
}

QString Default()
{
    return Decipher(QByteArray(reinterpret_cast<const char*>(kEnciphered), sizeof kEnciphered),
                    QByteArray(kKey, 8));
}

QString Current()
{
    const QString set = QSettings().value(QStringLiteral("Settings/AdAddress")).toString().trimmed();
    return set.isEmpty() ? Default() : set;
}

} // namespace AdAddress
