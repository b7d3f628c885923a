#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>


#include <sys/stat.h>
#include <unistd.h>

#include "AdView.h"
#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "EditorHost.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "RecordingHelpList.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"

namespace {
using QuilletTest::ReadFile;

using FileEncoding::Kind;
using FileEncoding::LineBreak;

// Every CR LF, lone CR and lone LF made into to: written here, not taken from the editor.
QByteArray WithBreaks(const QByteArray& in, const QByteArray& to)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\r' || in[i] == '\n') {
            out += to;
            i += in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n';
        } else {
            out += in[i];
        }
    }
    return out;
}

// The system's iconv program as the oracle of a conversion.
QByteArray Iconv(const char* from, const char* to, const QByteArray& bytes)
{
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QLatin1String(from), QStringLiteral("-t"), QLatin1String(to)});
    iconv.write(bytes);
    iconv.closeWriteChannel();
    return iconv.waitForFinished(30000) && iconv.exitCode() == 0 ? iconv.readAllStandardOutput() : QByteArray("failed");
}

// Documents whose views are plain top-level windows.
class DocumentTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_template.SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) {
            auto* view = new CQuilletView(doc, source);
            view->setAttribute(Qt::WA_DeleteOnClose);
            view->resize(500, 400);
            view->show();
            return view;
        });
    }
    void TearDown() override
    {
        m_template.CloseAllDocuments();
        QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    }
    QString Path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    CQuilletDoc* Open(const QString& path) { return m_template.OpenDocumentFile(path); }
    CQuilletDoc* OpenWith(const QByteArray& bytes)
    {
        QuilletTest::WriteFile(m_path, bytes);
        return Open(m_path);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("page.php"));
    CDocTemplate m_template;
};
} // namespace

TEST_F(DocumentTest, EveryKindOfFileSavesBackByteForByte)
{
    // A single line of 4 MB, Chinese in it.
    QByteArray longLine = "<?php echo '";
    while (longLine.size() < 4 * 1024 * 1024)
        longLine += "\xe4\xb8\xad\xe6\x96\x87 text ";
    longLine += "';";
    const QList<QByteArray> files = {
        "<?php\r\necho 1;\r\n?>\r\n",
        "lf\nonly\n",
        "cr\ronly\r",
        "mixed\r\nbreaks\nhere\rend",
        "lf first\nthen\r\ncr\r\r\n\n",
        "cr first\rthen\nboth\r\n\r",
        QByteArray("nul\0inside\0", 11),
        QByteArray("\0", 1),
        "\xEF\xBB\xBF<?php echo '\xe4\xb8\xad\xe6\x96\x87';\n",
        "\xEF\xBB\xBF",                              // a byte-order mark only
        "\xEF\xBB\xBF\xFF\xFE bad after the mark",
        "<title>\xd6\xd0\xce\xc4</title>\r\n",      // GBK
        QByteArray("gb \xd6\xd0\0\xce\xc4 nul", 11),
        // Not UTF-8: overlong, a surrogate, a character cut at the end.
        "overlong \xc0\xaf surrogate \xed\xa0\x80 cut \xe4\xb8",
        // Not GB18030: a bad second byte, a four-byte code cut short, and one
        // this iconv writes back as two other bytes.
        "\xd6\xd0 \xd6\x7f \x81\x30\x81",
        "\xd6\xd0 \x95\x32\x90\x31",
        QByteArray("latin \xe9\xff\xfe end", 13),
        longLine,
        "",
    };
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(bytes.left(40).toHex().toStdString());
        ASSERT_TRUE(QuilletTest::WriteFile(Path("f.php"), bytes));
        CQuilletDoc* doc = Open(Path("f.php"));
        ASSERT_TRUE(doc);
        EXPECT_FALSE(doc->IsModified());
        QFile::remove(Path("f.php"));
        ASSERT_TRUE(doc->OnSaveDocument(Path("f.php")));
        EXPECT_TRUE(ReadFile(Path("f.php")) == bytes);
        doc->OnCloseDocument();
        QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    }
}

