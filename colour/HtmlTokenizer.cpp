#include "HtmlTokenizer.h"

#include "StyleSlot.h"

CHtmlTokenizer::CHtmlTokenizer(CStyleTarget& editor) : CEditTokenizer(editor)
{
    AddKeyword("<", HK_LT);
    AddKeyword(">", HK_GT);
    AddKeyword("/>", HK_SLASH_GT);
    AddKeyword("=", HK_EQUALS);
}

void CHtmlTokenizer::ColourText(std::string_view part, std::int32_t offset)
{
    Tokenize(part);
    while (Peek().m_nKind != TK_END) {
        const CToken t = SkipNewlines();
        if (t.m_nKind == TK_END)
            break;
        switch (t.m_nKind) {
        case HK_LT:
        case HK_GT:
        case HK_SLASH_GT:
        case HK_EQUALS:
            ApplySlot(SLOT_HTML_DELIMITER, offset + t.m_nStart, offset + t.m_nEnd);
            break;
        case TK_STRING:
            ApplySlot(SLOT_HTML_ATTRVALUE, offset + t.m_nStart, offset + t.m_nEnd);
            break;
        default:
            break;
        }
        Next();
    }
}
