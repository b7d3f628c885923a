// Every example page under tests/data/colour is coloured and compared with the
// runs beside it (*.php.styled). A mismatch writes *.php.styled.new and names
// the first line that differs; tools/promote-styles.sh accepts new results.
#include "SlotBuffer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

QString ExampleDir()
{
    return QStringLiteral(QUILLET_TEST_DATA_DIR "/colour");
}

QByteArray ReadAll(const QString& path, bool* ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    return *ok ? f.readAll() : QByteArray();
}

// 1-based number of the first line where a and b differ, 0 when equal.
int FirstDifferentLine(const QByteArray& a, const QByteArray& b, QByteArray* lineA, QByteArray* lineB)
{
    const QList<QByteArray> la = a.split('\n');
    const QList<QByteArray> lb = b.split('\n');
    for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
        *lineA = i < la.size() ? la[i] : QByteArray("(end of file)");
        *lineB = i < lb.size() ? lb[i] : QByteArray("(end of file)");
        if (i >= la.size() || i >= lb.size() || la[i] != lb[i])
            return static_cast<int>(i + 1);
    }
    return 0;
}

} // namespace

TEST(ExampleFiles, EveryPageColoursAsExpected)
{
    const QDir dir(ExampleDir());
    const QStringList pages = dir.entryList({"*.php"}, QDir::Files, QDir::Name);
    ASSERT_GE(pages.size(), 8) << "example pages missing in " << ExampleDir().toStdString();
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        bool ok = false;
        const QByteArray text = ReadAll(dir.filePath(page), &ok);
        ASSERT_TRUE(ok);
        const std::string runs = FormatRuns(ColourRuns(std::string_view(text.constData(), text.size())));
        const QByteArray actual = QByteArray::fromStdString(runs);
        const QString styledPath = dir.filePath(page + ".styled");
        const QString newPath = styledPath + ".new";
        const QByteArray expected = ReadAll(styledPath, &ok);
        QByteArray expLine, actLine;
        int line = 1;
        if (ok) {
            line = FirstDifferentLine(expected, actual, &expLine, &actLine);
        } else {
            expLine = "(no .styled file)";
            actLine = actual.left(actual.indexOf('\n'));
        }
        if (line == 0) {
            QFile::remove(newPath);
            continue;
        }
        QFile out(newPath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(actual);
        ADD_FAILURE() << page.toStdString() << ".styled:" << line << ": expected \"" << expLine.toStdString()
                      << "\", got \"" << actLine.toStdString() << "\" (" << newPath.toStdString()
                      << " written; tools/promote-styles.sh accepts it)";
    }
}

TEST(ExampleFiles, RunsCoverTheWholeTextWithoutGaps)
{
    const QDir dir(ExampleDir());
    for (const QString& page : dir.entryList({"*.php"}, QDir::Files)) {
        bool ok = false;
        const QByteArray text = ReadAll(dir.filePath(page), &ok);
        const auto runs = ColourRuns(std::string_view(text.constData(), text.size()));
        std::int32_t at = 0;
        for (const CSlotRun& r : runs) {
            EXPECT_EQ(r.start, at) << page.toStdString();
            EXPECT_LT(r.start, r.end);
            EXPECT_TRUE(r.slot >= 0 && r.slot <= 9);
            at = r.end;
        }
        EXPECT_EQ(at, text.size()) << page.toStdString();
    }
}
