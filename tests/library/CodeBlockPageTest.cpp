// The CodeBlock page and the snippet commands on real library files, with a
// scripted user answering the dialog and the questions.
#include "AdoDatabase.h"
#include "CodeEditDlg.h"
#include "ConnectionString.h"
#include "CodeLibraryStore.h"
#include "CommandIds.h"
#include "LibraryFixtures.h"
#include "MessageRecorder.h"
#include "ModalScript.h"
#include "QtPrinters.h"
#include "ScriptedResponder.h"
#include "SnippetCommands.h"
#include "WSCodeBlockView.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using LibraryFixtures::RefuseChanges;
using LibraryFixtures::Snippet;

namespace {

constexpr quint32 kUserFlag = 0x80000000u;

struct CodeBlockPageTest : testing::Test
{
    QTemporaryDir dir;
    QString stdPath = dir.filePath(QStringLiteral("phplib.mdb"));
    QString userPath = dir.filePath(QStringLiteral("mine.mdb"));
    CScriptedResponder user;
    std::unique_ptr<CCodeLibraryStore> store;
    std::unique_ptr<QWidget> owner;   // stands in for the main frame
    CWSCodeBlockView* page = nullptr;
    CSnippetCommands* commands = nullptr;

    // The standard library and, when given, the user library; then the page
    // filled as after start-up.
    void Start(const QList<Snippet>& standard, std::optional<QList<Snippet>> mine,
               const QStringList& userExtra = {}, const QStringList& stdExtra = {})
    {
        LibraryFixtures::MakeLibrary(stdPath, standard, stdExtra);
        QSettings settings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"));
        settings.clear();
        if (mine) {
            LibraryFixtures::MakeLibrary(userPath, *mine, userExtra);
            settings.setValue(QStringLiteral("Settings/UserLib"), userPath);
        }
        settings.sync();
        store = std::make_unique<CCodeLibraryStore>(dir.path(), QStringList());
        store->OpenDatabases();
        owner = std::make_unique<QWidget>();
        page = new CWSCodeBlockView(nullptr, owner.get());
        page->SetDatabaseSource([this](int kind) { return store->GetDatabase(kind); });
        commands = new CSnippetCommands(store.get(), page, owner.get());
        page->FillCodeList();
    }

    QListWidget* List() const { return page->GetCodeList(); }

