// The tokenizer against a plain transcription of its rules, byte by byte, on
// random texts: the fast scanner must produce the very same token lists. The
// region split likewise against its rules walked over the table's tokens.
#include "PHPRegionTokenizer.h"
#include "StyleRecorder.h"
#include "TokenizerReference.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using TokenizerReference::Reference;
using TokenizerReference::ReferenceSplit;

void ExpectSameTokens(CTokenizer& t, const std::string& text)
{
    t.Tokenize(text);
    const std::vector<CToken> expected = Reference(t.Keywords(), text);
    ASSERT_EQ(t.Tokens().size(), expected.size()) << "\"" << text << "\"";
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const CToken& a = t.Tokens()[k];
        const CToken& b = expected[k];
        ASSERT_TRUE(a.m_nKind == b.m_nKind && a.m_nStart == b.m_nStart && a.m_nEnd == b.m_nEnd)
            << "token " << k << " of \"" << text << "\": got " << a.m_nKind << " " << a.m_nStart << ".."
            << a.m_nEnd << ", want " << b.m_nKind << " " << b.m_nStart << ".." << b.m_nEnd;
    }
}

std::string RandomText(std::mt19937& rng, const std::vector<std::string>& pieces, int count)
{
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string s;
    for (int k = 0; k < count; ++k)
        s += pieces[pick(rng)];
    return s;
}

} // namespace

TEST(TokenizerReference, RegionSplitOnRandomPages)
{
    // Tags, strings, comments and heredocs that hide them, and code and markup around them; about
    // half of the texts end inside a region.
    const std::vector<std::string> pieces = {"<?php", "<?", "?>", "\"", "\"<?php\"", "<p>", "</p>", "x", "$a",
                                             " ", "\r\n", "\n", "echo", "if", "1", "1.5", "=", "<", "?", ">",
                                             "php", "//", "#", "'", "\xE4\xB8\xAD", "/*", "*/", "`", "<?PHP",
                                             "<<<E\n", "<<<'E'\n", "E", "{$", "${", "}", "\\", "#[", "\r", "??"};
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> count(0, 30);
    int endsInRegion = 0;
    for (int k = 0; k < 4000 && !HasFailure(); ++k) {
        const std::string text = RandomText(rng, pieces, count(rng));
        CStyleRecorder engine(text), reference(text);
        CPHPRegionTokenizer(engine).ColourText(engine.Text());
        endsInRegion += ReferenceSplit(reference, text);
        EXPECT_EQ(engine.Calls(), reference.Calls()) << "\"" << text << "\"";
    }
    EXPECT_GT(endsInRegion, 100) << "too few texts end inside a region to test that case";
}

TEST(TokenizerReference, AllThreeTablesOnRandomCode)
{
    // Keywords and their near misses, word and number pieces, white space,
    // quotes, line breaks and high bytes; some pieces are long enough to
    // cross the scanner's sixteen-byte steps.
    const std::vector<std::string> pieces = {
        "if", "else", "elseif", "endif", "echo", "ifx", "_", "x", "Q9", "abcdefghijklmnopq_rst", "and", "or",
        "xor", "$", "/*", "*/", "//", "/", "#", "->", "-", "=", "==", "=>", "!", "!=", "<", "<=", "<?", "<?php",
        "?>", "?", ">", "/>", "&", "&&", "|", "||", "^=", ".", "..", "0", "0.0", "1.5", "007", "12ab", " ", "  ",
        "\t", "\r\n", "\r", "\n", "\v", "\f", "\"", "\"s\"", "'", "(", ")", ";", "\xE4\xB8\xAD", "\x80", "%=",
        "function", "functions", "continue", "include_once", "True", "new"};
    CStyleRecorder rec;
    CPHPTokenizer php(rec);
    CHtmlTokenizer html(rec);
    CPHPRegionTokenizer region(rec);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> count(0, 24);
    for (int k = 0; k < 4000 && !HasFatalFailure(); ++k) {
        const std::string text = RandomText(rng, pieces, count(rng));
        ExpectSameTokens(php, text);
        ExpectSameTokens(html, text);
        ExpectSameTokens(region, text);
    }
}

TEST(TokenizerReference, SlicesOfTokensJoinToTheWholeList)
{
    // Long texts, so that the scan stops many times at its batch boundaries:
    // the slices, one after the other, must be the whole list exactly.
    const std::vector<std::string> pieces = {"<", "?", "<?", "if", "ifx", "\"s\"", "\"", " ", "\r\n", "\n",
                                             "12.5", "007", "abc_d", "->", "/*", "*/", "==", "\xE4\xB8\xAD"};
    CStyleRecorder rec;
    CPHPTokenizer php(rec);
    std::mt19937 rng(11);
    for (const std::size_t maxTokens : {std::size_t{1}, std::size_t{5000}, std::size_t{70000}}) {
        const std::string text = " " + RandomText(rng, pieces, 60000) + " ";
        php.Tokenize(text);
        const std::vector<CToken> whole(php.Tokens().begin(), php.Tokens().end());
        std::vector<CToken> joined;
        std::size_t from = 0;
        int slices = 0;
        do {
            from = php.TokenizePart(text, from, maxTokens);
            ASSERT_LE(php.Tokens().size(), maxTokens + 4097);
            joined.insert(joined.end(), php.Tokens().begin(), php.Tokens().end());
            ++slices;
        } while (from < text.size());
        ASSERT_EQ(joined.size(), whole.size()) << "maxTokens " << maxTokens;
        for (std::size_t k = 0; k < whole.size(); ++k)
            ASSERT_TRUE(joined[k].m_nKind == whole[k].m_nKind && joined[k].m_nStart == whole[k].m_nStart &&
                        joined[k].m_nEnd == whole[k].m_nEnd)
                << "token " << k << " of " << whole.size() << ", maxTokens " << maxTokens;
        if (maxTokens < 70000)
            EXPECT_GT(slices, 2) << "the text was not cut, maxTokens " << maxTokens;
    }
}

TEST(TokenizerReference, KeywordsOfEveryShape)
{
    CTokenizer t;
    for (const char* k : {"ab", "abc", "a-", "-a", "--", "9", "\r", "\"", " x"})
        t.AddKeyword(k, 8 + static_cast<int>(t.Keywords().size()));
    const std::vector<std::string> pieces = {"a", "b", "c", "-", "9", "\r", "\n", " ", "\"", "x", "_"};
    std::mt19937 rng(11);
    for (int k = 0; k < 3000 && !HasFatalFailure(); ++k)
        ExpectSameTokens(t, RandomText(rng, pieces, k % 30));
}
