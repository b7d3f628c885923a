// The context-help list: its fill, the prefix search while typing, the posted
// prototype requests, switching it off, and showing it without taking the focus.
#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "ConnectionString.h"
#include "ContextHelpDlg.h"
#include "QuilletEvent.h"
#include "ReferenceFixtures.h"
#include "ReferenceTables.h"
#include "ReferenceText.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

using namespace ReferenceFixtures;

namespace {

// Stands in for the main frame: records the prototype requests delivered to it.
class CFrameRecorder : public QWidget
{
public:
    QList<std::pair<qintptr, qintptr>> requests;

    bool event(QEvent* e) override
    {
        if (e->type() == QuilletEvent::ShowPrototypes) {
            const auto* message = static_cast<CQuilletEvent*>(e);
            requests.append({message->wParam(), message->lParam()});
            return true;
        }
        return QWidget::event(e);
    }
};

const QString kPhp = ReferenceTables::TableName(0);

QString Insert(qint32 a, const QString& c, qint32 e)
{
    return QStringLiteral("INSERT INTO \"%1\" (a,b,c,d,e,f) VALUES(%2,'%3','%3','%3()',%4,0)")
        .arg(kPhp)
        .arg(a)
        .arg(c)
        .arg(e);
}

QStringList PhpNames()
{
    return {CreateTable(kPhp),      Insert(1, "strlen", 1),  Insert(2, "Exception", 2),
            Insert(3, "sqrt", 1),   Insert(4, "String", 2),  Insert(5, "str_pad", 1),
            Insert(6, "  stat", 1), Insert(7, "abs", 1),     Insert(8, "STRCASECMP", 1),
            Insert(9, "str2", 3),   Insert(10, "substr", 1), Insert(11, "echo", 0),
            Insert(12, "group", 4)};
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

class ContextHelp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_file.Database(), nullptr);
        m_dlg.FillContextList(0, m_file.Database());
        m_dlg.MoveList(QRect(40, 40, 200, 150));
    }

    // Types the characters as the editor passes them, the list shown by the first.
    void Type(const char* text)
    {
        for (const char* p = text; *p; ++p)
            m_dlg.HandleContextKey(*p, false);
    }

    // Delivers the posted requests and returns them, forgetting them afterwards.
    QList<std::pair<qintptr, qintptr>> Delivered()
    {
        QCoreApplication::sendPostedEvents(&m_frame, QuilletEvent::ShowPrototypes);
        return std::exchange(m_frame.requests, {});
    }

    qint32 SelectedId() const
    {
        const QList<QListWidgetItem*> selected = m_dlg.List()->selectedItems();
        return selected.isEmpty() ? -1 : selected.first()->data(Qt::UserRole).toInt();
    }

    CReferenceDbFile m_file{PhpNames()};
    CFrameRecorder m_frame;
    CContextHelpDlg m_dlg{&m_frame};
};

using Requests = QList<std::pair<qintptr, qintptr>>;

} // namespace

TEST_F(ContextHelp, FillsOnceWithTheKindsNamesSortedWithoutRegardToCase)
{
    EXPECT_EQ(m_dlg.CurrentKind(), 0);
    // Entry kinds 1-3 only; "  stat" sorts as "stat"; digits before "_" before letters.
    EXPECT_EQ(Lines(m_dlg.List()),
              (QStringList{"abs", "Exception", "sqrt", "  stat", "str2", "str_pad", "STRCASECMP",
                           "String", "strlen", "substr"}));
    EXPECT_EQ(m_dlg.List()->item(0)->data(Qt::UserRole).toInt(), 7);
    EXPECT_EQ(m_dlg.List()->item(8)->data(Qt::UserRole).toInt(), 1);
    EXPECT_FALSE(m_dlg.isVisible());

    // The same kind again is not read again, even from another database.
    CReferenceDbFile other({CreateTable(kPhp), Insert(1, "other", 1)});
    m_dlg.FillContextList(0, other.Database());
    EXPECT_EQ(m_dlg.List()->count(), 10);

    // Another kind empties the list; without a database it stays empty and never shows.
    m_dlg.FillContextList(1, nullptr);
    EXPECT_EQ(m_dlg.CurrentKind(), 1);
    EXPECT_EQ(m_dlg.List()->count(), 0);
    m_dlg.ShowContextList(true);
    EXPECT_FALSE(m_dlg.isVisible());
    m_dlg.FillContextList(0, other.Database());
    EXPECT_EQ(Lines(m_dlg.List()), QStringList{"other"});
}