TEST_F(DocumentTest, TypedSavedClosedAndReopenedIsTheSameBytes)
{
    ASSERT_TRUE(QuilletTest::WriteFile(Path("crlf.php"), "<?php\r\n"));
    CQuilletDoc* doc = Open(Path("crlf.php"));
    CCodeEditCtrl* editor = doc->Editor();
    editor->SetSelection(7, 7);
    QTest::keyClicks(editor, "if ($a) {");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "echo 1;");
    EXPECT_TRUE(doc->IsModified());
    CScriptedResponder responder;
    ASSERT_TRUE(doc->DoFileSave());
    // The line's first non-blank is "i", so no tab is added for its brace.
    const QByteArray expected = "<?php\r\nif ($a) {\r\necho 1;";
    EXPECT_EQ(ReadFile(Path("crlf.php")), expected);
    doc->OnFileClose();
    QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    EXPECT_TRUE(responder.asked.isEmpty());   // saved: no question
    CQuilletDoc* again = Open(Path("crlf.php"));
    EXPECT_EQ(again->Editor()->WholeText(), expected);
}

TEST_F(DocumentTest, GbkFileOpensReadableAndKeepsItsEncoding)
{
    ASSERT_TRUE(QuilletTest::WriteFile(Path("gbk.php"), "<p>\xd6\xd0\xce\xc4</p>"));
    CQuilletDoc* doc = Open(Path("gbk.php"));
    EXPECT_EQ(doc->Editor()->text(), QStringLiteral("<p>中文</p>"));
    doc->Editor()->SetSelection(3, 3);
    doc->Editor()->ReplaceSelection(QStringLiteral("新").toUtf8());
    ASSERT_TRUE(doc->OnSaveDocument(Path("gbk.php")));
    EXPECT_EQ(ReadFile(Path("gbk.php")), "<p>\xd0\xc2\xd6\xd0\xce\xc4</p>");
}

// Text typed into a file whose encoding cannot hold it is kept: the file is
// written in UTF-8 from then on, and the user is told.
TEST_F(DocumentTest, TextTheFilesEncodingCannotHoldIsSavedAsUtf8)
{
    const struct
    {
        const char* what;
        QByteArray file;
        FileEncoding::Kind kind;
        QByteArray typed;   // UTF-8
        QByteArray saved;
    } cases[] = {
        {"Latin-1 and Chinese", "caf\xe9\r\n", FileEncoding::Kind::Latin1, "\xe4\xb8\xad",
         "\xe4\xb8\xad" "caf\xc3\xa9\r\n"},
        // U+E78D, a private-use character that this GB18030 writes no code for.
        {"GB18030 and a private-use character", "<p>\xd6\xd0</p>", FileEncoding::Kind::Gb18030, "\xee\x9e\x8d",
         "\xee\x9e\x8d<p>\xe4\xb8\xad</p>"},
    };
    QStringList skipped;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (FileEncoding::Encode(c.typed, c.kind)) {
            skipped << QString::fromLatin1(c.what);
            continue;
        }
        ASSERT_TRUE(QuilletTest::WriteFile(Path("enc.php"), c.file));
        CQuilletDoc* doc = Open(Path("enc.php"));
        ASSERT_TRUE(doc);
        ASSERT_EQ(doc->GetFormat().kind, c.kind);
        doc->Editor()->SetSelection(0, 0);
        doc->Editor()->ReplaceSelection(c.typed);
        CScriptedResponder responder;
        ASSERT_TRUE(doc->DoFileSave());
        EXPECT_EQ(ReadFile(Path("enc.php")), c.saved);
        EXPECT_EQ(responder.Texts(UserPrompt::Request::Message),
                  QStringList({"文档中有原编码无法表示的字符，已改用 UTF-8 保存。"}));
        EXPECT_EQ(doc->GetFormat().kind, FileEncoding::Kind::Utf8);
        EXPECT_FALSE(doc->IsModified());
        // Saved again, it stays UTF-8 and nothing more is said.
        doc->Editor()->SetSelection(0, 0);
        QTest::keyClicks(doc->Editor(), "x");
        ASSERT_TRUE(doc->DoFileSave());
        EXPECT_EQ(ReadFile(Path("enc.php")), "x" + c.saved);
        EXPECT_EQ(responder.Texts(UserPrompt::Request::Message).size(), 1);
        doc->OnCloseDocument();
        QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "the encoding holds the typed character here, so nothing forces UTF-8: "
                     << skipped.join(QStringLiteral(", ")).toStdString();
}

