// The layer over its SQLite backend, against real database files in a temporary directory.
#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "ConnectionString.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "TestSupport.h"
#include <unistd.h>

namespace {

// While it lives, connections opened use the default VFS with one change:
// a connection that sleeps because a lock is busy says so, and when the gate
// is closed it waits there (off the busy timeout's count) until it opens.
// So "the lock goes while the writer waits" is an event, not a race.
class BusyWaitGate
{
public:
    explicit BusyWaitGate(bool closed) : m_closed(closed)
    {
        s_base = sqlite3_vfs_find(nullptr);
        m_vfs = *s_base;
        m_vfs.zName = "quillet-busy-wait-gate";
        m_vfs.xSleep = &Sleep;
        s_gate = this;
        sqlite3_vfs_register(&m_vfs, 1);
    }
    ~BusyWaitGate()
    {
        sqlite3_vfs_unregister(&m_vfs);
        sqlite3_vfs_register(s_base, 1);
        s_gate = nullptr;
    }
    bool WaitForSleeper()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::minutes(1), [this] { return m_sleeps > 0; });
    }
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_closed = false;
        m_changed.notify_all();
    }

private:
    static int Sleep(sqlite3_vfs*, int microseconds)
    {
        {
            std::unique_lock lock(s_gate->m_mutex);
            ++s_gate->m_sleeps;
            s_gate->m_changed.notify_all();
            s_gate->m_changed.wait_for(lock, std::chrono::minutes(1), [] { return !s_gate->m_closed; });
        }
        return s_base->xSleep(s_base, microseconds);
    }

    static inline sqlite3_vfs* s_base = nullptr;
    static inline BusyWaitGate* s_gate = nullptr;
    sqlite3_vfs m_vfs {};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_sleeps = 0;
    bool m_closed;
};

struct SqliteBackendTest : ::testing::Test
{
    QTemporaryDir dir;

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // The layer never creates a database, so the test starts from a zero-length
    // file (which SQLite reads as an empty database) and builds it through the layer.
    QString MakeDb(const char* name, const QStringList& statements)
    {
        const QString path = Path(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));   // a zero-length file is an empty database
        file.close();
        CAdoDatabase db;
        EXPECT_TRUE(db.Open(ConnectionString::ForFile(path))) << db.GetLastErrorText().toStdString();
        for (const QString& sql : statements) {
            qint32 count = 0;
            EXPECT_TRUE(db.Execute(sql, count)) << db.GetLastErrorText().toStdString();
        }
        return path;
    }

    static qint32 CountRows(CAdoDatabase& db, const QString& sql)
    {
        CAdoResultSet rs;
        rs.Open(db.GetConnection(), sql, Ado::adOpenForwardOnly, Ado::adLockReadOnly,
                Ado::adUseClient);
        return rs.GetRecordCount();
    }
};

TEST_F(SqliteBackendTest, MissingFileFailsAndNoFileIsCreated)
{
    const QString path = Path("absent.mdb");
    CAdoDatabase db;
    EXPECT_FALSE(db.Open(ConnectionString::ForFile(path)));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    const QString text = db.GetLastErrorText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Connection String = DBQ=") + path
                                + QStringLiteral(";DRIVER={Microsoft Access Driver (*.mdb)};\n"
                                                 "CAdoDatabase Error\n\tCode = 80070002\n"
                                                 "\tCode meaning = The system cannot find the "
                                                 "file specified.\n\tSource = ")))
        << text.toStdString();
}

TEST_F(SqliteBackendTest, EmptyConnectionStringFails)
{
    CAdoDatabase db;
    EXPECT_FALSE(db.Open());
    EXPECT_TRUE(db.GetLastErrorText().startsWith(
        QStringLiteral("Connection String = \nCAdoDatabase Error\n\tCode = 80004005\n"
                       "\tCode meaning = Unspecified error\n")))
        << db.GetLastErrorText().toStdString();
}

