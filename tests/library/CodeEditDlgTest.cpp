// The snippet dialog: what OK refuses, what it keeps, and the content field.
#include "CodeEditDlg.h"
#include "QtPrinters.h"
#include "ScriptedResponder.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(CodeEditDlgTest, OkRefusesATooLongTitleAndBlankFields)
{
    const QString longest(100, u'标');
    struct Case {
        const char* name;
        QString title;
        QString content;
        const char* refusal;   // nullptr: accepted
    };
    const Case cases[] = {
        {"empty title", "", "echo 1;", "你还没有填写完整!"},
        {"blank title", " \t ", "echo 1;", "你还没有填写完整!"},
        {"blank content", "t", "  \n\t\n", "你还没有填写完整!"},
        {"both empty", "", "", "你还没有填写完整!"},
        {"101 characters", longest + u'x', "echo 1;", "“请填入不多于100个的字符。”"},
        {"101 characters and blank content", longest + u'x', "", "“请填入不多于100个的字符。”"},
        {"100 characters", longest, "echo 1;", nullptr},
        {"surrounding blanks", "  Tom's tips ", "\n\techo 1;\n", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScriptedResponder user;
        CCodeEditDlg dlg;
        EXPECT_EQ(dlg.windowTitle(), "代码编辑");
        dlg.SetTitle(c.title);
        dlg.SetContent(c.content);
        EXPECT_EQ(dlg.TitleField()->text(), c.title);   // a preset title is kept whole
        dlg.show();
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        if (c.refusal) {
            EXPECT_EQ(user.Texts(UserPrompt::Request::Message), QStringList({QString::fromUtf8(c.refusal)}));
            EXPECT_TRUE(dlg.isVisible());
            EXPECT_NE(dlg.result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(user.asked.isEmpty());
            EXPECT_EQ(dlg.result(), QDialog::Accepted);
            EXPECT_EQ(dlg.GetTitle(), c.title);
            EXPECT_EQ(dlg.GetContent(), c.content);
        }
    }
}

TEST(CodeEditDlgTest, TypingKeepsTabsAndTheTitleWithinItsLimit)
{
    CCodeEditDlg dlg;
    dlg.SetTitle(QString(101, u'a'));
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QStringList labels;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        labels << label->text();
    labels.sort();
    EXPECT_EQ(labels, QStringList({"内容:", "标题:"}));

    // A long preset title can shrink but never grow; once it fits, it stays within 100.
    dlg.TitleField()->setFocus();
    dlg.TitleField()->end(false);
    QTest::keyClicks(dlg.TitleField(), "b");
    EXPECT_EQ(dlg.TitleField()->text().size(), 101);
    QTest::keyClick(dlg.TitleField(), Qt::Key_Backspace);
    QTest::keyClicks(dlg.TitleField(), "bc");
    EXPECT_EQ(dlg.TitleField()->text(), QString(100, u'a'));

    // Tab and Enter go into the content.
    dlg.ContentField()->setFocus();
    QTest::keyClicks(dlg.ContentField(), "if");
    QTest::keyClick(dlg.ContentField(), Qt::Key_Return);
    QTest::keyClick(dlg.ContentField(), Qt::Key_Tab);
    QTest::keyClicks(dlg.ContentField(), "x;");
    EXPECT_EQ(dlg.ContentField()->toPlainText(), "if\n\tx;");
    EXPECT_EQ(QApplication::focusWidget(), dlg.ContentField());
    EXPECT_TRUE(dlg.isVisible());
    // Code lines up in columns: every character is as wide as every other.
    const QFontMetrics metrics(dlg.ContentField()->font());
    EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
}

TEST(CodeEditDlgTest, ContentFieldShowsAFortyLineSnippet)
{
    CCodeEditDlg dlg;
    QStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("$line%1 = %1;").arg(i);
    dlg.SetContent(lines.join(u'\n'));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const int lineHeight = dlg.ContentField()->fontMetrics().lineSpacing();
    const QSize screen = dlg.screen()->availableGeometry().size();
    // The whole snippet is in view where the screen has room for it; where it
    // has not, the dialog takes most of the screen's height.
    if (40 * lineHeight + 200 < screen.height())
        EXPECT_GE(dlg.ContentField()->viewport()->height(), 40 * lineHeight);
    else
        EXPECT_GE(dlg.height(), screen.height() * 85 / 100);
    EXPECT_GE(dlg.ContentField()->viewport()->width(), 60 * dlg.ContentField()->fontMetrics().horizontalAdvance(u'x'));
}

} // namespace