TEST(ContextHelpOnFirstUse, HoldsNoNamesUntilFirstShownThenShowsTheKindsNames)
{
    CReferenceDbFile file{PhpNames()};
    CFrameRecorder frame;
    CContextHelpDlg dlg{&frame};
    dlg.MoveList(QRect(40, 40, 200, 150));
    dlg.FillContextListOnFirstUse(0, file.Database());
    const auto* list = dlg.findChild<QListWidget*>(QStringLiteral("list1000"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 0);
    // The first letter typed shows the list with every name, the prefix searched as ever.
    dlg.ShowContextList(true);
    dlg.HandleContextKey('s', false);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(list->count(), 10);
    EXPECT_EQ(dlg.GetSelectedName(), "sqrt");
    EXPECT_EQ(dlg.CurrentKind(), 0);
}

TEST_F(ContextHelp, TypingSTRMovesTheSelectionAndPostsEachStep)
{
    QSignalSpy shown(&m_dlg, &CContextHelpDlg::listShown);
    m_dlg.ShowList();
    EXPECT_TRUE(m_dlg.IsListVisible());
    ASSERT_EQ(shown.count(), 1);
    EXPECT_TRUE(shown.at(0).at(0).toBool());

    Type("s");
    EXPECT_EQ(m_dlg.TypedPrefix(), "s");
    EXPECT_EQ(m_dlg.GetSelectedName(), "sqrt");
    // Posted, not sent: nothing has arrived before the event loop delivers it.
    EXPECT_TRUE(m_frame.requests.isEmpty());
    EXPECT_EQ(Delivered(), (Requests{{0, 3}}));

    Type("t");
    EXPECT_EQ(m_dlg.GetSelectedName(), "  stat");
    EXPECT_EQ(Delivered(), (Requests{{0, 6}}));
    Type("r");
    EXPECT_EQ(m_dlg.GetSelectedName(), "str2");
    EXPECT_EQ(Delivered(), (Requests{{0, 9}}));
    Type("l");
    EXPECT_EQ(m_dlg.CurrentEntryText(), "strlen");
    EXPECT_EQ(Delivered(), (Requests{{0, 1}}));
    EXPECT_TRUE(m_dlg.isVisible());
}

TEST_F(ContextHelp, CapitalsSelectAsSmallLettersDo)
{
    m_dlg.ShowContextList(true);
    Type("STRC");
    EXPECT_EQ(m_dlg.TypedPrefix(), "strc");
    EXPECT_EQ(m_dlg.GetSelectedName(), "STRCASECMP");
    const qint32 capitals = SelectedId();

    m_dlg.ShowContextList(true);   // showing again empties the prefix
    EXPECT_EQ(m_dlg.TypedPrefix(), "");
    Type("st");
    EXPECT_EQ(m_dlg.GetSelectedName(), "  stat");
    Type("rc");
    EXPECT_EQ(SelectedId(), capitals);
}

TEST_F(ContextHelp, DigitsExtendThePrefixAndNoNameFarEnoughOnKeepsTheSelection)
{
    m_dlg.ShowContextList(true);
    Type("str2");
    EXPECT_EQ(m_dlg.TypedPrefix(), "str2");
    EXPECT_EQ(m_dlg.GetSelectedName(), "str2");

    m_dlg.ShowContextList(true);
    Type("sub");
    EXPECT_EQ(m_dlg.GetSelectedName(), "substr");
    Delivered();
    Type("z");
    EXPECT_EQ(m_dlg.TypedPrefix(), "subz");
    EXPECT_EQ(m_dlg.GetSelectedName(), "substr");
    EXPECT_EQ(Delivered(), (Requests{{0, 10}}));
}

TEST_F(ContextHelp, BackspaceShortensThePrefixAndEmptyingItHides)
{
    QSignalSpy shown(&m_dlg, &CContextHelpDlg::listShown);
    m_dlg.ShowContextList(true);
    Type("st");
    Delivered();
    m_dlg.HandleContextKey(8, false);
    EXPECT_EQ(m_dlg.TypedPrefix(), "s");
    EXPECT_EQ(m_dlg.GetSelectedName(), "sqrt");
    EXPECT_EQ(Delivered(), (Requests{{0, 3}}));
    EXPECT_TRUE(m_dlg.isVisible());

    m_dlg.HandleContextKey(8, false);
    EXPECT_EQ(m_dlg.TypedPrefix(), "");
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_TRUE(Delivered().isEmpty());
    ASSERT_EQ(shown.count(), 2);
    EXPECT_FALSE(shown.at(1).at(0).toBool());
}

TEST_F(ContextHelp, AParenthesisAfterANameHidesAndShowsItsPrototypes)
{
    m_dlg.ShowContextList(true);
    Type("strl");
    Delivered();
    // The editor hides the list on a non-word character, then passes it on.
    m_dlg.HideList();
    m_dlg.PassChar('(');
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.TypedPrefix(), "strl");
    EXPECT_EQ(m_dlg.GetSelectedName(), "strlen");
    EXPECT_EQ(Delivered(), (Requests{{0, 1}}));
}

TEST_F(ContextHelp, ListKeysMoveTheSelectionAndTheirCodesAsCharactersDoNot)
{
    m_dlg.ShowContextList(true);
    Type("str");
    Delivered();
    m_dlg.PassKey(Qt::Key_Down);
    EXPECT_EQ(m_dlg.GetSelectedName(), "str_pad");
    EXPECT_EQ(Delivered(), (Requests{{0, 5}}));
    m_dlg.PassKey(Qt::Key_Up);
    m_dlg.PassKey(Qt::Key_Up);
    EXPECT_EQ(m_dlg.GetSelectedName(), "  stat");
    m_dlg.PassKey(Qt::Key_PageDown);
    EXPECT_GT(m_dlg.List()->currentRow(), 4);
    EXPECT_EQ(m_dlg.TypedPrefix(), "str");
    Delivered();

    // "(" has the code of the Down key on the other platform; typed, it moves nothing.
    const int row = m_dlg.List()->currentRow();
    m_dlg.PassChar(0x28);
    m_dlg.PassChar(0x26);
    EXPECT_EQ(m_dlg.List()->currentRow(), row);
    EXPECT_EQ(Delivered().size(), 2);
}

