// PHP colouring: the slot of every table entry and of the built-in kinds, and
// the behaviour that follows from colouring token by token.
#include "ColourTestSupport.h"
#include "StyleRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using ColourTest::PhpSlots;

TEST(PHPColour, TableHoldsFiftySixEntriesInOrder)
{
    CStyleRecorder rec;
    CPHPTokenizer php(rec);
    ASSERT_EQ(php.Keywords().size(), 56u);
    // Longest first: the two eight-byte words lead, the one-byte entries close the table.
    EXPECT_EQ(php.Keywords().front().m_strText, "function");
    EXPECT_EQ(php.Keywords()[1].m_strText, "continue");
    EXPECT_EQ(php.Keywords().back().m_strText, "@");
    std::set<std::int32_t> kinds;
    for (const CKeyword& k : php.Keywords())
        kinds.insert(k.m_nKind);
    EXPECT_EQ(kinds.size(), 56u);
    EXPECT_EQ(*kinds.begin(), 8);
    EXPECT_EQ(*kinds.rbegin(), 65);
    EXPECT_FALSE(kinds.count(22) || kinds.count(26));
}

TEST(PHPColour, EveryEntryGetsTheSlotOfItsClass)
{
    const char* keywords[] = {"if", "else", "echo", "while", "true", "false", "function", "class", "new",
                              "return", "elseif", "endif", "do", "for", "break", "continue", "require", "include"};
    const char* comments[] = {"/*", "*/", "#", "//"};
    const char* operators[] = {"->", "+", "-", "*", "/", "%", "=", "&", "|", "~", "and", "&&", "or", "||", "xor",
                               "!", "==", "!=", "<", ">", "<=", ">=", "@", "=>", "+=", "-=", "*=", "/=", "%=",
                               "^=", "&=", "|="};
    for (const char* k : keywords)
        EXPECT_EQ(PhpSlots(k), std::string(std::strlen(k), '4')) << k;
    for (const char* k : comments)
        EXPECT_EQ(PhpSlots(k), std::string(std::strlen(k), '6')) << k;
    for (const char* k : operators)
        EXPECT_EQ(PhpSlots(k), std::string(std::strlen(k), '8')) << k;
    // The variable marker keeps the code's slot; the point never reaches the table.
    EXPECT_EQ(PhpSlots("$"), "5");
    EXPECT_EQ(PhpSlots("."), "5");
}

TEST(PHPColour, StringsNumbersAndOtherBytes)
{
    EXPECT_EQ(PhpSlots("echo \"a b\".$b; // done"), "4444" "5" "77777" "5" "55" "5" "5" "66" "5" "5555");
    EXPECT_EQ(PhpSlots("3.14 0.5 0.0 007 1.2.3"), "9999" "5" "999" "5" "555" "5" "999" "5" "99999");
    EXPECT_EQ(PhpSlots("\"a\\\"b\""), "7777" "5" "7");
    EXPECT_EQ(PhpSlots("(){}[];,?:^'\xE4\xB8\xAD"), std::string(15, '5'));
}

TEST(PHPColour, StatementsFromTheEditorsDailyUse)
{
    EXPECT_EQ(PhpSlots("if($x==1){return true;}"), "44" "555" "88" "9" "55" "444444" "5" "4444" "55");
    EXPECT_EQ(PhpSlots("elseif else if endif;"), "444444" "5" "4444" "5" "44" "5" "44444" "5");
    EXPECT_EQ(PhpSlots("/* echo */"), "66" "5" "4444" "5" "66");
    EXPECT_EQ(PhpSlots("# comment"), "6" "5" "5555555");
    EXPECT_EQ(PhpSlots("// if it fails"), "66" "5" "44" "555555555");
    EXPECT_EQ(PhpSlots("$a = 'x';"), "555855555");
    EXPECT_EQ(PhpSlots("$i++;$i+=2;"), "55885" "55889" "5");
    EXPECT_EQ(PhpSlots("$s .= $t"), "555" "58" "555");
    EXPECT_EQ(PhpSlots("$o->new"), "55" "88" "444");
}

TEST(PHPColour, KeywordsMatchCaseAndWordBoundaries)
{
    EXPECT_EQ(PhpSlots("ECHO echo True"), "5555" "5" "4444" "5" "5555");
    EXPECT_EQ(PhpSlots("foreach order endwhile forward"), std::string(30, '5'));
    EXPECT_EQ(PhpSlots("include_once require_once"), "4444444" "55555" "5" "4444444" "55555");
    EXPECT_EQ(PhpSlots("$class"), "5" "44444");
    EXPECT_EQ(PhpSlots("a and b or c xor d And"), "5" "5" "888" "5" "5" "5" "88" "5" "5" "5" "888" "5" "5" "5" "555");
}

TEST(PHPColour, LongerOperatorsWinAndUnknownOnesSplit)
{
    EXPECT_EQ(PhpSlots("=== !== ++ << => ->"), "888" "5" "888" "5" "88" "5" "88" "5" "88" "5" "88");
    CStyleRecorder rec;
    CPHPTokenizer php(rec);
    php.ColourText("===", 10);
    EXPECT_EQ(rec.Calls(), (std::vector<CStyleRecorder::Call>{{8, 10, 12}, {8, 12, 13}}));
}