TEST_F(DocumentTest, ModifiedByEveryChangeAndClearedByUndoingBackToTheSavedText)
{
    ASSERT_TRUE(QuilletTest::WriteFile(Path("m.php"), "abc"));
    CQuilletDoc* doc = Open(Path("m.php"));
    CCodeEditCtrl* editor = doc->Editor();
    QApplication::clipboard()->setText(QStringLiteral("XY"));
    editor->SetSelection(3, 3);
    editor->paste();
    EXPECT_TRUE(doc->IsModified());
    editor->undo();
    EXPECT_FALSE(doc->IsModified());
    editor->SetSelection(0, 1);
    editor->cut();
    EXPECT_TRUE(doc->IsModified());
    editor->undo();
    EXPECT_FALSE(doc->IsModified());
    editor->SetSelection(0, 0);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, FailedSaveKeepsTheDocumentModifiedAndSaysSo)
{
    ASSERT_TRUE(QuilletTest::WriteFile(Path("keep.php"), "old"));
    CQuilletDoc* doc = Open(Path("keep.php"));
    QTest::keyClicks(doc->Editor(), "new ");
    CScriptedResponder responder;
    EXPECT_FALSE(doc->DoSave(Path("missing-dir/x.php")));
    QDir().mkdir(Path("a-dir.php"));
    EXPECT_FALSE(doc->DoSave(Path("a-dir.php")));
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message),
              QStringList({"保存文档失败。", "保存文档失败。"}));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), QFileInfo(Path("keep.php")).absoluteFilePath());
    EXPECT_EQ(ReadFile(Path("keep.php")), "old");
}

TEST_F(DocumentTest, UnreadableFileOpensNothing)
{
    CScriptedResponder responder;
    EXPECT_EQ(Open(Path("nope.php")), nullptr);
    QDir().mkdir(Path("folder"));
    EXPECT_EQ(Open(Path("folder")), nullptr);
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message),
              QStringList({"打开文档失败。", "打开文档失败。"}));
    EXPECT_TRUE(m_template.Documents().isEmpty());
}

namespace {
struct stat StatOf(const QString& path, bool follow = true)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    EXPECT_EQ(follow ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st), 0) << native.constData();
    return st;
}
} // namespace

TEST_F(DocumentTest, FileWithoutWritePermissionIsRefusedAndLeftAsItWas)
{
    // The tests may run as the superuser, whom access() lets write anything:
    // a file with no write bit at all must still be refused.
    ASSERT_TRUE(QuilletTest::WriteFile(Path("ro.php"), "old\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("ro.php")).constData(), 0444), 0);
    CQuilletDoc* doc = Open(Path("ro.php"));
    ASSERT_TRUE(doc);
    QTest::keyClicks(doc->Editor(), "new ");
    const ino_t inode = StatOf(Path("ro.php")).st_ino;

    CScriptedResponder responder;
    EXPECT_FALSE(doc->DoSave(Path("ro.php")));
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message), QStringList({"保存文档失败。"}));
    // Save offers another name instead; cancelling it saves nothing.
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(responder.Texts(UserPrompt::Request::SaveFile).size(), 1);

    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadFile(Path("ro.php")), "old\n");
    EXPECT_EQ(StatOf(Path("ro.php")).st_mode & 07777, 0444u);
    EXPECT_EQ(StatOf(Path("ro.php")).st_ino, inode);
}

