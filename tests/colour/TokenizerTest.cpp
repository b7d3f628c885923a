// The tokenizer's rules: skipped white space, strings, CR LF, numbers, keywords
// at word boundaries, and the cursor.
#include "Tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Tok {
    std::int32_t kind, start, end;
    bool operator==(const Tok&) const = default;
};

void PrintTo(const Tok& t, std::ostream* os) { *os << "{" << t.kind << "," << t.start << "," << t.end << "}"; }

std::vector<Tok> Tokens(CTokenizer& t, std::string_view text)
{
    t.Tokenize(text);
    std::vector<Tok> out;
    for (const CToken& k : t.Tokens())
        out.push_back({k.m_nKind, k.m_nStart, k.m_nEnd});
    return out;
}

std::vector<Tok> Plain(std::string_view text)
{
    CTokenizer t;
    return Tokens(t, text);
}

std::int32_t OnlyKind(CTokenizer& t, std::string_view text)
{
    auto toks = Tokens(t, text);
    EXPECT_EQ(toks.size(), 2u) << text;
    return toks.empty() ? -1 : toks.front().kind;
}

} // namespace

TEST(Tokenizer, EmptyAndBlankTextsHoldOnlyTheEnd)
{
    EXPECT_EQ(Plain(""), (std::vector<Tok>{{TK_END, 0, 0}}));
    EXPECT_EQ(Plain(" \t\r\n\v\f\r\n"), (std::vector<Tok>{{TK_END, 8, 8}}));
}

TEST(Tokenizer, EdgeWhiteSpaceMakesNoTokensAndShiftsNothing)
{
    EXPECT_EQ(Plain("\r\n\n  ab\r\n \n"), (std::vector<Tok>{{TK_IDENTIFIER, 5, 7}, {TK_END, 11, 11}}));
    // Inside the text a lone LF, a lone CR and a vertical tab are single other bytes.
    EXPECT_EQ(Plain("a\nb\rc\vd\r\ne"),
              (std::vector<Tok>{{TK_IDENTIFIER, 0, 1}, {TK_OTHER, 1, 2}, {TK_IDENTIFIER, 2, 3}, {TK_OTHER, 3, 4},
                                {TK_IDENTIFIER, 4, 5}, {TK_OTHER, 5, 6}, {TK_IDENTIFIER, 6, 7}, {TK_NEWLINE, 7, 9},
                                {TK_IDENTIFIER, 9, 10}, {TK_END, 10, 10}}));
    EXPECT_EQ(Plain("a \t b"), (std::vector<Tok>{{TK_IDENTIFIER, 0, 1}, {TK_IDENTIFIER, 4, 5}, {TK_END, 5, 5}}));
}

TEST(Tokenizer, StringsHaveNoEscapeAndRunToTheEndWhenOpen)
{
    EXPECT_EQ(Plain(R"(x"a\"b")"),
              (std::vector<Tok>{{TK_IDENTIFIER, 0, 1}, {TK_STRING, 1, 5}, {TK_IDENTIFIER, 5, 6}, {TK_STRING, 6, 7},
                                {TK_END, 7, 7}}));
    EXPECT_EQ(Plain("\"\"\"ab \r\n"), (std::vector<Tok>{{TK_STRING, 0, 2}, {TK_STRING, 2, 8}, {TK_END, 8, 8}}));
    // A string spans line breaks; nothing inside it is a token.
    EXPECT_EQ(Plain("\"1\r\n<?\" 2"), (std::vector<Tok>{{TK_STRING, 0, 7}, {TK_INTEGER, 8, 9}, {TK_END, 9, 9}}));
}

TEST(Tokenizer, NumbersFollowTheirValue)
{
    CTokenizer t;
    EXPECT_EQ(OnlyKind(t, "0"), TK_INTEGER);
    EXPECT_EQ(OnlyKind(t, "007"), TK_INTEGER);
    EXPECT_EQ(OnlyKind(t, "1.5"), TK_REAL);
    EXPECT_EQ(OnlyKind(t, "7."), TK_REAL);
    EXPECT_EQ(OnlyKind(t, ".5"), TK_REAL);
    EXPECT_EQ(OnlyKind(t, "1.2.3"), TK_REAL);
    EXPECT_EQ(OnlyKind(t, "0.0"), TK_OTHER);
    EXPECT_EQ(OnlyKind(t, "."), TK_OTHER);
    EXPECT_EQ(OnlyKind(t, "..."), TK_OTHER);
    EXPECT_EQ(OnlyKind(t, "0.0.5"), TK_OTHER); // reading stops at the second point
    EXPECT_EQ(OnlyKind(t, "..5"), TK_OTHER);
    EXPECT_EQ(OnlyKind(t, "0." + std::string(400, '0') + "1"), TK_OTHER); // below the smallest double
    EXPECT_EQ(OnlyKind(t, "0." + std::string(250, '0') + "1"), TK_REAL);
    // A number ends at the first byte that is neither digit nor point.
    EXPECT_EQ(Plain("12ab"), (std::vector<Tok>{{TK_INTEGER, 0, 2}, {TK_IDENTIFIER, 2, 4}, {TK_END, 4, 4}}));
}

