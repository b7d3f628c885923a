#include "SettingsSync.h"

#include <QSettings>

namespace SettingsSync {

bool Commit(QSettings& settings, QWidget* parent)
{
    Q_UNUSED(parent);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace SettingsSync
