// The colouring against PHP's own lexer, over the example pages and random
// pages of tags, strings, comments, heredocs, words and numbers: every byte is
// on the side (HTML or PHP) where `php -d short_open_tag=1` token_get_all
// puts it, and in the grammar colouring every byte of a comment, string,
// number or reserved word token is in that slot.
#include "SlotBuffer.h"
#include "StyleSlot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <random>

namespace {

bool IsHtmlSlot(int slot)
{
    return slot == SLOT_HTML_ELEMENT || slot == SLOT_HTML_DELIMITER || slot == SLOT_HTML_ATTRVALUE;
}

// Pieces whose every order PHP lexes without an error; interpolations come
// whole, so no closing tag ever stands inside one.
std::string RandomPage(std::mt19937& rng)
{
    static const char* const pieces[] = {
        "<?php ", "<?php\n", "<?PHP\n", "<?php", "<?", "<?=", "?>", "?>\n", "'", "\"", "`", "/*", "*/", "//",
        "#", "#[", "\n", "\r\n", "\r", "<<<E\n", "<<<'E'\n", "<<< \"E\"\n", "\nE;\n", "{$a->b}", "${a}",
        "\\", "x", " ", "??", "<p class=\"", "\">", "<a href='", "'>", "echo $a;", "?", ">", "<", "<<", "E",
        "function ", "0x1F", "1_000.5e3", ".5", "0b1", "07", "yield from ", "$o->class ", "enum E ", "list",
        "__CLASS__", "{$a[1]}", "/** d */", "(int)", "$b", "INCLUDE_once"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string text;
    for (int k = std::uniform_int_distribution<int>(1, 60)(rng); k > 0; --k)
        text += pieces[pick(rng)];
    return text;
}

} // namespace

// The example pages and 400 random pages written into dir.
QStringList OracleFiles(const QTemporaryDir& tmp)
{
    QStringList files;
    const QDir examples(QStringLiteral(QUILLET_TEST_DATA_DIR "/colour"));
    for (const QString& page : examples.entryList({"*.php"}, QDir::Files, QDir::Name))
        files << examples.filePath(page);
    const char* seedText = std::getenv("QUILLET_ORACLE_SEED");
    std::mt19937 rng(seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 23u);
    for (int k = 0; k < 400; ++k) {
        QFile f(tmp.filePath(QStringLiteral("page%1.php").arg(k)));
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray::fromStdString(RandomPage(rng)));
        files << f.fileName();
    }
    return files;
}

// What tools/SCRIPT prints for files, run by php with short tags on.
QList<QByteArray> PhpSays(const char* script, const QStringList& files)
{
    QProcess php;
    php.start("php", QStringList{"-d", "short_open_tag=1",
                                 QStringLiteral(QUILLET_TEST_DATA_DIR "/../../tools/") + QLatin1String(script)} + files);
    if (!php.waitForFinished(120000) || php.exitCode() != 0)
        ADD_FAILURE() << script << ": " << php.readAllStandardError().toStdString();
    return php.readAllStandardOutput().split('\n');
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PhpLexerOracle, EveryByteIsOnPhpsSide)
{
    if (QProcess::execute("php", {"-r", "exit(0);"}) != 0)
        GTEST_SKIP() << "php (the command-line interpreter) is not installed; scripts/deps.sh installs it";
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QStringList files = OracleFiles(tmp);

    // The HTML ranges PHP reports, by file.
    std::map<QString, std::vector<std::pair<qsizetype, qsizetype>>> html;
    QString current;
    for (const QByteArray& line : PhpSays("php_sides.php", files)) {
        if (line.startsWith("= ")) {
            current = QString::fromUtf8(line.mid(2));
            html[current];
        } else if (line.startsWith("! ")) {
            ADD_FAILURE() << line.toStdString();
        } else if (!line.isEmpty()) {
            const QList<QByteArray> ends = line.split(' ');
            html[current].emplace_back(ends[0].toLongLong(), ends[1].toLongLong());
        }
    }
    ASSERT_EQ(html.size(), static_cast<std::size_t>(files.size()));

    qsizetype checked = 0, differing = 0;
    for (const QString& path : files) {
        const QByteArray text = Read(path);
        std::vector<bool> phpHtml(static_cast<std::size_t>(text.size()), false);
        for (const auto& [start, end] : html[path])
            std::fill(phpHtml.begin() + start, phpHtml.begin() + end, true);
        const std::vector<std::uint8_t> ours = ColourBytes(std::string_view(text.constData(), text.size()));
        qsizetype first = -1, here = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            if (IsHtmlSlot(ours[i]) != phpHtml[i] && here++ == 0)
                first = i;
        checked += text.size();
        differing += here;
        EXPECT_EQ(here, 0) << path.toStdString() << ": " << here << " bytes on the other side, the first at " << first
                           << " in \"" << text.mid(std::max<qsizetype>(0, first - 20), 40).toStdString() << "\"";
    }
    EXPECT_EQ(differing, 0) << "of " << checked << " bytes checked";
    EXPECT_GT(checked, 10000);
}

TEST(PhpLexerOracle, GrammarSlotsAreThoseOfPhpsTokens)
{
    if (QProcess::execute("php", {"-r", "exit(0);"}) != 0)
        GTEST_SKIP() << "php (the command-line interpreter) is not installed; scripts/deps.sh installs it";
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QByteArray text;
    std::vector<std::uint8_t> ours;
    qsizetype checked = 0, differing = 0;
    for (const QByteArray& line : PhpSays("php_slots.php", OracleFiles(tmp))) {
        if (line.startsWith("= ")) {
            text = Read(QString::fromUtf8(line.mid(2)));
            ours = ColourBytes(std::string_view(text.constData(), text.size()), ColourRules::Grammar);
            continue;
        }
        const QList<QByteArray> f = line.split(' ');
        if (f.size() != 3)
            continue;
        const int slot = f[0].toInt();
        const qsizetype start = f[1].toLongLong(), end = f[2].toLongLong();
        ASSERT_LE(end, text.size());
        for (qsizetype i = start; i < end; ++i, ++checked)
            if (ours[i] != slot && differing++ < 10)
                ADD_FAILURE() << "slot " << int(ours[i]) << " for " << slot << " at " << i << " in \""
                              << text.mid(start, end - start).toStdString() << "\" of \"" << text.toStdString() << "\"";
    }
    EXPECT_EQ(differing, 0) << "of " << checked << " bytes checked";
    EXPECT_GT(checked, 10000);
}
