#include "Token.h"

#include "ByteClass.h"

CKeyword::CKeyword(std::string text, std::int32_t kind)
    : m_strText(std::move(text)), m_nKind(kind), m_bAlnum(!m_strText.empty())
{
    for (unsigned char c : m_strText)
        if (!ByteClass::IsAlnum(c))
            m_bAlnum = false;
}
