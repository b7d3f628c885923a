// Writes the settings file at the moment a choice of the user's is made, and
// tells the user when it cannot be written.
#pragma once

class QSettings;
class QWidget;

namespace SettingsSync {

// Writes settings' changes to its file now. A file that cannot be written is
// reported to the user once; the next failures stay silent until a write
// succeeds again. False when the file was not written.
bool Commit(QSettings& settings, QWidget* parent);

} // namespace SettingsSync
