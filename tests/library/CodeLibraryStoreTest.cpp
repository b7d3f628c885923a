// The code library store on real files: start-up opening, the accessor, and the
// open, new-library and import commands answered through a scripted user.
#include "CodeLibraryStore.h"
#include "ConnectionString.h"
#include "LibraryFixtures.h"
#include "QtPrinters.h"
#include "TestSupport.h"
#include "UserPrompt.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using LibraryFixtures::Snippet;

namespace {

// Answers file dialogs from a queue and logs every prompt and refill in order.
class ScriptedUser : public UserPrompt::Responder
{
public:
    QStringList files;            // answers to file dialogs, in order; none left = cancel
    QStringList events;           // "open-dialog", "save-dialog", "message:<text>", "refill"
    QList<UserPrompt::Request> requests;

    UserPrompt::Answer Ask(const UserPrompt::Request& r) override
    {
        requests << r;
        events << QStringLiteral("ask:") + r.text;
        return UserPrompt::Answer::No;
    }
    void Shown(const UserPrompt::Request& r) override
    {
        requests << r;
        events << QStringLiteral("message:") + r.text;
    }
    QString ChooseFile(const UserPrompt::Request& r) override
    {
        requests << r;
        events << (r.kind == UserPrompt::Request::SaveFile ? QStringLiteral("save-dialog")
                                                           : QStringLiteral("open-dialog"));
        return files.isEmpty() ? QString() : files.takeFirst();
    }
};

struct CodeLibraryStoreTest : ::testing::Test
{
    QTemporaryDir root;
    QString start;   // the start directory
    ScriptedUser user;

    void SetUp() override
    {
        QDir(root.path()).mkpath(QStringLiteral("start"));
        start = root.filePath(QStringLiteral("start"));
        QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet")).clear();
        UserPrompt::SetResponder(&user);
    }
    void TearDown() override { UserPrompt::SetResponder(nullptr); }

    QString P(const QString& rel) const { return root.filePath(rel); }

    // The shipped files in the start directory: a reference database, a standard
    // library and a template that still holds a row.
    void ShipFiles(const QString& dir)
    {
        QDir().mkpath(dir);
        LibraryFixtures::MakeDatabase(dir + QStringLiteral("/quillet.dll"),
                                      {QStringLiteral("CREATE TABLE R (a INTEGER)")});
        LibraryFixtures::MakeLibrary(dir + QStringLiteral("/phplib.mdb"),
                                     {{QStringLiteral("标准"), QStringLiteral("echo 1;")}});
        LibraryFixtures::MakeLibrary(dir + QStringLiteral("/userlibTemp.mdb"),
                                     {{QStringLiteral("left in template"), QStringLiteral("x")}});
    }

    std::unique_ptr<CCodeLibraryStore> MakeStore(const QStringList& fallbacks = {})
    {
        auto store = std::make_unique<CCodeLibraryStore>(start, fallbacks);
        QObject::connect(store.get(), &CCodeLibraryStore::codeLibraryChanged,
                         [this] { user.events << QStringLiteral("refill"); });
        return store;
    }

    static QString UserLibSetting() { return CCodeLibraryStore::StoredUserLibPath(); }

