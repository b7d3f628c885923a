#include "PHPTokenizer.h"

#include "StyleSlot.h"

namespace {

struct Entry {
    const char* text;
    std::int32_t kind;
};

// The table in the order it is filled; matching order is longest first anyway.
constexpr Entry kEntries[] = {
    {"if", 13}, {"else", 14}, {"$", 8}, {"/*", 9}, {"*/", 10}, {"#", 11}, {"//", 12},
    {"echo", 15}, {"while", 16}, {"true", 17}, {"false", 18}, {"function", 19},
    {"class", 20}, {"new", 21}, {"return", 23}, {"elseif", 24}, {"endif", 25},
    {"do", 27}, {"for", 28}, {"break", 29}, {"continue", 30}, {"require", 31},
    {"include", 32}, {"->", 33}, {"+", 34}, {"-", 35}, {"*", 36}, {"/", 37},
    {"%", 38}, {".", 39}, {"=", 40}, {"&", 41}, {"|", 42}, {"~", 43}, {"and", 44},
    {"&&", 45}, {"or", 46}, {"||", 47}, {"xor", 48}, {"!", 49}, {"==", 50},
    {"!=", 51}, {"<", 52}, {">", 53}, {"<=", 54}, {">=", 55}, {"@", 56}, {"=>", 57},
    {"+=", 58}, {"-=", 59}, {"*=", 60}, {"/=", 61}, {"%=", 62}, {"^=", 63},
    {"&=", 64}, {"|=", 65},
};
static_assert(std::size(kEntries) == 56);

} // namespace

CPHPTokenizer::CPHPTokenizer(CStyleTarget& editor) : CEditTokenizer(editor)
{
    for (const Entry& e : kEntries)
        AddKeyword(e.text, e.kind);
}

namespace {

int SlotOfKindByRules(std::int32_t kind);

// The slot of every kind up to the last operator, looked up per token.
struct SlotTable {
    std::int8_t slot[CPHPTokenizer::PK_LAST_OPERATOR + 1];
    SlotTable()
    {
        for (int k = 0; k <= CPHPTokenizer::PK_LAST_OPERATOR; ++k)
            slot[k] = static_cast<std::int8_t>(SlotOfKindByRules(k));
    }
};
const SlotTable kSlots;

} // namespace

int CPHPTokenizer::SlotOfKind(std::int32_t kind)
{
    return kind >= 0 && kind <= PK_LAST_OPERATOR ? kSlots.slot[kind] : -1;
}

namespace {

int SlotOfKindByRules(std::int32_t kind)
{
    using K = CPHPTokenizer;
    // The rules in the order they are tested; at most one fits.
    if (kind >= K::PK_FIRST_KEYWORD && kind <= K::PK_LAST_KEYWORD && kind != 22 && kind != 26)
        return SLOT_PHP_KEYWORD;
    if (kind >= K::PK_FIRST_COMMENT && kind <= K::PK_LAST_COMMENT)
        return SLOT_PHP_COMMENT;
    if (kind == TK_STRING)
        return SLOT_PHP_STRING;
    if (kind == TK_INTEGER || kind == TK_REAL)
        return SLOT_PHP_NUMBER;
    if (kind >= K::PK_FIRST_OPERATOR && kind <= K::PK_LAST_OPERATOR)
        return SLOT_PHP_OPERATOR;
    return -1;
}

} // namespace

void CPHPTokenizer::ColourText(std::string_view code, std::int32_t offset)
{
    // A slice of tokens at a time: code of millions of tokens (a long line of
    // operators, say) then needs a list of one slice, not of all its tokens.
    constexpr std::size_t kTokensPerSlice = 1 << 16;
    std::size_t from = 0;
    do {
        from = TokenizePart(code, from, kTokensPerSlice);
        // CR LF and the end token have no slot, so every token can be looked at.
        for (const CToken& t : Tokens()) {
            const int slot = SlotOfKind(t.m_nKind);
            if (slot >= 0)
                ApplySlot(slot, offset + t.m_nStart, offset + t.m_nEnd);
        }
    } while (from < code.size());
    SkipToEnd();
}
