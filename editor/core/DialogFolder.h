// The folder the open and save-as dialogs of documents start in.
#pragma once

#include <QString>

namespace DialogFolder {

// The active document's folder when it has a file; otherwise the folder last
// used in one of these dialogs; otherwise home. A folder that is no longer
// there is passed over.
QString StartFolder(const QString& activeDocPath, const QString& lastUsed, const QString& home);

// The folder of a file chosen in one of these dialogs, kept for the session.
void Remember(const QString& chosenFile);
QString LastUsed();

// StartFolder for the active document's path, the folder remembered and the
// user's home.
QString For(const QString& activeDocPath);

} // namespace DialogFolder