    // Which file the store's user library connection points at, by what it holds.
    static QString UserLibFile(CCodeLibraryStore& store)
    {
        CAdoDatabase* db = store.GetDatabase(CCodeLibraryStore::UserLib);
        return db ? ConnectionString::DatabaseFile(db->GetConnectionString()) : QString();
    }
};

TEST_F(CodeLibraryStoreTest, StartWithoutUserLibOpensReferenceAndStandardLibraryOnly)
{
    ShipFiles(start);
    auto store = MakeStore();
    for (int kind : {0, 1, 2, 3, 4})
        EXPECT_EQ(store->GetDatabase(kind), nullptr) << "before OpenDatabases, kind " << kind;
    store->OpenDatabases();
    EXPECT_NE(store->GetDatabase(1), nullptr);
    EXPECT_NE(store->GetDatabase(2), nullptr);
    EXPECT_NE(store->GetDatabase(1), store->GetDatabase(2));
    EXPECT_EQ(store->GetDatabase(3), nullptr);
    EXPECT_FALSE(store->IsUserLibOpen());
    for (int kind : {0, 4, -1, 0x7fffffff})
        EXPECT_EQ(store->GetDatabase(kind), nullptr) << kind;
    EXPECT_EQ(store->StartDir(), start + u'/');
    EXPECT_TRUE(user.events.isEmpty());
}

TEST_F(CodeLibraryStoreTest, FilesMissingAtStartStayUnavailableEvenWhenTheyAppear)
{
    auto store = MakeStore();
    store->OpenDatabases();
    EXPECT_EQ(store->GetDatabase(1), nullptr);
    EXPECT_EQ(store->GetDatabase(2), nullptr);
    EXPECT_FALSE(QFile::exists(start + QStringLiteral("/quillet.dll")));   // never created
    ShipFiles(start);
    EXPECT_EQ(store->GetDatabase(1), nullptr);
    EXPECT_EQ(store->GetDatabase(2), nullptr);
}

TEST_F(CodeLibraryStoreTest, DataFilesAreFoundInTheFallbackDirectoriesAfterTheStartDirectory)
{
    ShipFiles(P(QStringLiteral("share")));
    QDir(root.path()).mkpath(QStringLiteral("exe"));
    LibraryFixtures::MakeLibrary(P(QStringLiteral("exe/phplib.mdb")));
    {
        auto store = MakeStore({P(QStringLiteral("exe")), P(QStringLiteral("share"))});
        store->OpenDatabases();
        EXPECT_NE(store->GetDatabase(1), nullptr);
        EXPECT_NE(store->GetDatabase(2), nullptr);
        EXPECT_EQ(ConnectionString::DatabaseFile(store->GetDatabase(2)->GetConnectionString()),
                  P(QStringLiteral("exe/phplib.mdb")));
        EXPECT_EQ(ConnectionString::DatabaseFile(store->GetDatabase(1)->GetConnectionString()),
                  P(QStringLiteral("share/quillet.dll")));
    }
    ShipFiles(start);
    auto store = MakeStore({P(QStringLiteral("exe")), P(QStringLiteral("share"))});
    store->OpenDatabases();
    EXPECT_EQ(ConnectionString::DatabaseFile(store->GetDatabase(2)->GetConnectionString()),
              start + QStringLiteral("/phplib.mdb"));
}

TEST_F(CodeLibraryStoreTest, UserLibFromTheSettingsIsOpenedAtStart)
{
    const QString lib = P(QStringLiteral("mine.mdb"));
    LibraryFixtures::MakeLibrary(lib);
    CCodeLibraryStore::StoreUserLibPath(lib);
    auto store = MakeStore();
    store->OpenDatabases();
    EXPECT_TRUE(store->IsUserLibOpen());
    EXPECT_EQ(UserLibFile(*store), lib);
    EXPECT_EQ(QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"))
                  .value(QStringLiteral("Settings/UserLib")).toString(), lib);
}

TEST_F(CodeLibraryStoreTest, UserLibSettingNamingAMissingFileLeavesItClosedAndUnchanged)
{
    const QString gone = P(QStringLiteral("gone.mdb"));
    CCodeLibraryStore::StoreUserLibPath(gone);
    auto store = MakeStore();
    store->OpenDatabases();
    EXPECT_EQ(store->GetDatabase(3), nullptr);
    EXPECT_EQ(UserLibSetting(), gone);
    EXPECT_FALSE(QFile::exists(gone));
    store->OnImportCode(nullptr);   // asks for no file, refills nothing, says why
    EXPECT_EQ(user.events, QStringList{QStringLiteral("message:") + CCodeLibraryStore::NoUserLibraryText()});
}

TEST_F(CodeLibraryStoreTest, OpenCodeLibProbesThenSwitchesTheUserLibrary)
{
    const QString first = P(QStringLiteral("first.mdb"));
    const QString second = P(QStringLiteral("second.mdb"));
    const QString other = P(QStringLiteral("other.mdb"));
    LibraryFixtures::MakeLibrary(first);
    LibraryFixtures::MakeLibrary(second, {{QStringLiteral("s"), QStringLiteral("t")}});
    LibraryFixtures::MakeDatabase(other, {QStringLiteral("CREATE TABLE Elsewhere (id INTEGER)")});
    CCodeLibraryStore::StoreUserLibPath(first);
    auto store = MakeStore();
    store->OpenDatabases();

    store->OnOpenCodeLib(nullptr);   // cancelled
    EXPECT_EQ(user.events, QStringList{QStringLiteral("open-dialog")});
    ASSERT_EQ(user.requests.size(), 1);
    EXPECT_EQ(user.requests[0].kind, UserPrompt::Request::OpenFile);
    EXPECT_EQ(user.requests[0].filter, u"*.mdb");
    EXPECT_TRUE(user.requests[0].dir.isEmpty());

    user.files = {other, P(QStringLiteral("absent.mdb")), second};
    store->OnOpenCodeLib(nullptr);   // no CodeTable: refused
    store->OnOpenCodeLib(nullptr);   // no file: refused
    EXPECT_EQ(UserLibSetting(), first);
    EXPECT_EQ(UserLibFile(*store), first);
    EXPECT_FALSE(QFile::exists(P(QStringLiteral("absent.mdb"))));
    EXPECT_FALSE(user.events.contains(QStringLiteral("refill")));

    store->OnOpenCodeLib(nullptr);
    EXPECT_EQ(UserLibSetting(), second);
    EXPECT_EQ(UserLibFile(*store), second);
    EXPECT_EQ(user.events.count(QStringLiteral("refill")), 1);
    EXPECT_EQ(user.events.last(), u"refill");
}

TEST_F(CodeLibraryStoreTest, NewCodeLibIsAnEmptiedCopyOfTheTemplate)
{
    ShipFiles(start);
    auto store = MakeStore();
    store->OpenDatabases();
    const QString chosen = P(QStringLiteral("fresh"));   // typed without the extension
    user.files = {chosen};
    store->OnNewCodeLib(nullptr);
    const QString file = chosen + QStringLiteral(".mdb");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(file).isEmpty());
    EXPECT_EQ(UserLibSetting(), file);
    EXPECT_EQ(UserLibFile(*store), file);
    EXPECT_EQ(user.events, (QStringList{QStringLiteral("save-dialog"), QStringLiteral("refill")}));
    EXPECT_EQ(user.requests[0].kind, UserPrompt::Request::SaveFile);
    EXPECT_EQ(user.requests[0].filter, u"*.mdb");
    // The template itself is untouched.
    EXPECT_EQ(LibraryFixtures::ReadSnippets(start + QStringLiteral("/userlibTemp.mdb")).size(), 1);
}