TEST_F(SqliteBackendTest, FileThatIsNoDatabaseFailsAtOpen)
{
    const QString path = Path("notes.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Standard Jet DB, or so it claims, but this is plain text.\n").repeated(20));
    file.close();
    CAdoDatabase db;
    EXPECT_FALSE(db.Open(ConnectionString::ForFile(path)));
    EXPECT_TRUE(db.GetLastErrorText().contains(u"\tCode = 80070570\n"))
        << db.GetLastErrorText().toStdString();
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
}

TEST_F(SqliteBackendTest, ExecuteCountsAffectedRecords)
{
    const QString path = MakeDb("count.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER, b TEXT)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    qint32 count = -1;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO t VALUES(%1,'x')").arg(i), count));
        EXPECT_EQ(count, 1);
    }
    EXPECT_TRUE(db.Execute(QStringLiteral("UPDATE t SET b='y' WHERE a>=1"), count));
    EXPECT_EQ(count, 2);
    count = 55;
    EXPECT_TRUE(db.Execute(QStringLiteral("UPDATE t SET b='z' WHERE a=100"), count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(db.Execute(QStringLiteral("DELETE FROM t"), count));
    EXPECT_EQ(count, 3);
    // Statements that change no record count none, not what the last change counted.
    for (const char* sql : {"SELECT a FROM t", "CREATE TABLE u (x INTEGER)", "CREATE INDEX ua ON u (x)",
                            "DROP TABLE u", "PRAGMA user_version = 7"}) {
        count = 55;
        EXPECT_TRUE(db.Execute(QString::fromLatin1(sql), count)) << sql;
        EXPECT_EQ(count, 0) << sql;
    }
    count = 99;
    EXPECT_FALSE(db.Execute(QStringLiteral("DELETE FROM nowhere"), count));
    EXPECT_EQ(count, 99);
    EXPECT_TRUE(db.GetLastErrorText().contains(u"no such table: nowhere"));
}

// Another connection holds the write lock: a write waits for it, and fails with
// a lock error once the lock outlasts the wait.
TEST_F(SqliteBackendTest, WriteWaitsForAnotherConnectionsLock)
{
    const QString path = MakeDb("busy.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)")});
    const struct
    {
        bool released;   // false: held until the write has given up
    } cases[] = {{true}, {false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.released);
        BusyWaitGate gate(c.released);
        CAdoDatabase db;
        ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
        CAdoDatabase other;
        ASSERT_TRUE(other.Open(ConnectionString::ForFile(path)));
        qint32 ignored = 0;
        ASSERT_TRUE(other.Execute(QStringLiteral("BEGIN EXCLUSIVE"), ignored));
        std::promise<void> gaveUp;
        std::future<void> gaveUpSeen = gaveUp.get_future();
        std::thread holder([&] {
            if (c.released)
                gate.WaitForSleeper();   // the write is waiting for the lock
            else
                gaveUpSeen.wait_for(std::chrono::minutes(1));
            qint32 n = 0;
            other.Execute(QStringLiteral("COMMIT"), n);
            gate.Open();
        });
        qint32 count = -1;
        const bool wrote = db.Execute(QStringLiteral("INSERT INTO t VALUES(1)"), count);
        gaveUp.set_value();
        holder.join();
        EXPECT_EQ(wrote, c.released) << db.GetLastErrorText().toStdString();
        if (!c.released)
            EXPECT_TRUE(db.GetLastErrorText().contains(u"\tCode = 80070021\n"))
                << db.GetLastErrorText().toStdString();
        EXPECT_EQ(CountRows(db, QStringLiteral("SELECT a FROM t")), c.released ? 1 : 0);
        ASSERT_TRUE(db.Execute(QStringLiteral("DELETE FROM t"), count));
    }
}