    QStringList Lines() const
    {
        QStringList lines;
        for (int i = 0; i < List()->count(); ++i)
            lines << List()->item(i)->text();
        return lines;
    }
    QList<quint32> Data() const
    {
        QList<quint32> data;
        for (int i = 0; i < List()->count(); ++i)
            data << CWSCodeBlockView::ItemData(List()->item(i));
        return data;
    }
    QListWidgetItem* Line(const QString& title, bool mine) const
    {
        for (int i = 0; i < List()->count(); ++i) {
            QListWidgetItem* item = List()->item(i);
            if (item->text() == title && ((CWSCodeBlockView::ItemData(item) & kUserFlag) != 0) == mine)
                return item;
        }
        return nullptr;
    }
    void Select(const QString& title, bool mine)
    {
        QListWidgetItem* item = Line(title, mine);
        ASSERT_TRUE(item) << title.toStdString();
        List()->setCurrentItem(item);
        ASSERT_EQ(CWSCodeBlockView::SelectedItem(List()), item);
    }
    quint32 UserId(int row) const { return static_cast<quint32>(LibraryFixtures::ReadIds(userPath).at(row)); }
};

// Types into the snippet dialog and presses OK; nullopt presses Cancel.
std::function<void(QDialog*)> Answer(std::optional<Snippet> typed, QList<Snippet>* shown = nullptr)
{
    return [typed, shown](QDialog* dialog) {
        auto* dlg = qobject_cast<CCodeEditDlg*>(dialog);
        ASSERT_TRUE(dlg);
        if (shown)
            *shown << Snippet(dlg->TitleField()->text(), dlg->ContentField()->toPlainText());
        if (!typed) {
            QTest::mouseClick(dlg->CancelButton(), Qt::LeftButton);
            return;
        }
        dlg->TitleField()->clear();
        dlg->ContentField()->clear();
        QTest::keyClicks(dlg->TitleField(), typed->first);
        dlg->ContentField()->setPlainText(typed->second);
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    };
}

TEST_F(CodeBlockPageTest, BothLibrariesShareOneListSortedWithoutRegardToCase)
{
    Start({{"echo", "std echo"}, {"Banana", "b"}}, QList<Snippet>{{"apple", "a"}, {"echo", "my echo"}, {"Cherry", "c"}});
    EXPECT_EQ(Lines(), QStringList({"apple", "Banana", "Cherry", "echo", "echo"}));
    const QList<qint32> stdIds = LibraryFixtures::ReadIds(stdPath);
    ASSERT_TRUE(Line("echo", false) && Line("echo", true));
    EXPECT_EQ(CWSCodeBlockView::ItemData(Line("echo", false)), static_cast<quint32>(stdIds[0]));
    EXPECT_EQ(CWSCodeBlockView::ItemData(Line("echo", true)), UserId(1) | kUserFlag);
    EXPECT_EQ(CWSCodeBlockView::ItemData(Line("Banana", false)), static_cast<quint32>(stdIds[1]));
    // Refilling gives the same list again, not a second copy.
    page->FillCodeList();
    EXPECT_EQ(List()->count(), 5);
}

TEST_F(CodeBlockPageTest, EachLibraryFailsOnItsOwn)
{
    const QString noTable = QStringLiteral("DROP TABLE CodeTable");
    struct Case {
        const char* name;
        bool stdBroken;
        std::optional<QStringList> userExtra;   // nullopt: no user library
        QStringList expected;
    };
    const Case cases[] = {
        {"no user library", false, std::nullopt, {"s1", "s2"}},
        {"user library without its table", false, QStringList{noTable}, {"s1", "s2"}},
        {"standard library without its table", true, QStringList{}, {"u1"}},
        {"both", false, QStringList{}, {"s1", "s2", "u1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<QList<Snippet>> mine;
        if (c.userExtra)
            mine = QList<Snippet>{{"u1", "x"}};
        Start({{"s2", "x"}, {"s1", "y"}}, mine, c.userExtra.value_or(QStringList()),
              c.stdBroken ? QStringList{noTable} : QStringList());
        EXPECT_EQ(Lines(), c.expected);
    }
}

TEST_F(CodeBlockPageTest, CommandsAndMenuFollowTheLibraryAndTheSelection)
{
    struct Case {
        const char* name;
        bool userLib;
        const char* select;   // "std", "user" or nullptr
        bool insert, create, change;
    };
    const Case cases[] = {
        {"no user library, nothing selected", false, nullptr, false, false, false},
        {"no user library, standard snippet", false, "std", false, false, false},
        {"nothing selected", true, nullptr, false, true, false},
        {"standard snippet", true, "std", true, true, true},
        {"user snippet", true, "user", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start({{"std", "s"}}, c.userLib ? std::optional<QList<Snippet>>(QList<Snippet>{{"user", "u"}})
                                        : std::nullopt);
        if (c.select)
            Select(QString::fromLatin1(c.select), QByteArray(c.select) == "user");
        EXPECT_EQ(commands->CanInsert(), c.insert);
        EXPECT_EQ(commands->CanCreate(), c.create);
        EXPECT_EQ(commands->CanChange(), c.change);

        // The menu's items with the commands behind them, as the frame gives them.
        QHash<int, QAction*> actions;
        for (int id : {Cmd::InsertCode, Cmd::NewCode, Cmd::EditCode, Cmd::DeleteCode, Cmd::ImportCode})
            actions.insert(id, new QAction(owner.get()));
        page->SetCommandActions(actions);
        QObject::connect(page, &CWSCodeBlockView::contextMenuOpening, owner.get(), [&] {
            actions[Cmd::InsertCode]->setEnabled(commands->CanInsert());
            actions[Cmd::NewCode]->setEnabled(commands->CanCreate());
            actions[Cmd::EditCode]->setEnabled(commands->CanChange());
            actions[Cmd::DeleteCode]->setEnabled(commands->CanChange());
            actions[Cmd::ImportCode]->setEnabled(store->IsUserLibOpen());
        });
        page->UpdateContextMenu();
        QStringList texts;
        QList<bool> enabled;
        for (QAction* item : page->GetContextMenu()->actions()) {
            texts << item->text();
            enabled << (!item->isSeparator() && item->isEnabled());
        }
        EXPECT_EQ(texts, QStringList({"插入", "", "新建", "编辑", "删除", "", "导入"}));
        EXPECT_EQ(enabled, QList<bool>({c.insert, false, c.create, c.change, c.change, false, c.userLib}));
    }
}

TEST_F(CodeBlockPageTest, DoubleClickAndSelectionPostKindFourWithTheList)
{
    Start({{"std", "s"}}, std::nullopt);
    CMessageRecorder frame;
    page->SetMessageTarget(&frame);
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get()));
    const QPoint at = List()->visualItemRect(List()->item(0)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    ASSERT_GE(frame.messages.size(), 2);
    EXPECT_EQ(frame.messages.first().type, QuilletEvent::PageSelection);
    EXPECT_EQ(frame.messages.last().type, QuilletEvent::InsertEntry);
    for (const auto& m : frame.messages) {
        EXPECT_EQ(m.wParam, 4);
        EXPECT_EQ(m.control, List());
    }
    EXPECT_EQ(CWSCodeBlockView::SelectedItem(List()), List()->item(0));
}

TEST_F(CodeBlockPageTest, NewSnippetIsStoredAndListedAsTyped)
{
    Start({{"std", "s"}}, QList<Snippet>{});
    {
        CModalScript cancel(Answer(std::nullopt));
        commands->OnNewCode();
        EXPECT_EQ(cancel.seen, 1);
    }
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(userPath).isEmpty());

    const Snippet typed{" Tom's tips ", "<?php\n\techo 'it''s';\n"};
    CModalScript script(Answer(typed));
    commands->OnNewCode();
    EXPECT_EQ(script.unfinished, 0);
    EXPECT_EQ(LibraryFixtures::ReadSnippets(userPath), QList<Snippet>({typed}));
    QListWidgetItem* line = Line(typed.first, true);
    ASSERT_TRUE(line);
    EXPECT_EQ(CWSCodeBlockView::ItemData(line), UserId(0) | kUserFlag);
    // Leading blanks do not count in the order.
    EXPECT_EQ(Lines(), QStringList({"std", " Tom's tips "}));
    EXPECT_EQ(CWSCodeBlockView::SelectedItem(List()), nullptr);
    EXPECT_TRUE(user.asked.isEmpty());
}

TEST_F(CodeBlockPageTest, EditShowsTheSnippetAndRewritesIt)
{
    Start({{"std", "s"}}, QList<Snippet>{{"apple", "old text"}, {"banana", "b"}});
    const quint32 data = UserId(0) | kUserFlag;
    Select("apple", true);
    QList<Snippet> shown;
    CModalScript script(Answer(Snippet{"zebra's", "new\ttext"}, &shown));
    commands->OnEditCode();
    EXPECT_EQ(shown, QList<Snippet>({{"apple", "old text"}}));
    EXPECT_EQ(LibraryFixtures::ReadSnippets(userPath), QList<Snippet>({{"zebra's", "new\ttext"}, {"banana", "b"}}));
    // The line moved to its new place with its data, and nothing is selected.
    EXPECT_EQ(Lines(), QStringList({"banana", "std", "zebra's"}));
    EXPECT_EQ(CWSCodeBlockView::ItemData(Line("zebra's", true)), data);
    EXPECT_EQ(CWSCodeBlockView::SelectedItem(List()), nullptr);
}

TEST_F(CodeBlockPageTest, DeleteAsksFirst)
{
    Start({}, QList<Snippet>{{"apple", "a"}, {"banana", "b"}});
    Select("apple", true);
    user.answers = {UserPrompt::Answer::No, UserPrompt::Answer::Yes};
    commands->OnDeleteCode();
    EXPECT_EQ(LibraryFixtures::ReadSnippets(userPath).size(), 2);
    EXPECT_EQ(Lines(), QStringList({"apple", "banana"}));
    commands->OnDeleteCode();
    EXPECT_EQ(LibraryFixtures::ReadSnippets(userPath), QList<Snippet>({{"banana", "b"}}));
    EXPECT_EQ(Lines(), QStringList({"banana"}));
    ASSERT_EQ(user.asked.size(), 2);
    for (const auto& question : user.asked) {
        EXPECT_EQ(question.kind, UserPrompt::Request::YesNo);
        EXPECT_EQ(question.text, "确定要删除这一段代码吗?");
    }
}

TEST_F(CodeBlockPageTest, StandardSnippetsAreLeftAloneAndVanishedOnesAreNotRefilled)
{
    struct Case {
        const char* name;
        bool mine;        // the selected line is the user's
        bool vanished;    // another program removed it
        bool edit;        // edit, else delete
    };
    const Case cases[] = {
        {"edit a standard snippet", false, false, true},
        {"delete a standard snippet", false, false, false},
        {"edit a removed snippet", true, true, true},
        {"delete a removed snippet", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start({{"same", "s"}}, QList<Snippet>{{"same", "u"}, {"other", "o"}});
        Select("same", c.mine);
        if (c.vanished) {
            CAdoDatabase other;   // another program's connection
            qint32 n = 0;
            ASSERT_TRUE(other.Open(ConnectionString::ForFile(userPath)));
            ASSERT_TRUE(other.Execute(QStringLiteral("DELETE FROM CodeTable WHERE title='same'"), n));
            ASSERT_TRUE(other.Execute(QStringLiteral("INSERT INTO CodeTable(title,text) VALUES('new','n')"), n));
        }
        const QList<Snippet> before = LibraryFixtures::ReadSnippets(userPath);
        user.asked.clear();
        user.answers = {UserPrompt::Answer::Yes};
        CModalScript script(Answer(Snippet{"changed", "changed"}));
        if (c.edit)
            commands->OnEditCode();
        else
            commands->OnDeleteCode();
        EXPECT_EQ(script.seen, 0);
        EXPECT_EQ(LibraryFixtures::ReadSnippets(userPath), before);
        EXPECT_EQ(LibraryFixtures::ReadSnippets(stdPath), QList<Snippet>({{"same", "s"}}));
        // Deleting a user's snippet asks first, vanished or not, and takes only
        // its line away: the list is not read again.
        const bool asks = c.mine && !c.edit;
        EXPECT_EQ(user.Texts(UserPrompt::Request::YesNo), asks ? QStringList({"确定要删除这一段代码吗?"}) : QStringList());
        EXPECT_EQ(user.asked.size(), asks ? 1 : 0);
        EXPECT_EQ(Lines(), asks ? QStringList({"other", "same"}) : QStringList({"other", "same", "same"}));
    }
}

TEST_F(CodeBlockPageTest, RefusedChangesAreReportedAndTheListShowsTheLibrary)
{
    enum Command { New, Edit, Delete };
    for (Command command : {New, Edit, Delete}) {
        SCOPED_TRACE(static_cast<int>(command));
        Start({{"std", "s"}}, QList<Snippet>{{"mine", "m"}}, RefuseChanges());
        Select("mine", true);
        const QStringList lines = Lines();
        const QList<quint32> data = Data();
        user.asked.clear();
        user.answers = {UserPrompt::Answer::Yes};
        CModalScript script(Answer(Snippet{"typed", "typed"}));
        switch (command) {
        case New: commands->OnNewCode(); break;
        case Edit: commands->OnEditCode(); break;
        case Delete: commands->OnDeleteCode(); break;
        }
        EXPECT_EQ(LibraryFixtures::ReadSnippets(userPath), QList<Snippet>({{"mine", "m"}}));
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(Data(), data);
        EXPECT_EQ(user.Texts(UserPrompt::Request::Message), QStringList({"代码库写入失败，改动没有保存。"}));
    }
}

} // namespace