TEST_F(CodeLibraryStoreTest, NewCodeLibReplacesAnExistingFile)
{
    ShipFiles(start);
    const QString existing = P(QStringLiteral("old.mdb"));
    LibraryFixtures::MakeDatabase(existing, {QStringLiteral("CREATE TABLE Unrelated (x TEXT)")});
    auto store = MakeStore();
    store->OpenDatabases();
    user.files = {existing};
    store->OnNewCodeLib(nullptr);
    EXPECT_EQ(UserLibSetting(), existing);
    EXPECT_TRUE(store->IsUserLibOpen());
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(existing).isEmpty());
    // The unrelated table went with the old file.
    qint32 count = 0;
    EXPECT_FALSE(store->GetDatabase(3)->Execute(QStringLiteral("DELETE FROM Unrelated"), count));
}

TEST_F(CodeLibraryStoreTest, NewCodeLibWithoutATemplateChangesNothing)
{
    const QString current = P(QStringLiteral("current.mdb"));
    LibraryFixtures::MakeLibrary(current);
    CCodeLibraryStore::StoreUserLibPath(current);
    auto store = MakeStore();
    store->OpenDatabases();
    user.files = {P(QStringLiteral("wanted.mdb"))};
    store->OnNewCodeLib(nullptr);
    EXPECT_FALSE(QFile::exists(P(QStringLiteral("wanted.mdb"))));
    EXPECT_EQ(UserLibSetting(), current);
    EXPECT_EQ(UserLibFile(*store), current);
    EXPECT_FALSE(user.events.contains(QStringLiteral("refill")));
}

