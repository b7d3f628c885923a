// Fold levels: kept over random edits (far apart too), they are those a
// fresh whole scan gives; and the depth of each line agrees with PHP's own
// lexer and Python's HTML parser (tools/check_folds.py) on the example pages.
#include "FoldLevels.h"
#include "RandomPage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <random>

namespace {

std::vector<int> Levels(CFoldLevels& levels)
{
    std::vector<int> all;
    for (std::int64_t l = 0; l < levels.LineCount(); ++l)
        all.push_back(levels.Level(l));
    return all;
}

TEST(FoldLevels, RandomEditsGiveTheWholeScanLevels)
{
    for (const unsigned seed : {3u, 8u, 21u}) {
        std::mt19937 rng(seed);
        std::string text = RandomPage::Page(rng, 40 * 1024, seed == 8);
        CFoldLevels levels(256);
        CChangeSet change;
        change.MarkAll();
        RandomPage::EditLog logs[2];
        for (int pass = 0; pass < 300; ++pass) {
            levels.Update(text, change);
            CFoldLevels whole(256);
            whole.Update(text, change.IsAll() ? change : [] { CChangeSet all; all.MarkAll(); return all; }());
            ASSERT_EQ(Levels(levels), Levels(whole)) << "seed " << seed << ", pass " << pass;
            change.Clear();
            // A few edits between passes, some at both ends of the page.
            for (int burst = 1 + static_cast<int>(rng() % 4); burst > 0; --burst) {
                const bool far = rng() % 3 == 0;
                const std::size_t offset = far ? text.size() - std::min<std::size_t>(text.size(), 2000) : 0;
                const std::string part = far ? text.substr(offset) : text;
                RandomPage::RandomEdit(
                    rng, part, logs[far ? 1 : 0],
                    [&](std::size_t pos, const std::string& s) {
                        text.insert(offset + pos, s);
                        change.Insert(static_cast<std::int64_t>(offset + pos), static_cast<std::int64_t>(s.size()));
                    },
                    [&](std::size_t pos, std::size_t len) {
                        text.erase(offset + pos, len);
                        change.Delete(static_cast<std::int64_t>(offset + pos), static_cast<std::int64_t>(len));
                    });
            }
        }
    }
}

TEST(FoldLevels, DepthAgreesWithPhpLexerAndHtmlParser)
{
    if (QStandardPaths::findExecutable(QStringLiteral("php")).isEmpty())
        GTEST_FAIL() << "php is needed (scripts/deps.sh installs it)";
    // Every example page but the one whose attribute quote is never closed,
    // where what a parser makes of the rest is its own choice.
    QStringList args = {QStringLiteral(QUILLET_SOURCE_DIR "/tools/check_folds.py"), QStringLiteral(QUILLET_FOLDS_TOOL)};
    const QDir examples(QStringLiteral(QUILLET_SOURCE_DIR "/tests/data/colour"));
    for (const QString& name : examples.entryList({QStringLiteral("*.php")}, QDir::Files))
        if (name != QLatin1String("html_tokens.php"))
            args << examples.filePath(name);
    QProcess check;
    check.start(QStringLiteral("python3"), args);
    ASSERT_TRUE(check.waitForFinished(120000));
    const QString out = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
    EXPECT_EQ(check.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("lines differing 0"))) << out.toStdString();
}

} // namespace
