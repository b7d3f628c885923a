// Reads a page or a picture of the ad pane from a local file: only a regular
// file, never more than a cap, and never waiting on a device or a pipe.
#pragma once

#include <QByteArray>
#include <QString>

namespace LocalPage {

struct Result
{
    enum Status { Read, NotAFile, TooLarge, Failed };
    Status status = Failed;
    QByteArray bytes;   // the file's bytes when status is Read
};

// The bytes of the regular file at path (a link is followed), when it holds at
// most maxBytes. The bytes actually read are counted, so a file that grows, or
// one whose size says 0 as /proc files do, cannot exceed the cap. Anything
// other than a regular file (a device, a FIFO, a socket, a folder) is not
// read at all; opening it does not wait for a writer.
Result Read(const QString& path, qint64 maxBytes);

} // namespace LocalPage