TEST_F(SqliteBackendTest, OnlyOneStatementRunsPerCall)
{
    const QString path = MakeDb("one.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    qint32 count = 0;
    EXPECT_FALSE(db.Execute(QStringLiteral("INSERT INTO t VALUES(1); DROP TABLE t"), count));
    EXPECT_EQ(CountRows(db, QStringLiteral("SELECT a FROM t")), 0);
    // Trailing blanks and a comment are no second statement.
    EXPECT_TRUE(db.Execute(QStringLiteral("INSERT INTO t VALUES(1);  -- done\n"), count));
    EXPECT_EQ(count, 1);
}

TEST_F(SqliteBackendTest, DoubledApostrophesAreStoredSingle)
{
    const QString path = MakeDb("quote.mdb", {QStringLiteral("CREATE TABLE t (s TEXT)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    qint32 count = 0;
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO t VALUES('it''s ''quoted''')"), count));
    CAdoResultSet rs;
    rs.Open(db.GetConnection(), QStringLiteral("SELECT s FROM t"), Ado::adOpenForwardOnly,
            Ado::adLockReadOnly, Ado::adUseClient);
    QString s;
    ASSERT_TRUE(rs.GetFieldValue(QStringLiteral("s"), s));
    EXPECT_EQ(s, u"it's 'quoted'");
}

TEST_F(SqliteBackendTest, ColumnValuesArriveWithTheirTags)
{
    const QString path = MakeDb("types.mdb", {
        QStringLiteral("CREATE TABLE v (i INTEGER, big INTEGER, r REAL, s TEXT, b BLOB, n TEXT, "
                       "d DATE, dt DATETIME, u DATETIME, jd DATE, odd DATE, flag BOOLEAN)"),
        QStringLiteral("INSERT INTO v VALUES(70000, 5000000000, 2.5, '中文', x'0102', NULL, "
                       "'2023-04-05', '2023-04-05 06:07:08', 86400, 2451545.25, 'soon', 1)"),
    });
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    CAdoResultSet rs;
    ASSERT_TRUE(rs.Open(db.GetConnection(), QStringLiteral("SELECT * FROM v"),
                        Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient));
    const struct { const char* field; bool ok; const char* text; } cases[] = {
        {"i", true, "70000"},
        {"big", false, ""},   // wider than 32 bits
        {"r", false, ""},
        {"s", true, "中文"},
        {"b", false, ""},
        {"n", true, ""},
        {"d", true, "2023-04-05 00:00:00"},
        {"dt", true, "2023-04-05 06:07:08"},
        {"u", true, "1970-01-02 00:00:00"},   // Unix seconds
        {"jd", true, "2000-01-01 18:00:00"},  // Julian day
        {"odd", true, "soon"},                // no date: kept as text
        {"flag", false, ""},                  // boolean
        {"I", true, "70000"},                 // names without regard to case
    };
    for (const auto& c : cases) {
        QString text = QStringLiteral("before");
        EXPECT_EQ(rs.GetFieldValue(QString::fromLatin1(c.field), text), c.ok) << c.field;
        EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.field;
    }
    qint32 n = 5;
    EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("n"), n));
    EXPECT_EQ(n, 0);
    try {
        rs.GetFieldValue(QStringLiteral("nosuch"), n);
        ADD_FAILURE() << "a missing field must raise";
    } catch (const CAdoException& e) {
        EXPECT_EQ(static_cast<quint32>(e.Code()), 0x800A0CC1u);
    }
}

TEST_F(SqliteBackendTest, RowsAreReadInFullSoTheyOutliveTheConnection)
{
    const QString path = MakeDb("rows.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)"),
                                             QStringLiteral("INSERT INTO t VALUES(1)"),
                                             QStringLiteral("INSERT INTO t VALUES(2)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    CAdoResultSet rs;
    ASSERT_TRUE(rs.Open(db.GetConnection(), QStringLiteral("SELECT a FROM t ORDER BY a"),
                        Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient));
    db.Close();
    ASSERT_EQ(rs.GetRecordCount(), 2);
    QList<qint32> seen;
    for (qint32 i = 0; i < rs.GetRecordCount(); ++i) {
        qint32 a = 0;
        rs.GetFieldValue(QStringLiteral("a"), a);
        seen << a;
        rs.MoveNext();
    }
    EXPECT_EQ(seen, (QList<qint32>{1, 2}));
    EXPECT_THROW(rs.MoveNext(), CAdoException);   // past the end
}

TEST_F(SqliteBackendTest, ServerSideDynamicRowsAreCountedByWalking)
{
    const QString path = MakeDb("walk.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)"),
                                             QStringLiteral("INSERT INTO t VALUES(10)"),
                                             QStringLiteral("INSERT INTO t VALUES(20)"),
                                             QStringLiteral("INSERT INTO t VALUES(30)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    CAdoResultSet rs;
    ASSERT_TRUE(rs.Execute(db.GetConnection(), QStringLiteral("SELECT a FROM t ORDER BY a")));
    rs.MoveNext();
    EXPECT_EQ(rs.GetRecordCount(), 3);
    qint32 a = 0;
    rs.GetFieldValue(QStringLiteral("a"), a);
    EXPECT_EQ(a, 10);   // back on the first row
}

TEST_F(SqliteBackendTest, ExecuteRunsOtherStatementsAsCommands)
{
    const QString path = MakeDb("cmd.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)"),
                                            QStringLiteral("INSERT INTO t VALUES(1)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    CAdoResultSet rs;
    EXPECT_TRUE(rs.Execute(db.GetConnection(), QStringLiteral("DELETE FROM t")));
    EXPECT_FALSE(rs.IsOpen());   // a statement without rows hands back closed rows
    EXPECT_EQ(CountRows(db, QStringLiteral("SELECT a FROM t")), 0);
    // A select written with a tab goes the command way and still returns its rows.
    EXPECT_TRUE(rs.Execute(db.GetConnection(), QStringLiteral("SELECT\tcount(*) AS n FROM t")));
    EXPECT_TRUE(rs.IsOpen());
    EXPECT_THROW(rs.Execute(db.GetConnection(), QStringLiteral("DELETE FROM nowhere")),
                 CAdoException);
    EXPECT_TRUE(rs.GetLastErrorText().contains(u"no such table"));
}

TEST_F(SqliteBackendTest, QueriesOnAClosedConnectionFail)
{
    const QString path = MakeDb("closed.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    db.Close();
    CAdoResultSet rs;
    EXPECT_THROW(rs.Open(db.GetConnection(), QStringLiteral("SELECT a FROM t"), 0, 1, 3),
                 CAdoException);
    qint32 count = 0;
    EXPECT_FALSE(db.Execute(QStringLiteral("DELETE FROM t"), count));
}

TEST_F(SqliteBackendTest, ReopeningPointsTheObjectAtAnotherFile)
{
    const QString a = MakeDb("a.mdb", {QStringLiteral("CREATE TABLE only_a (x INTEGER)")});
    const QString b = MakeDb("b.mdb", {QStringLiteral("CREATE TABLE only_b (x INTEGER)")});
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(a)));
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(b)));
    ASSERT_TRUE(db.Open());   // the last string again
    qint32 count = 0;
    EXPECT_TRUE(db.Execute(QStringLiteral("DELETE FROM only_b"), count));
    EXPECT_FALSE(db.Execute(QStringLiteral("DELETE FROM only_a"), count));
}

// Permission checks run as an ordinary user: the superuser may write anything.
TEST_F(SqliteBackendTest, FileWithoutWritePermissionOpensReadOnly)
{
    const QString path = MakeDb("ro.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)")});
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
    const std::optional<bool> refused = QuilletTest::AsUnprivileged([&] {
        CAdoDatabase db;
        if (!db.Open(ConnectionString::ForFile(path)) || CountRows(db, QStringLiteral("SELECT a FROM t")) != 0)
            return false;
        qint32 count = 0;
        return !db.Execute(QStringLiteral("INSERT INTO t VALUES(1)"), count) &&
               db.GetLastErrorText().contains(u"\tCode = 80070005\n");
    });
    if (!refused)
        GTEST_SKIP() << "no other user can be taken on here";
    EXPECT_TRUE(*refused);
}