TEST_F(DocumentTest, SavingKeepsTheFilesModeHardLinksAndSymbolicLinks)
{
    const auto edit = [this](const QString& path, const char* typed) {
        CQuilletDoc* doc = Open(path);
        EXPECT_TRUE(doc);
        if (!doc)
            return;
        QTest::keyClicks(doc->Editor(), typed);
        EXPECT_TRUE(doc->DoFileSave());
        EXPECT_FALSE(doc->IsModified());
        doc->OnCloseDocument();
        QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    };
    CScriptedResponder responder;   // any prompt would be recorded, not shown

    // Mode, set-group-id bit included.
    ASSERT_TRUE(QuilletTest::WriteFile(Path("mode.php"), "m"));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("mode.php")).constData(), 02640), 0);
    edit(Path("mode.php"), "1");
    EXPECT_EQ(ReadFile(Path("mode.php")), "1m");
    EXPECT_EQ(StatOf(Path("mode.php")).st_mode & 07777, 02640u);

    // Two names of one file both show the new text.
    ASSERT_TRUE(QuilletTest::WriteFile(Path("one.php"), "a long old text"));
    ASSERT_EQ(::link(QFile::encodeName(Path("one.php")).constData(),
                     QFile::encodeName(Path("two.php")).constData()), 0);
    edit(Path("one.php"), "x");
    EXPECT_EQ(ReadFile(Path("two.php")), "xa long old text");
    EXPECT_EQ(StatOf(Path("one.php")).st_ino, StatOf(Path("two.php")).st_ino);
    EXPECT_EQ(StatOf(Path("one.php")).st_nlink, 2u);

    // A symbolic link stays a link to the file it names.
    ASSERT_TRUE(QuilletTest::WriteFile(Path("target.php"), "t"));
    ASSERT_TRUE(QFile::link(Path("target.php"), Path("link.php")));
    edit(Path("link.php"), "s");
    EXPECT_TRUE(S_ISLNK(StatOf(Path("link.php"), false).st_mode));
    EXPECT_EQ(ReadFile(Path("target.php")), "st");

    EXPECT_TRUE(responder.asked.isEmpty());
}

TEST_F(DocumentTest, CloseAsksToSaveAModifiedDocument)
{
    CQuilletDoc* doc = m_template.NewDocument();
    QTest::keyClicks(doc->Editor(), "x");
    CScriptedResponder responder;
    responder.answers = {UserPrompt::Answer::Cancel};
    EXPECT_FALSE(doc->OnFileClose());
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNoCancel),
              QStringList({"将改动保存到 " + doc->GetTitle() + "？"}));
    // Yes with a file name chosen saves, then closes.
    responder.answers = {UserPrompt::Answer::Yes};
    responder.files = {Path("closed")};
    EXPECT_TRUE(doc->OnFileClose());
    EXPECT_EQ(ReadFile(Path("closed.php")), "x");
}

TEST_F(DocumentTest, NewWindowShowsAndEditsTheSameText)
{
    ASSERT_TRUE(QuilletTest::WriteFile(Path("two.php"), "shared"));
    CQuilletDoc* doc = Open(Path("two.php"));
    CQuilletView* second = m_template.NewWindow(doc, doc->FirstView());
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Editor()->WholeText(), "shared");
    second->Editor()->SetSelection(6, 6);
    QTest::keyClicks(second->Editor(), "!");
    EXPECT_EQ(doc->FirstView()->Editor()->WholeText(), "shared!");
    EXPECT_TRUE(doc->IsModified());
    // Closing one window leaves the document open in the other.
    doc->FirstView()->close();
    QuilletTest::WaitFor([doc] { return doc->Views().size() == 1; });
    ASSERT_EQ(m_template.Documents().size(), 1);
    ASSERT_TRUE(doc->OnSaveDocument(Path("two.php")));
    EXPECT_EQ(ReadFile(Path("two.php")), "shared!");
}

