#include <gtest/gtest.h>

#include "core/PrintLayout.h"

namespace {
// Ten units per character, as a monospace font would measure.
int Mono(const QString& s) { return static_cast<int>(s.size()) * 10; }
} // namespace

TEST(PrintLayout, WideLinesContinueOnTheNextPrintedLine)
{
    EXPECT_EQ(PrintLayout::Wrap(QStringLiteral("abcdefghij"), 40, Mono),
              QStringList({"abcd", "efgh", "ij"}));
    EXPECT_EQ(PrintLayout::Wrap(QStringLiteral("abcd"), 40, Mono), QStringList({"abcd"}));
    EXPECT_EQ(PrintLayout::Wrap(QString(), 40, Mono), QStringList({QString()}));
    // A page narrower than one character still prints every character.
    EXPECT_EQ(PrintLayout::Wrap(QStringLiteral("ab"), 5, Mono), QStringList({"a", "b"}));
}

TEST(PrintLayout, EveryPageTheTextNeeds)
{
    QStringList lines;
    for (int i = 0; i < 25; ++i)
        lines << QString::number(i);
    const auto pages = PrintLayout::Paginate(lines, 1000, 10, Mono);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].first(), "0");
    EXPECT_EQ(pages[2], QStringList({"20", "21", "22", "23", "24"}));
    EXPECT_EQ(PrintLayout::Paginate({}, 100, 10, Mono).size(), 1u);
    // A wrapped line's pieces may cross a page boundary.
    const auto wrapped = PrintLayout::Paginate({"aaaaaaaaaa"}, 30, 2, Mono);
    ASSERT_EQ(wrapped.size(), 2u);
    EXPECT_EQ(wrapped[1], QStringList({"aaa", "a"}));
}

TEST(PrintLayout, TabsBecomeSpacesToTheNextStop)
{
    EXPECT_EQ(PrintLayout::ExpandTabs(QStringLiteral("\tx"), 4), "    x");
    EXPECT_EQ(PrintLayout::ExpandTabs(QStringLiteral("ab\tc\t"), 4), "ab  c   ");
}
