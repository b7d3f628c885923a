// The fast scan of the HTML colourer reports exactly the delimiter and string
// tokens that the table-driven tokenizer produces.
#include "HtmlTokenizer.h"
#include "MarkupScan.h"
#include "StyleRecorder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Found = std::vector<std::tuple<std::int32_t, std::size_t, std::size_t>>;

Found FromTokenizer(CTokenizer& t, std::string_view text)
{
    t.Tokenize(text);
    Found out;
    for (const CToken& k : t.Tokens())
        if (k.m_nKind == TK_STRING || k.m_nKind >= TK_FIRST_KEYWORD)
            out.emplace_back(k.m_nKind, k.m_nStart, k.m_nEnd);
    return out;
}

template <class Scan>
Found FromScan(Scan scan, std::string_view text)
{
    Found out;
    scan(text, [&](std::int32_t kind, std::size_t s, std::size_t e) { out.emplace_back(kind, s, e); });
    return out;
}

void ExpectSame(std::string_view text)
{
    CStyleRecorder rec;
    CHtmlTokenizer html(rec);
    EXPECT_EQ(FromScan([](auto t, auto f) { MarkupScan::HtmlTokens(t, f); }, text), FromTokenizer(html, text))
        << "html scan of \"" << text << "\"";
}

} // namespace

TEST(MarkupScan, AgreesWithTheTokenizerOnTheEdgeCases)
{
    for (const char* text : {"", "<", "?", "\"", "<?", "<?p", "<?ph", "<?php", "<?phpx", "?\?>", "<?\?>", "<?>",
                             "/>", "</>", "//>", "a\"<?\"?>", "\"open <?php", " \t<?php ?>\r\n", "x=\"1\"/>",
                             "1.5<?=2?>", "\r\"\r\n\"", "é<?php é ?>é"})
        ExpectSame(text);
}

TEST(MarkupScan, AgreesWithTheTokenizerOnTheExamplePages)
{
    const QDir dir(QStringLiteral(QUILLET_TEST_DATA_DIR "/colour"));
    for (const QString& page : dir.entryList({"*.php"}, QDir::Files)) {
        QFile f(dir.filePath(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        ExpectSame(std::string_view(b.constData(), b.size()));
    }
}

TEST(MarkupScan, AgreesWithTheTokenizerOnRandomMarkup)
{
    // Short texts over the bytes that matter, plus letters, digits, points and
    // line breaks; long enough runs exercise the sixteen-byte steps.
    const std::string alphabet = "<?>/=\"phpa1. \t\r\n_\x80";
    std::mt19937 rng(20040601);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int k = 0; k < 3000; ++k) {
        std::string text;
        for (int n = length(rng); n > 0; --n)
            text += alphabet[pick(rng)];
        ExpectSame(text);
        if (HasFailure())
            break;
    }
}
