// The ad pane's address: the program's own page, kept enciphered, or the
// address the user set in the settings.
#pragma once

#include <QByteArray>
#include <QString>

namespace AdAddress {

// block deciphered with DES in ECB mode under key (8 bytes), read up to its
// first zero byte; empty when key is not 8 bytes long.
QString Decipher(QByteArray block, const QByteArray& key);

// The shipped page's address, deciphered from the block the program keeps.
QString Default();

// "Settings"/"AdAddress" when the user set one, otherwise Default().
QString Current();

} // namespace AdAddress