TEST(Tokenizer, WordsAreLettersThenLettersDigitsUnderscores)
{
    EXPECT_EQ(Plain("a1_b _x"),
              (std::vector<Tok>{{TK_IDENTIFIER, 0, 4}, {TK_OTHER, 5, 6}, {TK_IDENTIFIER, 6, 7}, {TK_END, 7, 7}}));
    // Bytes of 0x80 and above are other bytes, one token each.
    EXPECT_EQ(Plain("a\xE4\xB8\xADz"), (std::vector<Tok>{{TK_IDENTIFIER, 0, 1}, {TK_OTHER, 1, 2}, {TK_OTHER, 2, 3},
                                                         {TK_OTHER, 3, 4}, {TK_IDENTIFIER, 4, 5}, {TK_END, 5, 5}}));
}

TEST(Tokenizer, KeywordsKeepLongestFirstInTheTable)
{
    CTokenizer t;
    t.AddKeyword("=", 8);
    t.AddKeyword("<?php", 9);
    t.AddKeyword("==", 10);
    t.AddKeyword("<?", 11);
    t.AddKeyword("!=", 12);
    std::vector<std::string> order;
    for (const CKeyword& k : t.Keywords())
        order.push_back(k.m_strText);
    EXPECT_EQ(order, (std::vector<std::string>{"<?php", "==", "<?", "!=", "="}));
    EXPECT_EQ(Tokens(t, "===<?phpx<?="),
              (std::vector<Tok>{{10, 0, 2}, {8, 2, 3}, {9, 3, 8}, {TK_IDENTIFIER, 8, 9}, {11, 9, 11}, {8, 11, 12},
                                {TK_END, 12, 12}}));
}

TEST(Tokenizer, WordBoundaryRejectsKeywordsThatStartLongerWords)
{
    CTokenizer t;
    t.AddKeyword("if", 8);
    t.AddKeyword("else", 9);
    t.AddKeyword("elseif", 10);
    EXPECT_EQ(OnlyKind(t, "ifx"), TK_IDENTIFIER);
    EXPECT_EQ(OnlyKind(t, "if1"), TK_IDENTIFIER);
    EXPECT_EQ(OnlyKind(t, "gift"), TK_IDENTIFIER);
    EXPECT_EQ(OnlyKind(t, "if"), 8);
    EXPECT_EQ(OnlyKind(t, "elseif"), 10);
    EXPECT_EQ(OnlyKind(t, "IF"), TK_IDENTIFIER);
    EXPECT_EQ(Tokens(t, "if_x"),
              (std::vector<Tok>{{8, 0, 2}, {TK_OTHER, 2, 3}, {TK_IDENTIFIER, 3, 4}, {TK_END, 4, 4}}));
    EXPECT_EQ(Tokens(t, "else(if)"),
              (std::vector<Tok>{{9, 0, 4}, {TK_OTHER, 4, 5}, {8, 5, 7}, {TK_OTHER, 7, 8}, {TK_END, 8, 8}}));
    // "elsei" is a word: the rejected "else" leaves no shorter keyword.
    EXPECT_EQ(OnlyKind(t, "elsei"), TK_IDENTIFIER);
}

TEST(Tokenizer, NonWordKeywordsAreNeverRejectedAndPointsNeverMatch)
{
    CTokenizer t;
    t.AddKeyword("->", 8);
    t.AddKeyword(".", 9);
    t.AddKeyword("\"", 10);
    t.AddKeyword("x-", 11);
    EXPECT_EQ(Tokens(t, "a->b.c"), (std::vector<Tok>{{TK_IDENTIFIER, 0, 1}, {8, 1, 3}, {TK_IDENTIFIER, 3, 4},
                                                    {TK_OTHER, 4, 5}, {TK_IDENTIFIER, 5, 6}, {TK_END, 6, 6}}));
    EXPECT_EQ(Tokens(t, "x-y"), (std::vector<Tok>{{11, 0, 2}, {TK_IDENTIFIER, 2, 3}, {TK_END, 3, 3}}));
    EXPECT_EQ(OnlyKind(t, "\"q\""), TK_STRING);
    // A keyword that would run past the end does not match.
    EXPECT_EQ(Tokens(t, "->-"), (std::vector<Tok>{{8, 0, 2}, {TK_OTHER, 2, 3}, {TK_END, 3, 3}}));
}

TEST(Tokenizer, CursorWalksTheListAndStaysPastTheEnd)
{
    CTokenizer t;
    EXPECT_EQ(t.Peek().m_nKind, TK_NONE);
    EXPECT_EQ(t.Next().m_nKind, TK_NONE);
    t.Tokenize("a 1");
    EXPECT_EQ(t.Peek().m_nKind, TK_IDENTIFIER);
    EXPECT_EQ(t.Next().m_nKind, TK_IDENTIFIER);
    const CToken one = t.Next();
    EXPECT_EQ(one.m_nKind, TK_INTEGER);
    EXPECT_EQ(one.m_nStart, 2);
    EXPECT_EQ(t.Next().m_nKind, TK_END);
    EXPECT_EQ(t.Peek().m_nKind, TK_NONE);
    EXPECT_EQ(t.Next().m_nKind, TK_NONE);
    // A new text starts over and leaves nothing of the previous list.
    t.Tokenize("b");
    EXPECT_EQ(t.Tokens().size(), 2u);
    EXPECT_EQ(t.Next().m_nKind, TK_IDENTIFIER);
}