TEST_F(SqliteBackendTest, FileInADirectoryWithoutWritePermissionOpensReadOnly)
{
    QDir(dir.path()).mkpath(QStringLiteral("share"));
    const QString path = MakeDb("share/lib.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)"),
                                                  QStringLiteral("INSERT INTO t VALUES(1)")});
    const QString share = dir.filePath(QStringLiteral("share"));
    // The file may be written by its user; the folder it is in may not.
    QuilletTest::GiveToUnprivileged(path);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
    ASSERT_TRUE(QFile::setPermissions(share, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther));
    const std::optional<bool> refused = QuilletTest::AsUnprivileged([&] {
        CAdoDatabase db;
        if (!db.Open(ConnectionString::ForFile(path)))
            return false;
        qint32 count = 0;
        const bool wrote = db.Execute(QStringLiteral("INSERT INTO t VALUES(2)"), count);
        const qint32 rows = CountRows(db, QStringLiteral("SELECT a FROM t"));
        const QString error = db.GetLastErrorText();
        db.Close();
        return !wrote && error.contains(u"\tCode = 80070005\n") && rows == 1;
    });
    QFile::setPermissions(share, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!refused)
        GTEST_SKIP() << "no other user can be taken on here";
    EXPECT_TRUE(*refused);
}