TEST_F(ContextHelp, SwitchedOffItHidesAndNothingShows)
{
    m_dlg.ShowContextList(true);
    Type("s");
    Delivered();
    EXPECT_TRUE(m_dlg.IsContextHelpEnabled());
    m_dlg.SetContextHelpEnabled(false);
    EXPECT_FALSE(m_dlg.IsContextHelpEnabled());
    EXPECT_FALSE(m_dlg.isVisible());

    m_dlg.ShowList();
    Type("tr");
    m_dlg.PassKey(Qt::Key_Down);
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.TypedPrefix(), "s");
    EXPECT_EQ(m_dlg.GetSelectedName(), "sqrt");
    EXPECT_TRUE(Delivered().isEmpty());

    m_dlg.SetContextHelpEnabled(true);
    m_dlg.ShowList();
    EXPECT_TRUE(m_dlg.isVisible());
}

TEST_F(ContextHelp, MoveListPlacesTheWindowAndTheListCoversIt)
{
    m_dlg.MoveList(QRect(100, 300, 200, 150));
    m_dlg.ShowContextList(true);
    EXPECT_EQ(m_dlg.geometry(), QRect(100, 300, 200, 150));
    EXPECT_EQ(m_dlg.List()->geometry(), m_dlg.rect());
    // Never a popup, which would grab the keyboard and the mouse.
    EXPECT_NE(m_dlg.windowType(), Qt::Popup);
    EXPECT_TRUE(m_dlg.isWindow());
}

namespace {

// Shows the list over a window whose focus is in the given editor and checks the
// focus stays there.
void ExpectFocusKept(QWidget* editor)
{
    CFrameRecorder frame;
    auto* layout = new QVBoxLayout(&frame);
    layout->addWidget(editor);
    frame.resize(400, 300);
    frame.show();
    frame.activateWindow();
    editor->setFocus();
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return QApplication::focusWidget() == editor; }));

    CReferenceDbFile file(PhpNames());
    CContextHelpDlg dlg(&frame);
    dlg.FillContextList(0, file.Database());
    dlg.MoveList(QRect(frame.mapToGlobal(QPoint(20, 40)), QSize(200, 150)));
    dlg.ShowList();
    dlg.PassChar('s');
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return dlg.isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), &frame);
    EXPECT_FALSE(dlg.isActiveWindow());
}

} // namespace

TEST(ContextHelpFocus, ShowingTheListLeavesTheFocusInALineEdit)
{
    ExpectFocusKept(new QLineEdit);
}

TEST(ContextHelpFocus, ShowingTheListLeavesTheFocusInAScintillaEditor)
{
    ExpectFocusKept(new QsciScintilla);
}

TEST(ShippedContextHelp, TypingSTRSelectsTheFirstPhpNameNotBelowItWithItsRealPrototypes)
{
    const QString path = QStringLiteral(QUILLET_BIN_DIR "/quillet.dll");
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path))) << db.GetLastErrorText().toStdString();

    CFrameRecorder frame;
    CContextHelpDlg dlg(&frame);
    dlg.FillContextList(0, &db);
    ASSERT_GT(dlg.List()->count(), 1000);
    dlg.ShowList();
    for (char ch : {'s', 't', 'r'})
        dlg.PassChar(ch);

    // The database's own answer: the smallest name not below "str", by the byte
    // order of its small letters (the names are ASCII).
    CAdoResultSet rs;
    rs.Open(db.GetConnection(),
            QStringLiteral("SELECT c FROM %1 WHERE e IN (1,2,3) AND lower(ltrim(c)) >= 'str' "
                           "ORDER BY lower(ltrim(c)) LIMIT 1").arg(kPhp),
            Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient);
    ASSERT_EQ(rs.GetRecordCount(), 1);
    QString first;
    rs.GetFieldValue(QStringLiteral("c"), first);
    EXPECT_EQ(dlg.GetSelectedName().toLower(), first.toLower());

    for (char ch : {'l', 'e', 'n'})
        dlg.PassChar(ch);
    EXPECT_EQ(dlg.GetSelectedName(), "strlen");
    QCoreApplication::sendPostedEvents(&frame, QuilletEvent::ShowPrototypes);
    ASSERT_EQ(frame.requests.size(), 6);
    EXPECT_EQ(frame.requests.last().first, 0);
    const std::optional<QString> prototypes =
        ReadPrototypes(&db, 0, static_cast<qint32>(frame.requests.last().second));
    ASSERT_TRUE(prototypes.has_value());
    EXPECT_TRUE(prototypes->startsWith("strlen(")) << prototypes->toStdString();
}