TEST_F(CodeLibraryStoreTest, NewCodeLibFromADamagedTemplateLeavesTheChosenFileAsItWas)
{
    ShipFiles(start);
    const QString templ = start + QStringLiteral("/userlibTemp.mdb");
    const QByteArray shipped = QuilletTest::ReadFile(templ);
    const QString current = P(QStringLiteral("current.mdb"));
    LibraryFixtures::MakeLibrary(current, {{QStringLiteral("mine"), QStringLiteral("1")}});
    const QByteArray currentBytes = QuilletTest::ReadFile(current);
    const struct
    {
        const char* damage;
        QByteArray bytes;   // the template's content; empty: a folder stands there
    } cases[] = {
        {"truncated", shipped.left(shipped.size() / 2)},
        {"zeroed", QByteArray(shipped.size(), '\0')},
        {"text", "not a library\n"},
        {"folder", {}},
    };
    for (const auto& c : cases) {
        for (const QString& chosen : {P(QStringLiteral("new.mdb")), current}) {
            SCOPED_TRACE(std::string(c.damage) + " " + chosen.toStdString());
            QFile::remove(templ);
            QDir(templ).removeRecursively();
            if (c.bytes.isEmpty())
                ASSERT_TRUE(QDir().mkpath(templ));
            else
                ASSERT_TRUE(QuilletTest::WriteFile(templ, c.bytes));
            CCodeLibraryStore::StoreUserLibPath(current);
            auto store = MakeStore();
            store->OpenDatabases();
            user.events.clear();
            user.files = {chosen};
            store->OnNewCodeLib(nullptr);
            EXPECT_EQ(user.events, (QStringList{QStringLiteral("save-dialog"),
                                                QStringLiteral("message:") + CCodeLibraryStore::NewLibraryFailedText()}));
            EXPECT_EQ(UserLibSetting(), current);
            EXPECT_EQ(UserLibFile(*store), current);
            EXPECT_EQ(QuilletTest::ReadFile(current), currentBytes);
            EXPECT_EQ(QFile::exists(P(QStringLiteral("new.mdb"))), false);
            // Nothing is left behind in the chosen file's folder.
            EXPECT_EQ(QDir(root.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("current.mdb")});
        }
    }
}

TEST_F(CodeLibraryStoreTest, NewCodeLibOverTheTemplateItselfKeepsATemplate)
{
    ShipFiles(start);
    auto store = MakeStore();
    store->OpenDatabases();
    const QString templ = start + QStringLiteral("/userlibTemp.mdb");
    user.files = {templ};
    store->OnNewCodeLib(nullptr);
    // The copy onto itself must not delete the file before reading it.
    ASSERT_TRUE(QFile::exists(templ));
    EXPECT_EQ(UserLibFile(*store), templ);
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(templ).isEmpty());
}

TEST_F(CodeLibraryStoreTest, ImportCopiesEveryRowUnderNewIdsEachTime)
{
    const QString mine = P(QStringLiteral("mine.mdb"));
    const QString source = P(QStringLiteral("source.mdb"));
    LibraryFixtures::MakeLibrary(mine, {{QStringLiteral("own"), QStringLiteral("1")}});
    const QList<Snippet> rows{
        {QStringLiteral("it's"), QStringLiteral("echo 'it''s';\nline two")},
        {QStringLiteral("'); DROP TABLE CodeTable;--"), QStringLiteral("'")},
        {QStringLiteral("中文标题"), QString()},
    };
    LibraryFixtures::MakeLibrary(source, rows);
    CCodeLibraryStore::StoreUserLibPath(mine);
    auto store = MakeStore();
    store->OpenDatabases();

    user.files = {source, source};
    store->OnImportCode(nullptr);
    store->OnImportCode(nullptr);
    const auto stored = LibraryFixtures::ReadSnippets(mine);
    EXPECT_EQ(stored, (QList<Snippet>{{QStringLiteral("own"), QStringLiteral("1")}} + rows + rows));
    const auto ids = LibraryFixtures::ReadIds(mine);
    EXPECT_EQ(QSet<qint32>(ids.begin(), ids.end()).size(), 7);
    EXPECT_EQ(user.events, (QStringList{QStringLiteral("open-dialog"), QStringLiteral("refill"),
                                        QStringLiteral("open-dialog"), QStringLiteral("refill")}));
    EXPECT_EQ(LibraryFixtures::ReadSnippets(source), rows);   // the source is only read
}

