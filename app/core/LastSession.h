// The files open at the end of a run, each with its caret line, the active
// one and the open site, kept in the settings store for the next start.
#pragma once

#include <QList>
#include <QString>

class QSettings;

namespace LastSession {

// Section "Settings", value "RestoreSession": whether a start reopens them
// (off unless the user turns it on).
inline constexpr const char* kRestoreKey = "Settings/RestoreSession";

struct Entry
{
    QString strPath;
    int nLine = 0;   // the caret's line, from 0
};

struct Session
{
    QList<Entry> files;
    int nActive = -1;   // index into files; -1 for none
    QString strSite;    // empty: no site was open
};

bool IsOn(const QSettings& settings);
void Write(QSettings& settings, const Session& session);
// What Write stored; values someone spoiled by hand read as nothing (a file
// without a path is left out, a line that is no number is 0).
Session Read(const QSettings& settings);
void Clear(QSettings& settings);

} // namespace LastSession
