// Hands a file to the desktop's program for it: the desktop's default opener
// first, then the program the MIME defaults name for the file's type.
#pragma once

#include <QString>
#include <QStringList>

class QUrl;

namespace SiteShell {

// Starts programs; tests put a recorder in its place.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual bool OpenUrl(const QUrl& url) = 0;
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
};
// nullptr restores the desktop's launcher.
void SetLauncher(Launcher* launcher);

// The command line of the desktop entry that the MIME defaults name for
// path's type (or one of the types it derives from); empty when none.
QString DefaultCommandFor(const QString& path);

// Opens an address in the desktop's browser; false when none could be started.
bool OpenAddress(const QUrl& url);

// Opens path in its desktop program; false when nothing could be started.
// Nothing is reported to the user.
bool ShellOpen(const QString& path);

} // namespace SiteShell
