#include "CodeLibraryStore.h"

#include "AdoResultSet.h"
#include "CodeLibraryProbe.h"
#include "CodeLibrarySql.h"
#include "ConnectionString.h"
#include "UserPrompt.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>

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

// Replaces target with a copy of source. The copy is written beside the target
// and renamed over it, so choosing the template itself as the new library
// cannot destroy the template, and a failed copy leaves the old file whole.
bool CopyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    in.close();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
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

void CCodeLibraryStore::StoreUserLibPath(const QString& path)
{
    QSettings settings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"));
    settings.beginGroup(QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("UserLib"), path);
}

QString CCodeLibraryStore::WriteFailedText()
{
    return QStringLiteral("代码库写入失败，改动没有保存。");
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
    AdoptUserLib(path);
}

void CCodeLibraryStore::CloseQuietly(CAdoDatabase& db)
{
    // A local connection that will not close cleanly is dropped all the same.
    try {
        db.Close();
    } catch (...) {
    }
}

void CCodeLibraryStore::AdoptUserLib(const QString& path)
{
    StoreUserLibPath(path);
    ReopenUserLib(path);
    emit codeLibraryChanged();
}

void CCodeLibraryStore::OnNewCodeLib(QWidget* parent)
{
    const QString path = UserPrompt::GetSaveFileName(parent, QString(), QString(), LibraryFilter(),
                                                     QStringLiteral(".mdb"));
    if (path.isEmpty())
        return;
    // The outcome of the copy is not checked: what stands at the path is
    // emptied and probed next, and the probe fails when nothing usable does.
    CopyReplacing(m_locator.Find(TemplateFileName()), path);
    {
        CAdoDatabase library;
        library.Open(ConnectionString::ForFile(path));
        qint32 removed = 0;
        library.Execute(CodeLibrarySql::DeleteAll(), removed);
        const bool passed = CodeLibraryProbe::Passes(library);
        CloseQuietly(library);
        if (!passed)
            return;
    }
    AdoptUserLib(path);
}

void CCodeLibraryStore::OnImportCode(QWidget* parent)
{
    CAdoDatabase* userLib = GetDatabase(UserLib);
    if (!userLib)
        return;
    const QString path = UserPrompt::GetOpenFileName(parent, QString(), QString(), LibraryFilter());
    if (path.isEmpty())
        return;
    int refused = 0;
    try {
        CAdoDatabase source;
        source.Open(ConnectionString::ForFile(path));
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
