// The desktop's program for a MIME type, as its desktop entry starts it, and
// starting a program with the result codes of a link's opening.
#pragma once

#include <QString>
#include <QStringList>

namespace WebBrowserCommand {

// The Exec line of the desktop entry that is the default for mimeType in the
// user's and the system's mimeapps.list files; empty when none is set or the
// entry cannot be read.
QString RegisteredCommand(const QString& mimeType = QStringLiteral("text/html"));

// Starts program detached. Result codes: 2 when the program is not found,
// 5 when it is not executable, 0 when it could not be started, 33 started.
int Start(const QString& program, const QStringList& arguments);

} // namespace WebBrowserCommand
