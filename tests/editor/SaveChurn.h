// What the save-churn helper writes, shared with the tests that kill it: two
// versions of a content that differ at every stretch, so that a file holding
// a cut or a mix of them equals neither.
#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace SaveChurn {

// Version 0 or 1, size bytes of printable lines: a stretch of pseudo-random
// letters, repeated; the stretch's length (a prime) keeps the repetitions
// of the two versions from lining up with any block size.
inline QByteArray Content(int version, qsizetype size)
{
    const qsizetype kStretch = std::min<qsizetype>(65521, size);
    QByteArray stretch(kStretch, Qt::Uninitialized);
    quint32 state = version ? 0x9E3779B9u : 0x7F4A7C15u;
    for (qsizetype i = 0; i < kStretch; ++i) {
        state = state * 1664525u + 1013904223u;
        stretch[i] = i % 80 == 79 ? '\n' : static_cast<char>('A' + (state >> 24) % 26);
    }
    return kStretch == 0 ? QByteArray() : stretch.repeated(size / kStretch + 1).left(size);
}

// The sizes the helper alternates between: the second is shorter, so a save
// over the first must also cut the file.
constexpr qsizetype kFileSizes[2] = {10 * 1024 * 1024, 10 * 1024 * 1024 - 1234567};

// The settings the helper writes: kSettingsKeys keys, each with a value that
// depends on the key and the version.
constexpr int kSettingsKeys = 200;
inline QString SettingKey(int key)
{
    return QStringLiteral("Recent/File%1").arg(key);
}
inline QString SettingValue(int key, int version)
{
    return QString::fromLatin1(Content(version, 600).mid(key % 100, 500));
}

} // namespace SaveChurn
