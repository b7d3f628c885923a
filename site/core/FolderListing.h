// Reading one folder of the site tree: its sub-folders (each with whether it
// has anything to show) and its files, folders and files each in
// case-insensitive order. Paths use "/".
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace FolderListing {

struct Folder
{
    QString name;
    bool hasEntries = false;   // worth an expand button
};

struct Listing
{
    QList<Folder> folders;
    QStringList files;         // empty unless files were asked for
};

// The folders (and, with showFiles, the files) of path, hidden entries
// included; a folder that cannot be read lists nothing. A link to a folder
// is a folder; it is read only one level, as any other.
Listing ReadFolder(const QString& path, bool showFiles);

// Whether path holds a folder, or with showFiles a file that is not hidden;
// false when path cannot be read.
bool HasEntries(const QString& path, bool showFiles);

// Sorts names without regard to letter case, keeping the order of names that
// compare equal.
void SortNoCase(QStringList& names);

// The last component of path ("/" stays "/"); one trailing "/" is dropped first.
QString GetLeafName(const QString& path);

// path without its trailing "/" separators, except the root "/" itself.
QString WithoutTrailingSeparators(const QString& path);

// folder and name joined with one "/".
QString Join(const QString& folder, const QString& name);

} // namespace FolderListing