TEST_F(DocumentTest, ViewCommandUpdatesAndContextMenu)
{
    CQuilletDoc* doc = m_template.NewDocument();
    CQuilletView* view = doc->FirstView();
    CCodeEditCtrl* editor = view->Editor();
    const auto state = [view](int id) {
        CCmdUI ui;
        ui.id = id;
        EXPECT_TRUE(view->Commands().Update(ui));
        return ui.enabled;
    };
    EXPECT_FALSE(state(Cmd::EditCut));
    EXPECT_FALSE(state(Cmd::EditCopy));
    EXPECT_FALSE(state(Cmd::EditUndo));
    QTest::keyClicks(editor, "ab");
    EXPECT_TRUE(state(Cmd::EditUndo));
    editor->SetSelection(0, 1);
    EXPECT_TRUE(state(Cmd::EditCut));
    QApplication::clipboard()->clear();
    EXPECT_FALSE(state(Cmd::EditPaste));
    QApplication::clipboard()->setText(QStringLiteral("c"));
    EXPECT_TRUE(state(Cmd::EditPaste));

    emit editor->contextMenuWanted(view->mapToGlobal(QPoint(20, 100)));
    QMenu* menu = view->ContextMenu();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items.at(0)->text(), "剪切");
    EXPECT_EQ(items.at(1)->text(), "复制");
    EXPECT_EQ(items.at(2)->text(), "粘贴");
    EXPECT_TRUE(items.at(0)->isEnabled());
    EXPECT_TRUE(items.at(2)->isEnabled());
    menu->hide();
    editor->SetSelection(1, 1);
    emit editor->contextMenuWanted(view->mapToGlobal(QPoint(20, 100)));
    EXPECT_FALSE(items.at(0)->isEnabled());
    EXPECT_FALSE(items.at(1)->isEnabled());
    items.at(2)->trigger();
    EXPECT_EQ(editor->WholeText(), "acb");
    menu->hide();
}

TEST_F(DocumentTest, InsertReplacesTheTypedWordWithTheListsEntry)
{
    CRecordingHelpList list;
    EditorHost::SetHelpList(&list);
    CQuilletDoc* doc = m_template.NewDocument();
    CQuilletView* view = doc->FirstView();
    QTest::keyClicks(view->Editor(), "$n = st");
    ASSERT_TRUE(list.visible);
    view->OnEditInsert();
    EXPECT_EQ(view->Editor()->WholeText(), "$n = strlen");
    EXPECT_FALSE(list.visible);
    // With the list hidden, Insert does nothing.
    view->OnEditInsert();
    EXPECT_EQ(view->Editor()->WholeText(), "$n = strlen");
    EditorHost::SetHelpList(nullptr);
}

TEST_F(DocumentTest, AdPaneHeightFollowsItsAddressAtEachTick)
{
    CQuilletView* view = m_template.NewDocument()->FirstView();
    EXPECT_EQ(view->AdPaneHeight(), 66);
    EXPECT_EQ(view->AdPane()->geometry(), QRect(0, 0, view->width(), 66));
    EXPECT_EQ(view->Editor()->geometry().top(), 66);
    EXPECT_EQ(view->AdPane()->LocationURL(), CQuilletView::AdAddress());
    // A page that fails to load shows the error page, whose address names system32.
    view->AdPane()->Navigate(QStringLiteral("qrc:/no/such/page.html"));
    view->OnAdTimer();
    EXPECT_EQ(view->AdPaneHeight(), 132);
    EXPECT_EQ(view->Editor()->geometry().top(), 132);
    EXPECT_EQ(view->Editor()->geometry().bottom(), view->height() - 1);
    // The tick reloads the pane's own page, so the next one shrinks it again.
    view->OnAdTimer();
    EXPECT_EQ(view->AdPaneHeight(), 66);
}

