// Creating and deleting the site's files and folders without losing what the
// user had: new entries never replace existing ones, names stay inside their
// folder, deleted entries go to the desktop's trash where there is one.
#pragma once

#include <QString>

namespace SiteFileOps {

enum class Result {
    Done,       // created, or deleted (to the trash or for good)
    BadName,    // empty, ".", "..", or holding "/" or a NUL: nothing was tried
    Exists,     // the name is taken; what is there stays as it was
    NotEmpty,   // a folder that still holds entries (hidden ones included)
    Failed      // the file system refused; nothing changed
};

// Whether there is an entry at path (a dangling link counts).
bool EntryExists(const QString& path);

// Whether name can only name a new entry directly inside a folder.
bool IsPlainEntryName(const QString& name);

// An empty file name in folder; an existing entry of that name is left alone.
Result CreateNewFile(const QString& folder, const QString& name);
// A folder name in folder.
Result CreateNewFolder(const QString& folder, const QString& name);

// Whether deleting the entry at path moves it to a trash; false when no trash
// can be had on its file system and deleting removes it for good. The trash
// it would use is made when it is not there yet.
bool HasTrash(const QString& path);

// Moves the file (or link) at path to the trash; where that is impossible
// it is deleted. Folders are refused.
Result DeleteFile(const QString& path);
// Whether path is a folder without any entry, hidden ones included.
bool IsEmptyFolder(const QString& path);
// Moves the empty folder at path to the trash, or removes it where there is
// no trash; a folder with any entry is refused.
Result DeleteEmptyFolder(const QString& path);

} // namespace SiteFileOps
