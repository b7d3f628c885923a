#include "CodeLibraryStore.h"

#include "AdoResultSet.h"
#include "CodeLibraryProbe.h"
#include "CodeLibrarySql.h"
#include "ConnectionString.h"
#include "SettingsSync.h"
#include "UserPrompt.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include <cstdio>

namespace {

QString LibraryFilter()
{
    return QStringLiteral("*.mdb");
}

bool IsOpenQuietly(CAdoDatabase& database)
{
    try {
        return database.IsOpen();
    } catch (...) {
        return false;
    }
}

// Writes an emptied copy of the template beside target and renames it over
// target only once it reads as a code library. A damaged or missing template,
// or a folder that takes no new file, leaves whatever stood at target as it
// was; choosing the template itself replaces it with its emptied copy.
bool MakeLibraryFromTemplate(const QString& templatePath, const QString& target)
{
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    in.close();
    QTemporaryFile made(QFileInfo(target).absolutePath() + QStringLiteral("/.quillet-XXXXXX.mdb"));
    if (!made.open() || made.write(bytes) != bytes.size() || !made.flush())
        return false;
    made.close();
    {
        CAdoDatabase library;
        if (!library.Open(ConnectionString::ForFile(made.fileName())))
            return false;
        qint32 removed = 0;
        const bool emptied = library.Execute(CodeLibrarySql::DeleteAll(), removed);
        const bool passed = emptied && CodeLibraryProbe::Passes(library);
        try {
            library.Close();
        } catch (...) {
        }
        if (!passed)
            return false;
    }
    // A file that is replaced keeps its permissions; a new one gets the usual ones.
    const QFileInfo old(target);
    if (!made.setPermissions(old.isFile() ? QFile(target).permissions()
                                          : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther))
        return false;
    if (std::rename(QFile::encodeName(made.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    made.setAutoRemove(false);
    return true;
}

} // namespace

CCodeLibraryStore::CCodeLibraryStore(const QString& startDir, const QStringList& fallbackDirs,
                                     QObject* parent)
    : QObject(parent), m_strStartDir(startDir + u'/'), m_locator(m_strStartDir, fallbackDirs)
{
}

CCodeLibraryStore::~CCodeLibraryStore() = default;

QString CCodeLibraryStore::StoredUserLibPath()
{
    QSettings settings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"));
    settings.beginGroup(QStringLiteral("Settings"));
    return settings.value(QStringLiteral("UserLib"), QString()).toString();
}

void CCodeLibraryStore::StoreUserLibPath(const QString& path, QWidget* parent)
{
    QSettings settings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"));
    settings.setValue(QStringLiteral("Settings/UserLib"), path);
    SettingsSync::Commit(settings, parent);
}

QString CCodeLibraryStore::WriteFailedText()
{
    return QStringLiteral("代码库写入失败，改动没有保存。");
}

QString CCodeLibraryStore::NoUserLibraryText()
{
    return QStringLiteral("没有打开用户代码库，无法导入代码。请先打开或新建一个代码库。");
}

QString CCodeLibraryStore::NotALibraryText()
{
    return QStringLiteral("所选文件不是代码库，没有导入任何代码。");
}

QString CCodeLibraryStore::NewLibraryFailedText()
{
    return QStringLiteral("无法新建代码库：代码库模板缺失或已损坏，也可能该文件夹不能写入。");
}

void CCodeLibraryStore::OpenDatabases()
{
    try {
        const QString userLib = StoredUserLibPath();
        m_dbReference.Open(ConnectionString::ForFile(m_locator.Find(ReferenceFileName())));
        m_dbStdLib.Open(ConnectionString::ForFile(m_locator.Find(StdLibFileName())));
        if (!userLib.isEmpty())
            m_dbUserLib.Open(ConnectionString::ForFile(userLib));
    } catch (...) {
        // Databases not opened yet stay closed.
    }
    m_bReferenceOpen = IsOpenQuietly(m_dbReference) ? 1 : 0;
    m_bStdLibOpen = IsOpenQuietly(m_dbStdLib) ? 1 : 0;
}

CAdoDatabase* CCodeLibraryStore::GetDatabase(int kind)
{
    switch (kind) {
    case ReferenceDb:
        return m_bReferenceOpen == 1 ? &m_dbReference : nullptr;
    case StdLib:
        return m_bStdLibOpen == 1 ? &m_dbStdLib : nullptr;
    case UserLib:
        return IsOpenQuietly(m_dbUserLib) ? &m_dbUserLib : nullptr;
    default:
        return nullptr;
    }
}

bool CCodeLibraryStore::IsUserLibOpen()
{
    return GetDatabase(UserLib) != nullptr;
}

void CCodeLibraryStore::ReopenUserLib(const QString& path)
{
    try {
        if (m_dbUserLib.IsOpen())
            m_dbUserLib.Close();
    } catch (...) {
    }
    m_dbUserLib.Open(ConnectionString::ForFile(path));
}

void CCodeLibraryStore::OnOpenCodeLib(QWidget* parent)
{
    const QString path = UserPrompt::GetOpenFileName(parent, QString(), QString(), LibraryFilter());
    if (path.isEmpty())
        return;
    {
        CAdoDatabase probe;
        probe.Open(ConnectionString::ForFile(path));
        const bool passed = CodeLibraryProbe::Passes(probe);
        CloseQuietly(probe);
        if (!passed)
            return;
    }
    AdoptUserLib(path, parent);
}

void CCodeLibraryStore::CloseQuietly(CAdoDatabase& db)
{
    // A local connection that will not close cleanly is dropped all the same.
    try {
        db.Close();
    } catch (...) {
    }
}

void CCodeLibraryStore::AdoptUserLib(const QString& path, QWidget* parent)
{
    StoreUserLibPath(path, parent);
    ReopenUserLib(path);
    emit codeLibraryChanged();
}

void CCodeLibraryStore::OnNewCodeLib(QWidget* parent)
{
    const QString path = UserPrompt::GetSaveFileName(parent, QString(), QString(), LibraryFilter(),
                                                     QStringLiteral(".mdb"));
    if (path.isEmpty())
        return;
    if (!MakeLibraryFromTemplate(m_locator.Find(TemplateFileName()), path)) {
        UserPrompt::ShowMessage(parent, NewLibraryFailedText());
        return;
    }
    AdoptUserLib(path, parent);
}

void CCodeLibraryStore::OnImportCode(QWidget* parent)
{
    CAdoDatabase* userLib = GetDatabase(UserLib);
    if (!userLib) {
        // The command is off then, but the page's menu or a library that went
        // away may still ask: say why nothing happens.
        UserPrompt::ShowMessage(parent, NoUserLibraryText());
        return;
    }
    const QString path = UserPrompt::GetOpenFileName(parent, QString(), QString(), LibraryFilter());
    if (path.isEmpty())
        return;
    CAdoDatabase source;
    source.Open(ConnectionString::ForFile(path));
    if (!CodeLibraryProbe::Passes(source)) {
        CloseQuietly(source);
        UserPrompt::ShowMessage(parent, NotALibraryText());
        return;
    }
    int refused = 0;
    try {
        CAdoResultSet rows;
        rows.Open(source.GetConnection(), CodeLibrarySql::SelectAll(), Ado::adOpenForwardOnly,
                  Ado::adLockReadOnly, Ado::adUseClient);
        if (rows.GetRecordCount() > 0) {
            for (qint32 i = 0; i < rows.GetRecordCount(); ++i) {
                QString title;
                QString text;
                rows.GetFieldValue(QStringLiteral("title"), title);
                rows.GetFieldValue(QStringLiteral("text"), text);
                qint32 inserted = 0;
                if (!userLib->Execute(CodeLibrarySql::Insert(title, text), inserted))
                    ++refused;   // skipped; the next row is still copied
                rows.MoveNext();
            }
        }
        rows.Close();
        source.Close();
    } catch (...) {
        // A source that cannot be read copies what was read so far.
    }
    emit codeLibraryChanged();
    // Refused rows are lost changes: say so once, after the list shows what was kept.
    if (refused > 0)
        UserPrompt::ShowMessage(parent, WriteFailedText());
}
