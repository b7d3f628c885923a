#include "PHPRegionTokenizer.h"

#include "HtmlTokenizer.h"
#include "PHPTokenizer.h"
#include "StyleSlot.h"

CPHPRegionTokenizer::CPHPRegionTokenizer(CStyleTarget& editor) : CEditTokenizer(editor)
{
    AddKeyword("<?php", RK_OPEN_PHP);
    AddKeyword("<?", RK_OPEN_SHORT);
    AddKeyword("?>", RK_CLOSE);
}

void CPHPRegionTokenizer::Recolour()
{
    const std::string_view text = Editor().Text();
    Editor().BeginPass();
    ColourText(text);
    Editor().EndPass();
}

void CPHPRegionTokenizer::ColourText(std::string_view text)
{
    // One colourer of each language for the whole pass: their tables are built once.
    CPHPTokenizer php(Editor());
    CHtmlTokenizer html(Editor());

    std::int32_t htmlStart = 0;
    std::int32_t phpStart = 0;
    std::int32_t openLen = 0;
    bool inPhp = false;

    Tokenize(text);
    while (Peek().m_nKind != TK_END) {
        const CToken t = SkipNewlines();
        if (t.m_nKind == TK_END)
            break;
        if (t.m_nKind == RK_OPEN_PHP || t.m_nKind == RK_OPEN_SHORT) {
            if (!inPhp) {
                phpStart = t.m_nStart;
                ApplySlot(SLOT_HTML_ELEMENT, htmlStart, phpStart);
                html.ColourText(text.substr(htmlStart, phpStart - htmlStart), htmlStart);
                openLen = t.m_nEnd - t.m_nStart;
            }
            inPhp = true;
        } else if (t.m_nKind == RK_CLOSE) {
            const std::int32_t closeEnd = t.m_nEnd;
            if (inPhp) {
                const std::int32_t codeStart = phpStart + openLen;
                const std::int32_t codeEnd = closeEnd - 2;
                ApplySlot(SLOT_PHP_DELIMITER, phpStart, closeEnd);
                ApplySlot(SLOT_PHP_IDENTIFIER, codeStart, codeEnd);
                php.ColourText(text.substr(codeStart, codeEnd - codeStart), codeStart);
                htmlStart = closeEnd;
            }
            inPhp = false;
        }
        Next();
    }
    const auto n = static_cast<std::int32_t>(text.size());
    ApplySlot(SLOT_HTML_ELEMENT, htmlStart, n);
    html.ColourText(text.substr(htmlStart), htmlStart);
}
