// The record of a save in progress, kept in the recovery folder's backups
// until the save is through, so that the start after a killed save can tidy
// up what it left: a file written in place has its old content in its record
// (offered for putting back when the file holds neither version whole); a
// file replaced through a temporary file beside it has its name there (the
// temporary file is removed).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace SaveJournal {

// Records are "<session>-<number>.save" (RecoveryFiles::Parse).
inline constexpr QStringView kSuffix = u".save";

struct Record
{
    QString strFile;          // the record itself
    QString strPath;          // the file that was being saved
    bool bInPlace = false;
    qint64 nOldOffset = 0;    // in place: the old content, the record's body
    qint64 nOldSize = 0;
    qint64 nNewSize = -1;     // in place: the new content's size and hash
    QByteArray newHash;
    int nOffers = 0;          // how many starts have offered it already
};

// Writes the record of a save of path in place from old to next; on disk
// before it returns, whole or not at all.
bool WriteInPlace(const QString& file, const QString& path, const QByteArray& old, const QByteArray& next);
// Writes the record of a save of path through a temporary file beside it.
bool WriteReplacing(const QString& file, const QString& path);
// The record's header (its body, the old content, is not read); nothing
// for a file that is no record or was cut short.
std::optional<Record> Read(const QString& file);

// What the file of an in-place record holds now.
enum class State { Old, New, Neither };
State StateOf(const Record& record);
// Writes the record's old content back over its file, exactly.
bool PutBackOld(const Record& record);
// The record offered once more and refused: kept for one more start, then
// removed.
void Decline(const Record& record);

// The temporary file a replacing save of path writes is
// "<folder>/.<name>.quillet-save.XXXXXX".
QString TemporaryBase(const QString& path);
// Removes such files of path that a killed save left: regular files with
// exactly that name, last changed before beforeMsecs.
void RemoveTemporaries(const QString& path, qint64 beforeMsecs);

} // namespace SaveJournal
