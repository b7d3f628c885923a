// The three database connections of the main frame and the code library commands.
#pragma once

#include "AdoDatabase.h"
#include "DataFileLocator.h"

#include <QObject>
#include <QString>

class QWidget;

class CCodeLibraryStore : public QObject
{
    Q_OBJECT

public:
    enum Kind { ReferenceDb = 1, StdLib = 2, UserLib = 3 };

    // startDir is the process's current directory when the main frame is created;
    // the data files are looked for there first, then in fallbackDirs in order. The
    // main frame passes QDir::currentPath() and
    // CDataFileLocator::StandardFallbackDirs(<prefix>/share/quillet).
    CCodeLibraryStore(const QString& startDir, const QStringList& fallbackDirs,
                      QObject* parent = nullptr);
    ~CCodeLibraryStore() override;

    // Opens the reference database, the standard code library and the user code
    // library named by "Settings"/"UserLib"; fixes the open flags of the first two.
    void OpenDatabases();
    // 1 reference database, 2 standard library, 3 user library; null when that
    // database is not available (any other kind: null).
    CAdoDatabase* GetDatabase(int kind);
    bool IsUserLibOpen();

    // "打开代码库..." (32816), "新建代码库..." (32817), "导入代码..." (32818).
    void OnOpenCodeLib(QWidget* parent);
    void OnNewCodeLib(QWidget* parent);
    void OnImportCode(QWidget* parent);

    const QString& StartDir() const { return m_strStartDir; }
    // Where a shipped data file is taken from.
    QString DataFilePath(const QString& name) const { return m_locator.Find(name); }

    // The user library path kept in the settings ("Settings"/"UserLib"),
    // written to the file at once (a file that cannot be written is
    // reported, with parent as the message's parent).
    static QString StoredUserLibPath();
    static void StoreUserLibPath(const QString& path, QWidget* parent = nullptr);

    static QString ReferenceFileName() { return QStringLiteral("quillet.dll"); }
    static QString StdLibFileName() { return QStringLiteral("phplib.mdb"); }
    static QString TemplateFileName() { return QStringLiteral("userlibTemp.mdb"); }
    // The message shown once after an import whose rows the user library refused.
    static QString WriteFailedText();
    // Why "导入代码..." imported nothing: no user library is open, or the
    // chosen file is no code library.
    static QString NoUserLibraryText();
    static QString NotALibraryText();
    // The message shown when "新建代码库" could not make a library from the template.
    static QString NewLibraryFailedText();

signals:
    // The libraries changed: the CodeBlock page refills its list.
    void codeLibraryChanged();

private:
    void ReopenUserLib(const QString& path);
    // Makes path the user library: stored, reopened, and the list refilled.
    void AdoptUserLib(const QString& path, QWidget* parent);
    static void CloseQuietly(CAdoDatabase& db);

    QString m_strStartDir;
    CDataFileLocator m_locator;
    CAdoDatabase m_dbReference;
    CAdoDatabase m_dbStdLib;
    CAdoDatabase m_dbUserLib;
    int m_bReferenceOpen = 0;
    int m_bStdLibOpen = 0;
};