// Another program changes or deletes the file while it is open, with edits
// unsaved: keeping the text is no consent to overwrite the other program's
// change, and nothing typed is lost unasked.
TEST_F(DocumentTest, FileChangedByAnotherProgramIsAskedAboutBeforeItIsOverwritten)
{
    using A = UserPrompt::Answer;
    struct Case
    {
        const char* what;
        bool deleteIt;
        QList<A> answers;          // to the reload question, then to the save's
        QByteArray fileAfterSave;  // what the file holds after Ctrl+S
        QByteArray textAfter;
    };
    const QByteArray outside = "<?php\n// outside\n";
    const QList<Case> cases = {
        {"reload", false, {A::Yes}, outside, outside},
        {"keep mine, then cancel the save", false, {A::No, A::No}, outside, "<?php\nmine"},
        {"keep mine, then overwrite", false, {A::No, A::Yes}, "<?php\nmine", "<?php\nmine"},
        {"deleted", true, {}, "<?php\nmine", "<?php\nmine"},
    };
    for (const Case& c : cases) {
        const QString path = Path("watched.php");
        const QString named = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) + "\n\n";
        ASSERT_TRUE(QuilletTest::WriteFile(path, "<?php\n"));
        CQuilletDoc* doc = Open(path);
        ASSERT_TRUE(doc) << c.what;
        EXPECT_FALSE(doc->HasChangedOnDisk()) << c.what;
        doc->Editor()->SetSelection(6, 6);
        QTest::keyClicks(doc->Editor(), "mine");
        if (c.deleteIt)
            QFile::remove(path);
        else
            ASSERT_TRUE(QuilletTest::WriteFile(path, outside));
        EXPECT_TRUE(doc->HasChangedOnDisk()) << c.what;

        CScriptedResponder responder;
        responder.answers = c.answers;
        m_template.CheckDiskChanges();
        EXPECT_FALSE(doc->HasChangedOnDisk()) << c.what;   // answered once, not asked again
        m_template.CheckDiskChanges();
        if (c.deleteIt) {
            EXPECT_EQ(responder.Texts(UserPrompt::Request::Message),
                      QStringList({named + "文件已被其他程序删除。文档仍然打开，其内容尚未保存。"})) << c.what;
            EXPECT_TRUE(responder.Texts(UserPrompt::Request::YesNo).isEmpty()) << c.what;
        } else {
            EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo).value(0),
                      named + "文件已被其他程序修改。是否重新载入？\n重新载入将丢弃尚未保存的改动。") << c.what;
        }
        EXPECT_EQ(doc->IsModified(), c.answers.value(0, A::No) != A::Yes) << c.what;
        doc->DoFileSave();
        EXPECT_EQ(ReadFile(path), c.fileAfterSave) << c.what;
        EXPECT_EQ(doc->Editor()->WholeText(), c.textAfter) << c.what;
        EXPECT_TRUE(responder.answers.isEmpty()) << c.what;
        if (c.answers.size() > 1)
            EXPECT_TRUE(responder.Texts(UserPrompt::Request::YesNo).value(1).startsWith(named)) << c.what;
        TearDown();
    }
}

