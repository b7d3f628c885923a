// Colouring a real QsciScintilla: the style bytes on screen equal what the
// styles tool prints, the change trigger, formats, strike-out and the selection.
#include "ColourEditor.h"
#include "CodeEditCtrl.h"
#include "EditorHost.h"
#include "SlotBuffer.h"
#include "SlotFontChoice.h"
#include "SlotFormat.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include <cmath>

namespace {

using Sci = QsciScintillaBase;

QSettings AppSettings()
{
    return QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"));
}

class ScintillaColour : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppSettings().clear();
        m_editor.SendScintilla(Sci::SCI_SETCODEPAGE, static_cast<unsigned long>(Sci::SC_CP_UTF8));
    }
    void TearDown() override
    {
        EditorHost::SetRecolourer({});
        AppSettings().clear();
    }

    void SetBytes(const QByteArray& bytes)
    {
        m_editor.SendScintilla(Sci::SCI_SETTEXT, static_cast<uintptr_t>(0), bytes.constData());
    }
    long Send(unsigned int msg, unsigned long w = 0, long l = 0) { return m_editor.SendScintilla(msg, w, l); }
    QByteArray Bytes()
    {
        const long n = Send(Sci::SCI_GETTEXTLENGTH);
        return QByteArray(static_cast<const char*>(m_editor.SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER)), n);
    }
    std::vector<std::uint8_t> StyleBytes()
    {
        std::vector<std::uint8_t> styles;
        const long n = Send(Sci::SCI_GETTEXTLENGTH);
        for (long i = 0; i < n; ++i)
            styles.push_back(static_cast<std::uint8_t>(Send(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(i))));
        return styles;
    }
    std::vector<std::uint8_t> Expected()
    {
        const QByteArray b = Bytes();
        return ColourBytes(std::string_view(b.constData(), b.size()));
    }

    CCodeEditCtrl m_editor;
};

std::string RunsOf(const std::vector<std::uint8_t>& styles)
{
    CSlotBuffer buffer;
    buffer.Reset(styles.size());
    for (std::size_t i = 0; i < styles.size(); ++i)
        buffer.Apply(styles[i], static_cast<std::int32_t>(i), static_cast<std::int32_t>(i + 1));
    return FormatRuns(buffer.Runs());
}

} // namespace

TEST_F(ScintillaColour, StylesOnScreenAreThoseTheToolPrints)
{
    const QDir dir(QStringLiteral(QUILLET_TEST_DATA_DIR "/colour"));
    const QStringList pages = dir.entryList({"*.php"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(pages.isEmpty());
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        QFile f(dir.filePath(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        SetBytes(bytes);
        ASSERT_EQ(Bytes(), bytes);
        ColourEditor::RecolourControl(&m_editor);

        QProcess tool;
        tool.start(QStringLiteral(QUILLET_BIN_DIR "/quillet-styles"), {dir.filePath(page)});
        ASSERT_TRUE(tool.waitForFinished(10000));
        ASSERT_EQ(tool.exitCode(), 0);
        const QByteArray printed = tool.readAllStandardOutput();
        EXPECT_EQ(RunsOf(StyleBytes()), printed.toStdString());
    }
}

TEST_F(ScintillaColour, TypingWithinALineNeverRecoloursEnterDoes)
{
    // The editor control's own trigger with the real colourer behind it.
    EditorHost::SetRecolourer([](CCodeEditCtrl* editor) { ColourEditor::RecolourControl(editor); });
    m_editor.show();
    m_editor.setFocus();
    CCodeEditCtrl::ResetCaretLineStart(0);

    QTest::keyClicks(&m_editor, "<?php echo 1; ?>");
    QCoreApplication::processEvents();
    ASSERT_EQ(Bytes(), QByteArray("<?php echo 1; ?>"));
    EXPECT_EQ(StyleBytes(), std::vector<std::uint8_t>(16, 0)) << "typing on one line recoloured";

    QTest::keyClick(&m_editor, Qt::Key_Return);
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return Send(Sci::SCI_GETSTYLEAT, 0) == SLOT_PHP_DELIMITER; }));
    EXPECT_EQ(StyleBytes(), Expected());

    // New text on the new line keeps the style it was typed with until the next pass.
    QTest::keyClicks(&m_editor, "<b>");
    QCoreApplication::processEvents();
    const long lt = Send(Sci::SCI_GETTEXTLENGTH) - 3;
    EXPECT_EQ(Expected()[lt], SLOT_HTML_DELIMITER);
    EXPECT_EQ(Send(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(lt)), 0);

    QTest::keyClick(&m_editor, Qt::Key_Return);
    ASSERT_TRUE(QuilletTest::WaitFor(
        [&] { return Send(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(lt)) == SLOT_HTML_DELIMITER; }));
    EXPECT_EQ(StyleBytes(), Expected());
}

