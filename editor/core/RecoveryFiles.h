// The files of the recovery folder, read and written without trusting what
// else lies there: names parsed exactly, only regular files opened (never
// through a link), a file's header read without its body, and a header
// rewritten with the body copied over in pieces.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

namespace RecoveryFiles {

// An editor's session, "<pid>-<msecs>", and a file of it,
// "<pid>-<msecs>-<number><suffix>" (suffix ".qrec", say).
bool IsSession(QStringView text);
struct Name
{
    QString session;
    qint64 number = 0;
};
std::optional<Name> Parse(QStringView fileName, QStringView suffix);
// What a killed write through QSaveFile leaves: "<file>.XXXXXX", the file's
// name and six letters or digits.
bool IsTemporaryOf(QStringView name, QStringView file);

// Regular files of folder (lstat: links and everything else are left out).
QStringList RegularFiles(const QString& folder);

// Opens a regular file for reading, never through a link and never waiting
// on a pipe; -1 for anything else.
int OpenRegular(const QString& path);

// "MAGIC\nkey: value\n...\n\n" then a body: the fields, the body's offset and
// its size (the rest of the file). Only the header is read.
struct Header
{
    QList<QPair<QByteArray, QByteArray>> fields;
    qint64 bodyOffset = 0;
    qint64 bodySize = 0;
    QByteArray Value(const QByteArray& key) const;
};
std::optional<Header> ReadHeader(int fd, const QByteArray& magic);
QByteArray EncodeHeader(const QByteArray& magic, const QList<QPair<QByteArray, QByteArray>>& fields);

// Reads size bytes from offset in pieces handed to sink; false on a read
// error, a short file, or a sink that says stop.
bool ReadBody(int fd, qint64 offset, qint64 size, const std::function<bool(const char*, qint64)>& sink);

// Replaces file by header followed by the size bytes at offset of the file
// as it is (written beside it, then renamed over it; a link in its place is
// replaced, not followed).
bool RewriteHeader(const QString& file, const QByteArray& header, qint64 offset, qint64 size);

// Creates a new file "<base>.XXXXXX" (six letters or digits of its own),
// mode & ~umask, never through a link; made is its name. -1 on failure.
int CreateBeside(const QString& base, QString* made, int mode = 0600);

// Writes parts to a new file beside path, on disk, then renames it over
// path; mode 0600. Nothing is left beside path on failure.
bool WriteWhole(const QString& path, const QList<QByteArray>& parts);

} // namespace RecoveryFiles