TEST_F(DocumentTest, TheTemplateAsksOnceForEachChangedFile)
{
    const QString a = Path("a.php"), b = Path("b.php");
    ASSERT_TRUE(QuilletTest::WriteFile(a, "a"));
    ASSERT_TRUE(QuilletTest::WriteFile(b, "b"));
    CQuilletDoc* docA = Open(a);
    CQuilletDoc* docB = Open(b);
    ASSERT_TRUE(docA && docB);
    QSignalSpy changed(&m_template, &CDocTemplate::diskChanged);
    ASSERT_TRUE(QuilletTest::WriteFile(b, "b changed"));
    EXPECT_TRUE(QuilletTest::WaitFor([&] { return changed.size() > 0; }));
    CScriptedResponder responder;
    responder.answers = {UserPrompt::Answer::Yes};
    m_template.CheckDiskChanges();
    m_template.CheckDiskChanges();
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo).size(), 1);
    EXPECT_EQ(docB->Editor()->WholeText(), "b changed");
    EXPECT_FALSE(docB->IsModified());
    EXPECT_EQ(docA->Editor()->WholeText(), "a");
    // Our own saves are no change from outside.
    QTest::keyClicks(docA->Editor(), "x");
    ASSERT_TRUE(docA->DoFileSave());
    m_template.CheckDiskChanges();
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo).size(), 1);
}

TEST_F(DocumentTest, AFileTooLargeForTheEditorIsRefusedUnread)
{
    const QString path = Path("huge.php");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Sparse: no disk is used for the hole.
    ASSERT_TRUE(f.resize(CDocTemplate::kMaxFileBytes + 1));
    f.close();
    CScriptedResponder responder;
    EXPECT_EQ(Open(path), nullptr);
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message), QStringList({"文件太大，无法打开。"}));
    EXPECT_TRUE(m_template.Documents().isEmpty());
}

TEST_F(DocumentTest, OneFileReachedByTwoPathsOpensOnce)
{
    // Two windows on one file would each save over the other's changes.
    const QString path = Path("page.php");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("<?php echo 1;\n") > 0);
    f.close();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(path, Path("link.php")));
    CQuilletDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    for (const char* other : {"link.php", "sub/../page.php"})
        EXPECT_EQ(Open(Path(other)), doc) << other;
    EXPECT_EQ(m_template.Documents().size(), 1);
}

// A window closed without its frame outlives its document: it lets go of the
// document once that is gone, and goes itself without touching it.
TEST(DocumentWindow, AWindowThatOutlivesItsDocumentLetsGoOfIt)
{
    CDocTemplate docs;
    QPointer<CQuilletView> view;
    docs.SetFrameFactory([&view](CQuilletDoc* doc, CQuilletView* source) { return view = new CQuilletView(doc, source); });
    QPointer<CQuilletDoc> doc = docs.NewDocument();
    ASSERT_TRUE(doc && view);
    doc->OnCloseDocument();
    docs.RemoveDocument(doc);
    QuilletTest::WaitFor([&doc] { return doc.isNull(); });
    ASSERT_TRUE(doc.isNull());
    EXPECT_EQ(view->GetDocument(), nullptr);
    delete view;
}

// Line-break conversion, a change of encoding and reading a file again.
TEST_F(DocumentTest, LineBreaksConvertInOneUndoStepAndSaveByteExact)
{
    const QList<QByteArray> files = {
        "<?php\r\necho 1;\nmixed\rend\r\n\r\r\n\n",
        "cr\ronly\r\xd6\xd0\xce\xc4\r",   // GB18030, CR only
        "\xe4\xb8\xad lf\nonly",
    };
    const std::pair<LineBreak, QByteArray> targets[] = {{LineBreak::Lf, "\n"}, {LineBreak::CrLf, "\r\n"}, {LineBreak::Cr, "\r"}};
    for (const QByteArray& bytes : files) {
        for (const auto& [lineBreak, text] : targets) {
            SCOPED_TRACE(bytes.toHex().toStdString() + " to " + text.toHex().toStdString());
            CQuilletDoc* doc = OpenWith(bytes);
            ASSERT_TRUE(doc);
            const LineBreak before = doc->GetFormat().lineBreak;
            doc->ConvertLineBreaks(lineBreak);
            EXPECT_TRUE(doc->OnSaveDocument(m_path));
            EXPECT_EQ(ReadFile(m_path), WithBreaks(bytes, text));
            // One undo takes the whole conversion back, and the file's line break with it.
            doc->Editor()->undo();
            EXPECT_TRUE(QuilletTest::WaitFor([&] { return doc->GetFormat().lineBreak == before; }));
            EXPECT_TRUE(doc->OnSaveDocument(m_path));
            EXPECT_EQ(ReadFile(m_path), bytes);
            doc->OnCloseDocument();
            QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
        }
    }
}