TEST_F(ScintillaColour, PassKeepsSelectionScrollTextAndDrawing)
{
    QByteArray page;
    for (int i = 0; i < 200; ++i)
        page += "<p class=\"x\"><?php echo $i + " + QByteArray::number(i) + "; ?></p>\n";
    SetBytes(page);
    Send(Sci::SCI_SETSAVEPOINT);
    m_editor.resize(400, 200);
    m_editor.show();
    Send(Sci::SCI_SETSEL, 300, 120);
    Send(Sci::SCI_SETFIRSTVISIBLELINE, 50);
    const long first = Send(Sci::SCI_GETFIRSTVISIBLELINE);
    ASSERT_GT(first, 0);

    ColourEditor::RecolourControl(&m_editor);

    EXPECT_EQ(Send(Sci::SCI_GETANCHOR), 300);
    EXPECT_EQ(Send(Sci::SCI_GETCURRENTPOS), 120);
    EXPECT_EQ(Send(Sci::SCI_GETFIRSTVISIBLELINE), first);
    EXPECT_EQ(Bytes(), page);
    EXPECT_EQ(Send(Sci::SCI_GETMODIFY), 0);
    EXPECT_TRUE(m_editor.viewport()->updatesEnabled());
    EXPECT_EQ(StyleBytes(), Expected());
}

TEST_F(ScintillaColour, FormatsAreReadAtTheStartOfEachPass)
{
    SetBytes("<?php echo 1; ?>");
    ColourEditor::RecolourControl(&m_editor);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, SLOT_PHP_KEYWORD), 0xFF0000);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, SLOT_HTML_ELEMENT), 0x006600);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETBOLD, SLOT_PHP_KEYWORD), 0);
    const QFont base = ColourEditor::DefaultEditorFont();
    EXPECT_EQ(Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, SLOT_PHP_KEYWORD), std::lround(base.pointSizeF() * 100));

    CChosenFont font;
    font.faceName = QStringLiteral("Serif Test Face");
    font.height = -20;
    font.weight = 700;
    font.italic = true;
    font.underline = true;
    font.color = 0x00AA11;
    {
        QSettings s = AppSettings();
        StoreSlotFont(s, SLOT_PHP_KEYWORD, font);
    }
    // Stored, but not seen before the next pass.
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, SLOT_PHP_KEYWORD), 0xFF0000);

    ColourEditor::RecolourControl(&m_editor);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, SLOT_PHP_KEYWORD), 0x00AA11);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETBOLD, SLOT_PHP_KEYWORD), 1);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETITALIC, SLOT_PHP_KEYWORD), 1);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETUNDERLINE, SLOT_PHP_KEYWORD), 1);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, SLOT_PHP_KEYWORD),
              std::lround(20 * 72.0 / m_editor.logicalDpiY() * 100));
    char face[64] = {};
    m_editor.SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(SLOT_PHP_KEYWORD), static_cast<void*>(face));
    EXPECT_STREQ(face, "Serif Test Face");
    // Other slots keep their defaults.
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, SLOT_PHP_IDENTIFIER), 0x000000);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETBOLD, SLOT_PHP_IDENTIFIER), 0);
}

TEST_F(ScintillaColour, StrikeOutIsAnIndicatorInTheTextColour)
{
    SetBytes("<p>\"v\"</p><?php echo \"s\"; ?>");
    CChosenFont font;
    font.strikeOut = true;
    font.color = 0x0000CC;
    {
        QSettings s = AppSettings();
        StoreSlotFont(s, SLOT_PHP_STRING, font);
    }
    ColourEditor::RecolourControl(&m_editor);
    const int ind = ColourEditor::kStrikeOutIndicator;
    EXPECT_EQ(Send(Sci::SCI_INDICGETSTYLE, ind), Sci::INDIC_STRIKE);
    const QByteArray text = Bytes();
    const long str = text.indexOf("\"s\"");
    for (long i = 0; i < text.size(); ++i) {
        const bool struck = i >= str && i < str + 3;
        EXPECT_EQ(Send(Sci::SCI_INDICATORVALUEAT, ind, i) != 0, struck) << i;
        if (struck)
            EXPECT_EQ(Send(Sci::SCI_INDICATORVALUEAT, ind, i) & 0xFFFFFF, 0x0000CC);
    }

    // The next pass after the flag is cleared removes the marks.
    font.strikeOut = false;
    {
        QSettings s = AppSettings();
        StoreSlotFont(s, SLOT_PHP_STRING, font);
    }
    ColourEditor::RecolourControl(&m_editor);
    EXPECT_EQ(Send(Sci::SCI_INDICATORVALUEAT, ind, str), 0);
}

TEST_F(ScintillaColour, DefaultFormatComesFromSlotZero)
{
    QSettings s = AppSettings();
    const long numbers = Send(Sci::SCI_STYLEGETFORE, Sci::STYLE_LINENUMBER);
    ColourEditor::ApplyDefaultFormat(&m_editor, GetSlotFormat(s, SLOT_HTML_ELEMENT));
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, Sci::STYLE_LINENUMBER), numbers);
    const QFont base = ColourEditor::DefaultEditorFont();
    for (int style : {int(Sci::STYLE_DEFAULT), 0}) {
        EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, style), 0x006600) << style;
        char face[128] = {};
        m_editor.SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(style), static_cast<void*>(face));
        EXPECT_EQ(QString::fromUtf8(face), base.family());
    }
    EXPECT_EQ(Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, 0), std::lround(base.pointSizeF() * 100));
}

TEST_F(ScintillaColour, EmptyTextIsColouredWithoutFault)
{
    SetBytes("");
    ColourEditor::RecolourControl(&m_editor);
    EXPECT_EQ(Send(Sci::SCI_GETTEXTLENGTH), 0);
    SetBytes("<");
    ColourEditor::RecolourControl(&m_editor);
    EXPECT_EQ(Send(Sci::SCI_GETSTYLEAT, 0), SLOT_HTML_DELIMITER);
}
