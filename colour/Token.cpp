#include "Token.h"

#include "ByteClass.h"

#include <cstring>
#include <memory>
#include <type_traits>

CKeyword::CKeyword(std::string text, std::int32_t kind)
    : m_strText(std::move(text)), m_nKind(kind), m_bAlnum(!m_strText.empty())
{
    for (unsigned char c : m_strText)
        if (!ByteClass::IsAlnum(c))
            m_bAlnum = false;
}

// Tokens are plain values: raw storage is filled by placement and copied by bytes.
static_assert(std::is_trivially_copyable_v<CToken> && std::is_trivially_destructible_v<CToken>);

CTokenList::~CTokenList()
{
    if (m_pTokens)
        std::allocator<CToken>().deallocate(m_pTokens, m_nCapacity);
}

CToken* CTokenList::Grow(std::size_t kept, std::size_t capacity)
{
    if (capacity <= m_nCapacity)
        return m_pTokens;
    CToken* fresh = std::allocator<CToken>().allocate(capacity);
    if (kept)
        std::memcpy(static_cast<void*>(fresh), m_pTokens, kept * sizeof(CToken));
    if (m_pTokens)
        std::allocator<CToken>().deallocate(m_pTokens, m_nCapacity);
    m_pTokens = fresh;
    m_nCapacity = capacity;
    if (m_nSize > kept)
        m_nSize = kept;
    return fresh;
}
