#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "core/DialogPlacement.h"
#include "core/FindHistory.h"
#include "core/TextSearch.h"
#include "core/Utf8Text.h"
#include "core/PhpLintResult.h"

TEST(FindHistory, NewestFirstWithoutRepeatsAndAtMostTwenty)
{
    QStringList h = FindHistory::Add({"b", "a"}, "a");
    EXPECT_EQ(h, QStringList({"a", "b"}));
    EXPECT_EQ(FindHistory::Add(h, ""), h);
    for (int i = 0; i < 30; ++i)
        h = FindHistory::Add(h, QString::number(i));
    ASSERT_EQ(h.size(), FindHistory::kMaxEntries);
    EXPECT_EQ(h.first(), "29");
    EXPECT_EQ(h.last(), "10");
    // What the settings file holds may be anything.
    QStringList stored = {"", "x", "x", QString(5000, u'y')};
    for (int i = 0; i < 40; ++i)
        stored << QStringLiteral("s%1").arg(i);
    const QStringList clean = FindHistory::Clean(stored);
    EXPECT_EQ(clean.size(), FindHistory::kMaxEntries);
    EXPECT_EQ(clean.first(), "x");
    EXPECT_EQ(clean.at(1), "s0");
}

TEST(PhpLintResult, CleanErrorsAndOtherMessages)
{
    struct Case
    {
        const char* output;
        int exitCode;
        bool clean;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"No syntax errors detected in Standard input code\n", 0, true, 0, ""},
        {"PHP Parse error:  syntax error, unexpected token \"}\" in Standard input code on line 3\n"
         "\nParse error: syntax error, unexpected token \"}\" in Standard input code on line 3\n"
         "Errors parsing Standard input code\n",
         255, false, 3, "Parse error: syntax error, unexpected token \"}\""},
        {"PHP Fatal error:  Cannot redeclare f() (previously declared in Standard input code:2) in "
         "Standard input code on line 4\n",
         255, false, 4, "Fatal error: Cannot redeclare f() (previously declared in Standard input code:2)"},
        {"Could not open input file\n", 1, false, 0, "Could not open input file"},
        // A zero exit code without php's clean verdict is no verdict.
        {"", 0, false, 0, ""},
    };
    for (const Case& c : cases) {
        const CPhpLintResult r = ParsePhpLintOutput(QString::fromUtf8(c.output), c.exitCode);
        EXPECT_EQ(r.bClean, c.clean) << c.output;
        EXPECT_EQ(r.nLine, c.line) << c.output;
        if (!c.clean)
            EXPECT_EQ(r.strMessage, QString::fromUtf8(c.message)) << c.output;
    }
}

// Positions map between bytes and UTF-16 as QString's own decoder counts
// them; a byte that is no UTF-8 stands for one character of its own.
TEST(Utf8Text, MapsPositionsBothWays)
{
    const QList<QByteArray> chars = {"a", "\n", "\xe4\xb8\xad", "\xc3\xa9", "\xf0\x9f\x98\x80", "\xff", "\xe4\xb8"};
    QRandomGenerator rng(7);
    for (int i = 0; i < 60; ++i) {
        QByteArray bytes;
        QList<qsizetype> starts;
        const bool valid = i % 2 == 0;
        for (int n = rng.bounded(9000); n > 0; --n) {
            starts << bytes.size();
            bytes += chars.at(rng.bounded(valid ? 5 : chars.size()));
        }
        const CUtf8Text text(bytes);
        if (valid)
            ASSERT_EQ(text.Text(), QString::fromUtf8(bytes));
        for (qsizetype k = 0; k < starts.size(); k += 1 + rng.bounded(50)) {
            const qsizetype unit = text.ToUnit(starts.at(k));
            if (valid)
                EXPECT_EQ(unit, QString::fromUtf8(bytes.left(starts.at(k))).size());
            EXPECT_EQ(text.ToByte(unit), starts.at(k));
        }
    }
}

// A search that goes on too long without finding anything gives up and says
// so (no time passes here: the time allowed is none).
TEST(TextSearch, GivesUpWhenItsTimeRunsOutBetweenStretches)
{
    CSearchPattern pattern;
    pattern.strText = QStringLiteral("needle");
    const QRegularExpression re = TextSearch::Build(pattern);
    const QString text = QString(10000, u'x') + pattern.strText;
    TextSearch::SetStretchForTests(64, 0);
    EXPECT_EQ(TextSearch::Forward(re, text, 0, false, nullptr), SearchOutcome::TooComplex);
    TextSearch::SetStretchForTests(TextSearch::kStretchUnits);
    EXPECT_EQ(TextSearch::Forward(re, text, 0, false, nullptr), SearchOutcome::Found);
}

// The find dialog moves off the match it found, and only then; wherever it
// goes it covers nothing of the match and stays on the screen when it can.
TEST(DialogPlacement, TheMatchStaysVisible)
{
    const QRect screen(0, 0, 1280, 800);
    struct Case
    {
        const char* what;
        QRect dialog, match;
        QPoint expected;
    };
    const QList<Case> cases = {
        {"not covering: stays", {100, 100, 400, 200}, {600, 150, 50, 16}, {100, 100}},
        {"covering: just below", {100, 100, 400, 200}, {200, 150, 50, 16}, {100, 174}},
        {"near the bottom: just above", {100, 500, 400, 200}, {200, 650, 50, 16}, {100, 442}},
        {"too tall for either: beside", {100, 0, 400, 790}, {200, 300, 50, 16}, {258, 0}},
        {"off the screen's right: pulled in", {1100, 100, 400, 200}, {1150, 150, 50, 16}, {880, 174}},
    };
    for (const Case& c : cases) {
        const QPoint at = DialogPlacement::KeepClear(c.dialog, c.match, screen);
        EXPECT_EQ(at, c.expected) << c.what;
        const QRect moved(at, c.dialog.size());
        EXPECT_FALSE(moved.intersects(c.match)) << c.what;
    }
}
