// What a file on disk looked like when the editor last read or wrote it: a
// change of any of these means another program changed or replaced it.
#pragma once

#include <QString>

struct CDiskStamp
{
    bool bExists = false;
    qint64 nSize = 0;
    qint64 nModifiedNs = 0;
    quint64 nInode = 0;
    quint64 nDevice = 0;

    // The file at path now (a link's target).
    static CDiskStamp Of(const QString& path);

    bool operator==(const CDiskStamp& other) const = default;
};
