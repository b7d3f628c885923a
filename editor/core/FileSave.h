// Writes a file's new content without changing what the file is: its mode,
// owner and group, its hard links and the symbolic links that lead to it.
#pragma once

#include <QByteArray>
#include <QString>


namespace FileSave {

// True when path may be written: a file that does not exist yet, or a regular
// file that has a write bit for someone and that this user may write. A file
// without any write bit is refused even for the superuser, whom the system
// itself would let through.
bool IsWritable(const QString& path);

// Replaces path's content by bytes. A file with one name is replaced as a
// whole (written beside it, then renamed over it), so a failure leaves the old
// content; the new file gets the old one's mode, owner and group (a file
// whose owner or group cannot be given to the new one is written in place
// instead). A file with several hard links is written in place so
// that every name keeps showing it; the room for the new content is reserved
// before the first old byte is overwritten. A symbolic link stays a link: the
// file it leads to is written. False, with the file as it was, when path is
// not writable (IsWritable) or anything fails.
bool Write(const QString& path, const QByteArray& bytes);

// Whether Write would write path's file in place (see below).
bool WritesInPlace(const QString& path);

// Where the old content of a file written in place is copied first, so that
// a crash in the middle of the write loses nothing (the recovery folder). A
// file is written in place when it has several hard links, when its folder
// may not be written (a file one may write in a folder one may not), or when
// a replacement could not keep its owner. A write in place that fails puts
// the old content back and removes the copy; the copy stays (the only whole
// old content) when even that fails or the editor dies in the middle. Empty:
// no copy is made. Each save keeps a record there while it runs
// (SaveJournal), named after owner, the editor's session
// (RecoveryFiles::IsSession; this process's own when empty), so that the next
// start knows which records are of an editor that is gone.
void SetBackupFolder(const QString& folder, const QString& owner = QString());

// Whether the last Write on this thread was refused because the copy of the
// old content could not be written (a full disk, say): the file is as it was.
bool BackupFailed();

} // namespace FileSave
