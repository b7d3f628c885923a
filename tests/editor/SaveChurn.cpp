// A process that saves, over and over, the two versions of a content in one
// of the ways the editor writes files, for tests that kill it at random
// moments. It writes one byte to standard output when it starts saving and
// one after each completed save.
//   save_churn file PATH [BACKUP-FOLDER]   FileSave::Write over PATH
//   save_churn recovery FOLDER             recovery copies in FOLDER
//   save_churn settings PATH               a settings file at PATH
#include <QCoreApplication>
#include <QSettings>

#include <unistd.h>

#include "SaveChurn.h"
#include "core/FileSave.h"
#include "core/RecoveryStore.h"

namespace {
void Tick()
{
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, "s", 1);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString mode = args.at(1), path = args.at(2);
    if (mode == QLatin1String("file")) {
        if (args.size() > 3)
            FileSave::SetBackupFolder(args.at(3));
        const QByteArray contents[2] = {SaveChurn::Content(0, SaveChurn::kFileSizes[0]),
                                        SaveChurn::Content(1, SaveChurn::kFileSizes[1])};
        Tick();
        for (int k = 0;; ++k) {
            if (!FileSave::Write(path, contents[k % 2]))
                return 1;
            Tick();
        }
    }
    if (mode == QLatin1String("recovery")) {
        CRecoveryStore store(path);
        if (!store.Open())
            return 1;
        CRecoveredText entries[2];
        for (int v = 0; v < 2; ++v) {
            entries[v].strPath = QStringLiteral("/site/page%1.php").arg(v);
            entries[v].text = SaveChurn::Content(v, SaveChurn::kFileSizes[v]);
        }
        Tick();
        for (int k = 0;; ++k) {
            store.Write(1, entries[k % 2]);
            store.Flush();
            Tick();
        }
    }
    if (mode == QLatin1String("settings")) {
        QSettings settings(path, QSettings::IniFormat);
        Tick();
        for (int k = 0;; ++k) {
            for (int key = 0; key < SaveChurn::kSettingsKeys; ++key)
                settings.setValue(SaveChurn::SettingKey(key), SaveChurn::SettingValue(key, k % 2));
            settings.sync();
            if (settings.status() != QSettings::NoError)
                return 1;
            Tick();
        }
    }
    return 2;
}
