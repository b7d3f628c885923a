// Line-break conversion, a change of encoding and reading a file again, on
// real files, checked against the bytes written.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "CodeEditCtrl.h"
#include "DocTemplate.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"

namespace {
using FileEncoding::Kind;
using FileEncoding::LineBreak;
using QuilletTest::ReadFile;

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

class DocumentFormatTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_template.SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) {
            auto* view = new CQuilletView(doc, source);
            view->setAttribute(Qt::WA_DeleteOnClose);
            view->show();
            return view;
        });
    }
    void TearDown() override
    {
        CScriptedResponder discard;
        discard.answers = {UserPrompt::Answer::No};
        m_template.CloseAllDocuments();
        QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    }
    CQuilletDoc* OpenWith(const QByteArray& bytes)
    {
        QuilletTest::WriteFile(m_path, bytes);
        return m_template.OpenDocumentFile(m_path);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("page.php"));
    CDocTemplate m_template;
};
} // namespace

TEST_F(DocumentFormatTest, LineBreaksConvertInOneUndoStepAndSaveByteExact)
{
    const QList<QByteArray> files = {
        "<?php\r\necho 1;\nmixed\rend\r\n\r\r\n\n",
        "cr\ronly\r\xd6\xd0\xce\xc4\r",   // GB18030, CR only
        "\xe4\xb8\xad lf\nonly",
    };
    const std::pair<LineBreak, QByteArray> targets[] = {
        {LineBreak::Lf, "\n"}, {LineBreak::CrLf, "\r\n"}, {LineBreak::Cr, "\r"}};
    for (const QByteArray& bytes : files) {
        for (const auto& [lineBreak, text] : targets) {
            SCOPED_TRACE(bytes.toHex().toStdString() + " to " + text.toHex().toStdString());
            CQuilletDoc* doc = OpenWith(bytes);
            ASSERT_TRUE(doc);
            const LineBreak before = doc->GetFormat().lineBreak;
            doc->ConvertLineBreaks(lineBreak);
            EXPECT_TRUE(doc->OnSaveDocument(m_path));
            EXPECT_EQ(ReadFile(m_path), WithBreaks(bytes, text));
            // Enter (the caret at the start) types the new line break.
            doc->Editor()->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
            EXPECT_TRUE(doc->Editor()->WholeText().startsWith(text));
            doc->Editor()->undo();
            // One undo takes the whole conversion back, and the file's line break with it.
            doc->Editor()->undo();
            QuilletTest::WaitFor([&] { return doc->GetFormat().lineBreak == before; });
            EXPECT_EQ(doc->GetFormat().lineBreak, before);
            EXPECT_TRUE(doc->OnSaveDocument(m_path));
            EXPECT_EQ(ReadFile(m_path), bytes);
            doc->OnCloseDocument();
            QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
        }
    }
}

TEST_F(DocumentFormatTest, AChosenEncodingSavesAsIconvWritesItOrIsRefused)
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
    doc->OnCloseDocument();
    QuilletTest::WaitFor([this] { return m_template.Documents().isEmpty(); });
    doc = m_template.OpenDocumentFile(m_path);
    ASSERT_EQ(doc->GetFormat().kind, Kind::Gb18030);
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

TEST_F(DocumentFormatTest, ReloadAsksFirstAndNoLeavesEverythingAsItWas)
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
    editor->undo();   // the edit is still there to undo
    EXPECT_EQ(editor->WholeText(), "one\ntwo\nthree\nfour\n");
    editor->redo();

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