TEST(ConnectionStringTest, TemplateCarriesThePathVerbatimAndReadsItBack)
{
    EXPECT_EQ(ConnectionString::ForFile(QStringLiteral("/d/x.mdb")),
              u"DBQ=/d/x.mdb;DRIVER={Microsoft Access Driver (*.mdb)};");
    const struct { const char* in; const char* file; } cases[] = {
        {"DBQ=/d/x.mdb;DRIVER={Microsoft Access Driver (*.mdb)};", "/d/x.mdb"},
        {"DRIVER={Microsoft Access Driver (*.mdb)};dbq=/d/y.mdb", "/d/y.mdb"},
        {"DBQ={/d/a;b.mdb};DRIVER={x}", "/d/a;b.mdb"},
        {"DBQ=/d/a;b.mdb;DRIVER={Microsoft Access Driver (*.mdb)};", "/d/a;b.mdb"},
        {"DBQ= /d/s p.mdb ;", "/d/s p.mdb"},
        // What the template was filled with comes back whole, even where the
        // key=value reading would cut or trim it.
        {"DBQ=/d/a;v=2.mdb;DRIVER={Microsoft Access Driver (*.mdb)};", "/d/a;v=2.mdb"},
        {"DBQ= /d/x.mdb ;DRIVER={Microsoft Access Driver (*.mdb)};", " /d/x.mdb "},
        {"DBQ={/d/x.mdb};DRIVER={Microsoft Access Driver (*.mdb)};", "{/d/x.mdb}"},
        {"DBQ=;DRIVER={Microsoft Access Driver (*.mdb)};", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConnectionString::DatabaseFile(QString::fromUtf8(c.in)), QString::fromUtf8(c.file))
            << c.in;
    EXPECT_TRUE(ConnectionString::DatabaseFile(QStringLiteral("DRIVER={x};")).isNull());
    EXPECT_TRUE(ConnectionString::DatabaseFile(QString()).isNull());
    EXPECT_TRUE(ConnectionString::DatabaseFile(QStringLiteral("DBQ=;")).isEmpty());
}

TEST_F(SqliteBackendTest, PathWithSemicolonOpens)
{
    const QString path = MakeDb("semi;colon.mdb", {QStringLiteral("CREATE TABLE t (a INTEGER)")});
    CAdoDatabase db;
    EXPECT_TRUE(db.Open(ConnectionString::ForFile(path))) << db.GetLastErrorText().toStdString();
}

} // namespace