TEST_F(CodeLibraryStoreTest, ImportOfAnEmptyLibraryRefillsAndOfAnotherFileSaysWhy)
{
    const QString mine = P(QStringLiteral("mine.mdb"));
    const QString empty = P(QStringLiteral("empty.mdb"));
    const QString other = P(QStringLiteral("other.mdb"));
    LibraryFixtures::MakeLibrary(mine);
    LibraryFixtures::MakeLibrary(empty);
    LibraryFixtures::MakeDatabase(other, {QStringLiteral("CREATE TABLE Notes (id INTEGER)")});
    CCodeLibraryStore::StoreUserLibPath(mine);
    auto store = MakeStore();
    store->OpenDatabases();
    const QString text = P(QStringLiteral("notes.txt"));
    QuilletTest::WriteFile(text, "not a database at all");
    user.files = {empty, other, text};
    for (int i = 0; i < 4; ++i)   // the last one cancelled
        store->OnImportCode(nullptr);
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(mine).isEmpty());
    const QString notALibrary = QStringLiteral("message:") + CCodeLibraryStore::NotALibraryText();
    EXPECT_EQ(user.events, (QStringList{QStringLiteral("open-dialog"), QStringLiteral("refill"),
                                        QStringLiteral("open-dialog"), notALibrary,
                                        QStringLiteral("open-dialog"), notALibrary,
                                        QStringLiteral("open-dialog")}));
}

TEST_F(CodeLibraryStoreTest, ImportIntoItselfDoublesEachSnippet)
{
    const QString mine = P(QStringLiteral("mine.mdb"));
    LibraryFixtures::MakeLibrary(mine, {{QStringLiteral("a"), QStringLiteral("1")},
                                        {QStringLiteral("b"), QStringLiteral("2")}});
    CCodeLibraryStore::StoreUserLibPath(mine);
    auto store = MakeStore();
    store->OpenDatabases();
    user.files = {mine};
    store->OnImportCode(nullptr);
    EXPECT_EQ(LibraryFixtures::ReadSnippets(mine).size(), 4);
}

TEST_F(CodeLibraryStoreTest, RefusedRowsAreReportedOnceAfterTheRefill)
{
    // A library whose table refuses some rows, as a damaged or locked file would.
    const QString mine = P(QStringLiteral("picky.mdb"));
    LibraryFixtures::MakeLibrary(mine, {}, {QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON CodeTable WHEN NEW.title LIKE 'bad%' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END")});
    const QString source = P(QStringLiteral("source.mdb"));
    LibraryFixtures::MakeLibrary(source, {{QStringLiteral("bad 1"), QStringLiteral("x")},
                                          {QStringLiteral("good"), QStringLiteral("y")},
                                          {QStringLiteral("bad 2"), QStringLiteral("z")}});
    CCodeLibraryStore::StoreUserLibPath(mine);
    auto store = MakeStore();
    store->OpenDatabases();
    user.files = {source};
    store->OnImportCode(nullptr);
    EXPECT_EQ(LibraryFixtures::ReadSnippets(mine),
              (QList<Snippet>{{QStringLiteral("good"), QStringLiteral("y")}}));
    EXPECT_EQ(user.events, (QStringList{QStringLiteral("open-dialog"), QStringLiteral("refill"),
                                        QStringLiteral("message:代码库写入失败，改动没有保存。")}));
    EXPECT_EQ(user.requests.last().kind, UserPrompt::Request::Message);
}

} // namespace

namespace {

TEST_F(CodeLibraryStoreTest, ShippedFilesBesideTheProgramServeAnEditorStartedElsewhere)
{
    // Started from a directory without data files: the build's own are found.
    auto store = MakeStore({QStringLiteral(QUILLET_BIN_DIR)});
    store->OpenDatabases();
    ASSERT_NE(store->GetDatabase(2), nullptr);
    EXPECT_EQ(ConnectionString::DatabaseFile(store->GetDatabase(2)->GetConnectionString()),
              QStringLiteral(QUILLET_BIN_DIR "/phplib.mdb"));
    const QString lib = P(QStringLiteral("mine.mdb"));
    user.files = {lib, QStringLiteral(QUILLET_BIN_DIR "/phplib.mdb")};
    store->OnNewCodeLib(nullptr);
    ASSERT_TRUE(store->IsUserLibOpen());
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(lib).isEmpty());
    store->OnImportCode(nullptr);
    EXPECT_EQ(LibraryFixtures::ReadSnippets(lib),
              LibraryFixtures::ReadSnippets(QStringLiteral(QUILLET_BIN_DIR "/phplib.mdb")));
    EXPECT_FALSE(user.events.join(u',').contains(u"message:"));
}

} // namespace