TEST_F(DocumentTest, AChosenEncodingSavesAsIconvWritesItOrIsRefused)
{
    const QByteArray utf8 = "<?php\r\necho '\xe4\xb8\xad\xe6\x96\x87 \xf0\xa0\x80\x80 \xe2\x82\xac';\n?>\r\n";
    CQuilletDoc* doc = OpenWith(utf8);
    ASSERT_TRUE(doc->SetEncoding(Kind::Gb18030));
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(doc->OnSaveDocument(m_path));
    const QByteArray gb = ReadFile(m_path);
    EXPECT_EQ(gb, Iconv("UTF-8", "GB18030", utf8));
    EXPECT_EQ(doc->GetFormat().kind, Kind::Gb18030);
    // And back: the GB18030 file read afresh, saved as UTF-8.
    ASSERT_TRUE(doc->Reload());
    ASSERT_TRUE(doc->SetEncoding(Kind::Utf8));
    ASSERT_TRUE(doc->OnSaveDocument(m_path));
    EXPECT_EQ(ReadFile(m_path), Iconv("GB18030", "UTF-8", gb));

    // A private-use character this GB18030 has no code for: refused, said
    // with its line and code, nothing changed.
    const QByteArray unmapped = "ok\nline \xee\x9e\x8d two\n";   // U+E78D
    CScriptedResponder responder;
    doc->Editor()->SetWholeText(unmapped);
    doc->SetModifiedFlag(false);
    EXPECT_FALSE(doc->SetEncoding(Kind::Gb18030));
    ASSERT_EQ(responder.asked.size(), 1);
    EXPECT_TRUE(responder.asked[0].text.contains(QStringLiteral("第 2 行")));
    EXPECT_TRUE(responder.asked[0].text.contains(QStringLiteral("U+E78D")));
    EXPECT_EQ(doc->GetFormat().kind, Kind::Utf8);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocumentTest, ReloadAsksFirstAndNoLeavesEverythingAsItWas)
{
    CQuilletDoc* doc = OpenWith("one\ntwo\nthree\nfour\n");
    CCodeEditCtrl* editor = doc->Editor();
    editor->setCursorPosition(2, 1);
    editor->insert(QStringLiteral("EDIT"));
    const QByteArray edited = editor->WholeText();
    QuilletTest::WriteFile(m_path, "ONE\r\nTWO\r\nTHREE\r\n");

    CScriptedResponder responder;
    responder.answers = {UserPrompt::Answer::No, UserPrompt::Answer::Yes};
    EXPECT_FALSE(doc->Reload());
    EXPECT_EQ(responder.asked.size(), 1);
    EXPECT_EQ(editor->WholeText(), edited);
    EXPECT_TRUE(doc->IsModified());
    int line = -1, index = -1;
    editor->getCursorPosition(&line, &index);
    EXPECT_EQ(std::make_pair(line, index), std::make_pair(2, 1));
    EXPECT_TRUE(editor->isUndoAvailable());   // the edit is still there to undo

    EXPECT_TRUE(doc->Reload());
    EXPECT_EQ(editor->WholeText(), "ONE\r\nTWO\r\nTHREE\r\n");
    EXPECT_EQ(doc->GetFormat().lineBreak, LineBreak::CrLf);
    EXPECT_FALSE(doc->IsModified());
    editor->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    // Unmodified: read again without a question.
    QuilletTest::WriteFile(m_path, "x");
    EXPECT_TRUE(doc->Reload());
    EXPECT_EQ(responder.asked.size(), 2);
    EXPECT_EQ(editor->WholeText(), "x");
}
