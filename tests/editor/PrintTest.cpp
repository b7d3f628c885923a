#include <gtest/gtest.h>

#include <QProcess>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "ViewPrinter.h"

namespace {
// The text of one page of a PDF, as pdftotext reads it.
QString PageText(const QString& pdf, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {"-f", QString::number(page), "-l", QString::number(page), "-layout", pdf, "-"});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PrintToPdf(const QString& pdf, const QStringList& lines)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return ViewPrinter::Print(printer, lines);
}

class PrintTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QTemporaryDir m_dir;
};
} // namespace

TEST(PrintLines, SplitAtEveryKindOfLineBreak)
{
    EXPECT_EQ(ViewPrinter::SplitLines("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(ViewPrinter::SplitLines("a\n"), QStringList({"a"}));
    EXPECT_EQ(ViewPrinter::SplitLines("a\n\n"), QStringList({"a", ""}));
    EXPECT_EQ(ViewPrinter::SplitLines(""), QStringList({""}));
}

TEST_F(PrintTest, ShortTextPrintsOnePage)
{
    const QString pdf = m_dir.filePath("short.pdf");
    EXPECT_EQ(PrintToPdf(pdf, {"<?php", "echo '中文';"}), 1);
    const QString text = PageText(pdf, 1);
    EXPECT_TRUE(text.contains("<?php"));
    EXPECT_TRUE(text.contains("echo '中文';"));
    EXPECT_TRUE(PageText(pdf, 2).isEmpty());
}

TEST_F(PrintTest, LongTextPrintsEveryPageInOrder)
{
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << QStringLiteral("line%1").arg(i, 3, 10, QLatin1Char('0'));
    const QString pdf = m_dir.filePath("long.pdf");
    const int pages = PrintToPdf(pdf, lines);
    ASSERT_GT(pages, 3);
    QString all;
    for (int p = 1; p <= pages; ++p) {
        const QString text = PageText(pdf, p);
        EXPECT_FALSE(text.trimmed().isEmpty()) << "page " << p;
        all += text;
    }
    int last = 0;
    for (int i = 1; i <= 300; ++i) {
        const int at = static_cast<int>(all.indexOf(QStringLiteral("line%1").arg(i, 3, 10, QLatin1Char('0'))));
        ASSERT_GT(at, -1) << i;
        EXPECT_GT(at, last - 1);
        last = at;
    }
}

TEST_F(PrintTest, WideLineIsCarriedOverNotCutOff)
{
    QString wide;
    for (int i = 0; i < 120; ++i)
        wide += QStringLiteral("w%1 ").arg(i, 3, 10, QLatin1Char('0')).trimmed() + u'-';
    wide += QStringLiteral("END");
    const QString pdf = m_dir.filePath("wide.pdf");
    ASSERT_EQ(PrintToPdf(pdf, {wide}), 1);
    QString text = PageText(pdf, 1);
    text.remove(u'\n').remove(u' ');
    EXPECT_TRUE(text.contains(QString(wide).remove(u' '))) << text.toStdString();
}

TEST_F(PrintTest, OnlyAPdfWrittenToItsEndCountsAsPrinted)
{
    const QString pdf = m_dir.filePath("whole.pdf");
    ASSERT_EQ(PrintToPdf(pdf, {"a line"}), 1);
    EXPECT_TRUE(ViewPrinter::IsCompletePdf(pdf));
    QFile whole(pdf);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    // What a full disk leaves: the same file cut short, or nothing.
    for (const qsizetype keep : {bytes.size() - 8, bytes.size() / 2, qsizetype(0)}) {
        const QString cut = m_dir.filePath(QStringLiteral("cut%1.pdf").arg(keep));
        ASSERT_TRUE(QuilletTest::WriteFile(cut, bytes.left(keep)));
        EXPECT_FALSE(ViewPrinter::IsCompletePdf(cut)) << keep;
    }
    EXPECT_FALSE(ViewPrinter::IsCompletePdf(m_dir.filePath("missing.pdf")));
}
