#include "PhpSymbolReader.h"

#include <algorithm>
#include <cstring>

#include "RegionLexer.h"

namespace {

enum TokKind : std::uint8_t { T_IDENT, T_VAR, T_PUNCT, T_STRING, T_DOC, T_END };

// Punctuation that matters to the reader; "::" "->" "=>" have letters of their own.
constexpr char kDoubleColon = 'D';
constexpr char kArrow = 'A';
constexpr char kDoubleArrow = 'R';

struct Tok {
    std::uint32_t start;
    std::uint32_t end;
    TokKind kind;
    char c; // the punctuation byte of a T_PUNCT
};

bool IsNameStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80 || c == '\\';
}

bool IsNameByte(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Splits text into the tokens the reader looks at.
std::vector<Tok> Lex(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::vector<Tok> toks;
    toks.reserve(n / 8 + 16);
    auto lexCode = [&](std::size_t i, std::size_t e) {
        while (i < e) {
            const unsigned char c = p[i];
            if (IsBlank(c)) {
                ++i;
            } else if (IsNameStart(c)) {
                std::size_t j = i + 1;
                while (j < e && IsNameByte(p[j]))
                    ++j;
                toks.push_back({std::uint32_t(i), std::uint32_t(j), T_IDENT, 0});
                i = j;
            } else if (c == '$' && i + 1 < e && IsNameStart(p[i + 1]) && p[i + 1] != '\\') {
                std::size_t j = i + 2;
                while (j < e && IsNameByte(p[j]) && p[j] != '\\')
                    ++j;
                toks.push_back({std::uint32_t(i), std::uint32_t(j), T_VAR, 0});
                i = j;
            } else if (c >= '0' && c <= '9') {
                while (i < e && (IsNameByte(p[i]) || p[i] == '.'))
                    ++i;
            } else {
                char k = char(c);
                std::size_t len = 1;
                if (i + 1 < e) {
                    if (c == ':' && p[i + 1] == ':')
                        k = kDoubleColon, len = 2;
                    else if (c == '-' && p[i + 1] == '>')
                        k = kArrow, len = 2;
                    else if (c == '=' && p[i + 1] == '>')
                        k = kDoubleArrow, len = 2;
                }
                toks.push_back({std::uint32_t(i), std::uint32_t(i + len), T_PUNCT, k});
                i += len;
            }
        }
    };
    bool inPhp = false;
    RegionLexer::Scan(text, 0, false, [&](RegionLexer::Event ev, std::size_t s, std::size_t e) {
        if (ev == RegionLexer::OPEN) {
            inPhp = true;
        } else if (ev == RegionLexer::CLOSE) {
            // "?>" ends a statement as ";" does.
            toks.push_back({std::uint32_t(s), std::uint32_t(e), T_PUNCT, ';'});
            inPhp = false;
        } else if (inPhp) {
            lexCode(s, e);
            if (e < n && (p[e] == '\'' || p[e] == '"' || p[e] == '<' || p[e] == '/')) {
                const std::size_t end = RegionLexer::SkipConstruct(p, e, n);
                if (p[e] == '/') {
                    if (end > e + 4 && p[e + 1] == '*' && p[e + 2] == '*')
                        toks.push_back({std::uint32_t(e), std::uint32_t(end), T_DOC, 0});
                } else if (end > e + 1) {
                    toks.push_back({std::uint32_t(e), std::uint32_t(end), T_STRING, 0});
                }
            }
        }
        return false;
    });
    toks.push_back({std::uint32_t(n), std::uint32_t(n), T_END, 0});
    return toks;
}

bool EqualsNoCase(std::string_view a, std::string_view lowerB)
{
    if (a.size() != lowerB.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (char(a[i] | (a[i] >= 'A' && a[i] <= 'Z' ? 0x20 : 0)) != lowerB[i])
            return false;
    return true;
}

// The text with every run of blanks made one space, none after an opening
// bracket or before a closing one, none at either end.
std::string Folded(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    bool blank = false;
    for (char c : s) {
        if (IsBlank(static_cast<unsigned char>(c))) {
            blank = true;
            continue;
        }
        if (blank && !out.empty() && out.back() != '(' && out.back() != '[' && c != ')' && c != ']' && c != ',')
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// The first line of a doc comment that says something.
std::string DocFirstLine(std::string_view doc)
{
    doc.remove_prefix(3);
    if (doc.size() >= 2 && doc.substr(doc.size() - 2) == "*/")
        doc.remove_suffix(2);
    while (!doc.empty()) {
        const std::size_t nl = doc.find('\n');
        std::string_view line = doc.substr(0, nl);
        doc = nl == std::string_view::npos ? std::string_view() : doc.substr(nl + 1);
        while (!line.empty() && (IsBlank(static_cast<unsigned char>(line.front())) || line.front() == '*'))
            line.remove_prefix(1);
        while (!line.empty() && IsBlank(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        if (!line.empty())
            return line.front() == '@' ? std::string() : std::string(line);
    }
    return {};
}

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text), m_toks(Lex(text))
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const void* q = std::memchr(text.data() + i, '\n', text.size() - i);
            if (!q)
                break;
            i = static_cast<std::size_t>(static_cast<const char*>(q) - text.data());
            m_lineBreaks.push_back(std::uint32_t(i));
        }
    }

    std::vector<CSymbol> Run();

private:
    enum class FrameType : std::uint8_t { Other, Type, AnonymousType, Function, Namespace };
    struct Frame {
        FrameType type;
        int symbol; // the index of the symbol the braces close, or -1
    };

    const Tok& At(std::size_t i) const { return m_toks[std::min(i, m_toks.size() - 1)]; }
    std::string_view Text(const Tok& t) const { return m_text.substr(t.start, t.end - t.start); }
    bool IsPunct(std::size_t i, char c) const { return At(i).kind == T_PUNCT && At(i).c == c; }
    bool IsKeyword(std::size_t i, std::string_view lower) const
    {
        return At(i).kind == T_IDENT && EqualsNoCase(Text(At(i)), lower);
    }
    int LineOf(std::uint32_t pos) const
    {
        return int(std::lower_bound(m_lineBreaks.begin(), m_lineBreaks.end(), pos) - m_lineBreaks.begin()) + 1;
    }
    FrameType Top() const { return m_stack.empty() ? FrameType::Other : m_stack.back().type; }
    const std::string& CurrentType() const
    {
        static const std::string none;
        return m_stack.empty() || m_stack.back().symbol < 0 ? none : m_out[m_stack.back().symbol].name;
    }
    // The previous token that is no doc comment, before i.
    const Tok* Previous(std::size_t i) const
    {
        while (i > 0) {
            --i;
            if (m_toks[i].kind != T_DOC)
                return &m_toks[i];
        }
        return nullptr;
    }
    bool AfterMemberAccess(std::size_t i) const
    {
        const Tok* prev = Previous(i);
        return prev && prev->kind == T_PUNCT && (prev->c == kDoubleColon || prev->c == kArrow);
    }
    // The index of the bracket that closes the one at i (T_END when none does).
    std::size_t Matching(std::size_t i) const;
    int Emit(SymbolKind kind, const Tok& name, std::string scope = {});

    std::size_t Namespace(std::size_t i);
    std::size_t Use(std::size_t i);
    std::size_t Function(std::size_t i);
    std::size_t Type(std::size_t i, SymbolKind kind);
    std::size_t Constants(std::size_t i);
    void PromotedProperties(std::size_t open, std::size_t close);

    std::string_view m_text;
    std::vector<Tok> m_toks;
    std::vector<std::uint32_t> m_lineBreaks;
    std::vector<Frame> m_stack;
    std::vector<CSymbol> m_out;
    std::string m_namespace;
    std::size_t m_pendingDoc = 0; // the doc comment's token index + 1, 0 for none
    bool m_bStatic = false;       // "static" stands in the current class-body statement
};

std::size_t Reader::Matching(std::size_t i) const
{
    const char open = At(i).c;
    const char close = open == '(' ? ')' : open == '[' ? ']' : '}';
    int depth = 0;
    for (; m_toks[i].kind != T_END; ++i) {
        if (m_toks[i].kind != T_PUNCT)
            continue;
        if (m_toks[i].c == open)
            ++depth;
        else if (m_toks[i].c == close && --depth == 0)
            return i;
    }
    return i;
}

int Reader::Emit(SymbolKind kind, const Tok& name, std::string scope)
{
    CSymbol s;
    s.kind = kind;
    s.name = std::string(Text(name));
    if (kind == SymbolKind::Property && !s.name.empty() && s.name.front() == '$')
        s.name.erase(0, 1);
    s.scope = std::move(scope);
    s.nameSpace = m_namespace;
    s.line = s.endLine = LineOf(name.start);
    if (m_pendingDoc)
        s.doc = DocFirstLine(Text(m_toks[m_pendingDoc - 1]));
    m_pendingDoc = 0;
    s.isStatic = m_bStatic && !s.scope.empty();
    m_out.push_back(std::move(s));
    return int(m_out.size() - 1);
}

std::size_t Reader::Namespace(std::size_t i)
{
    // "namespace Name;" or "namespace Name {" or "namespace {".
    std::size_t j = i + 1;
    std::string name;
    if (At(j).kind == T_IDENT) {
        name = std::string(Text(At(j)));
        Emit(SymbolKind::Namespace, At(j));
        m_out.back().nameSpace.clear();
        ++j;
    }
    m_namespace = name;
    if (IsPunct(j, '{')) {
        m_stack.push_back({FrameType::Namespace, -1});
        return j + 1;
    }
    return j;
}

std::size_t Reader::Use(std::size_t i)
{
    // An import or a class's use of traits: passed over to its ";", braces and all.
    std::size_t j = i + 1;
    for (; At(j).kind != T_END; ++j) {
        if (IsPunct(j, ';'))
            return j + 1;
        if (IsPunct(j, '{')) {
            j = Matching(j);
            if (Top() == FrameType::Type)   // trait adaptations end at their brace
                return j + 1;
        } else if (IsPunct(j, '}')) {
            return j;   // broken: the enclosing block ends
        }
    }
    return j;
}

void Reader::PromotedProperties(std::size_t open, std::size_t close)
{
    int depth = 0;
    bool promoted = false;
    for (std::size_t k = open + 1; k < close; ++k) {
        const Tok& t = m_toks[k];
        if (t.kind == T_PUNCT) {
            if (t.c == '(' || t.c == '[')
                ++depth;
            else if (t.c == ')' || t.c == ']')
                --depth;
            else if (t.c == ',' && depth == 0)
                promoted = false;
        } else if (depth == 0 && t.kind == T_IDENT &&
                   (EqualsNoCase(Text(t), "public") || EqualsNoCase(Text(t), "protected") ||
                    EqualsNoCase(Text(t), "private") || EqualsNoCase(Text(t), "readonly"))) {
            promoted = true;
        } else if (depth == 0 && t.kind == T_VAR && promoted) {
            Emit(SymbolKind::Property, t, CurrentType());
            promoted = false;
        }
    }
}

std::size_t Reader::Function(std::size_t i)
{
    std::size_t j = i + 1;
    if (IsPunct(j, '&'))
        ++j;
    if (At(j).kind != T_IDENT || !IsPunct(j + 1, '('))
        return i + 1;   // a closure: its body is a block like any other
    const FrameType top = Top();
    const bool member = top == FrameType::Type || top == FrameType::AnonymousType;
    const std::size_t nameTok = j;
    const std::size_t open = j + 1;
    const std::size_t close = Matching(open);
    int index = -1;
    if (top != FrameType::AnonymousType) {
        index = Emit(member ? SymbolKind::Method : SymbolKind::Function, At(nameTok),
                     member ? CurrentType() : std::string());
        m_out[index].params = Folded(m_text.substr(At(open).end, At(close).start - At(open).end));
    }
    if (At(close).kind == T_END)
        return close;
    if (member && top == FrameType::Type && EqualsNoCase(Text(At(nameTok)), "__construct"))
        PromotedProperties(open, close);
    j = close + 1;
    if (IsPunct(j, ':')) {
        std::size_t k = j + 1;
        while (At(k).kind != T_END && !IsPunct(k, '{') && !IsPunct(k, ';') && !IsPunct(k, '}'))
            ++k;
        if (index >= 0)
            m_out[index].returnType = Folded(m_text.substr(At(j).end, At(k).start - At(j).end));
        j = k;
    }
    m_bStatic = false;
    m_pendingDoc = 0;
    if (IsPunct(j, '{')) {
        m_stack.push_back({FrameType::Function, index});
        return j + 1;
    }
    return j;
}

std::size_t Reader::Type(std::size_t i, SymbolKind kind)
{
    std::size_t j = i + 1;
    const bool anonymous = kind == SymbolKind::Class && (At(j).kind != T_IDENT || IsKeyword(j, "extends") ||
                                                         IsKeyword(j, "implements"));
    int index = -1;
    if (!anonymous) {
        index = Emit(kind, At(j));
        ++j;
    }
    // On to the body's brace, past "extends", "implements", an enum's backing
    // type and an anonymous class's arguments.
    for (; At(j).kind != T_END; ++j) {
        if (IsPunct(j, '(')) {
            j = Matching(j);
        } else if (IsPunct(j, '{')) {
            m_stack.push_back({anonymous ? FrameType::AnonymousType : FrameType::Type, index});
            m_bStatic = false;
            return j + 1;
        } else if (IsPunct(j, ';') || IsPunct(j, '}')) {
            return j;   // broken: no body
        } else if (index >= 0 && IsKeyword(j, "extends") && At(j + 1).kind == T_IDENT &&
                   m_out[index].parent.empty()) {
            m_out[index].parent = std::string(Text(At(j + 1)));
        }
    }
    return j;
}

std::size_t Reader::Constants(std::size_t i)
{
    const bool member = Top() == FrameType::Type;
    const bool anonymous = Top() == FrameType::AnonymousType;
    bool expectName = true;
    int depth = 0;
    std::size_t j = i + 1;
    for (; At(j).kind != T_END; ++j) {
        const Tok& t = At(j);
        if (t.kind != T_PUNCT)
            continue;
        if (t.c == '(' || t.c == '[' || t.c == '{') {
            ++depth;
        } else if (t.c == ')' || t.c == ']' || t.c == '}') {
            if (--depth < 0)
                return j;   // broken: the enclosing block ends
        } else if (depth == 0 && t.c == ';') {
            return j;
        } else if (depth == 0 && t.c == ',') {
            expectName = true;
        } else if (depth == 0 && t.c == '=' && expectName) {
            expectName = false;
            if (j > i + 1 && At(j - 1).kind == T_IDENT && !anonymous)
                Emit(member ? SymbolKind::ClassConstant : SymbolKind::Constant, At(j - 1),
                     member ? CurrentType() : std::string());
        }
    }
    return j;
}

std::vector<CSymbol> Reader::Run()
{
    std::size_t i = 0;
    while (m_toks[i].kind != T_END) {
        const Tok& t = m_toks[i];
        if (t.kind == T_DOC) {
            m_pendingDoc = i + 1;
            ++i;
            continue;
        }
        if (t.kind == T_PUNCT) {
            if (t.c == '{') {
                m_stack.push_back({FrameType::Other, -1});
            } else if (t.c == '}') {
                if (!m_stack.empty()) {
                    const Frame f = m_stack.back();
                    m_stack.pop_back();
                    if (f.symbol >= 0)
                        m_out[f.symbol].endLine = LineOf(t.start);
                    if (f.type == FrameType::Namespace)
                        m_namespace.clear();
                }
            }
            if (t.c == '{' || t.c == '}' || t.c == ';') {
                m_pendingDoc = 0;
                m_bStatic = false;
            }
            ++i;
            continue;
        }
        const FrameType top = Top();
        const bool inType = top == FrameType::Type || top == FrameType::AnonymousType;
        if (t.kind == T_VAR) {
            if (top == FrameType::Type && Text(t) != "$this")
                Emit(SymbolKind::Property, t, CurrentType());
            ++i;
            continue;
        }
        if (t.kind != T_IDENT || AfterMemberAccess(i)) {
            ++i;
            continue;
        }
        const std::string_view word = Text(t);
        if (word.size() > 9 || word.size() < 3) {
            ++i;
            continue;
        }
        char lower[10] = {};
        for (std::size_t k = 0; k < word.size(); ++k)
            lower[k] = char(word[k] | (word[k] >= 'A' && word[k] <= 'Z' ? 0x20 : 0));
        const std::string_view w(lower, word.size());
        const Tok* prev = Previous(i);
        const bool afterNew = prev && prev->kind == T_IDENT && EqualsNoCase(Text(*prev), "new");
        if (w == "function") {
            i = Function(i);
        } else if (w == "class" && (At(i + 1).kind == T_IDENT || afterNew)) {
            i = Type(i, SymbolKind::Class);
        } else if (w == "interface" && At(i + 1).kind == T_IDENT && !inType) {
            i = Type(i, SymbolKind::Interface);
        } else if (w == "trait" && At(i + 1).kind == T_IDENT && !inType) {
            i = Type(i, SymbolKind::Trait);
        } else if (w == "enum" && At(i + 1).kind == T_IDENT && !inType &&
                   (IsPunct(i + 2, '{') || IsPunct(i + 2, ':') || IsKeyword(i + 2, "implements"))) {
            i = Type(i, SymbolKind::Enum);
        } else if (w == "namespace" && (m_stack.empty() || top == FrameType::Namespace) &&
                   (At(i + 1).kind == T_IDENT || IsPunct(i + 1, '{'))) {
            i = Namespace(i);
        } else if (w == "use" && (inType || m_stack.empty() || top == FrameType::Namespace)) {
            i = Use(i);
        } else if (w == "const" && (inType || m_stack.empty() || top == FrameType::Namespace)) {
            i = Constants(i);
        } else if (w == "case" && top == FrameType::Type && At(i + 1).kind == T_IDENT && m_stack.back().symbol >= 0 &&
                   m_out[m_stack.back().symbol].kind == SymbolKind::Enum) {
            Emit(SymbolKind::EnumCase, At(i + 1), CurrentType());
            i += 2;
        } else if (w == "define" && IsPunct(i + 1, '(') && At(i + 2).kind == T_STRING &&
                   !(prev && prev->kind == T_IDENT && EqualsNoCase(Text(*prev), "function"))) {
            const Tok& s = At(i + 2);
            std::string_view body = Text(s);
            if (body.size() >= 2 && (body.front() == '\'' || body.front() == '"') && body.back() == body.front() &&
                body.find_first_of("$\\", 1) == std::string_view::npos) {
                Tok name = s;
                name.start += 1;
                name.end -= 1;
                Emit(SymbolKind::Constant, name);
            }
            i += 3;
        } else {
            if (w == "static" && inType && !IsPunct(i + 1, kDoubleColon))
                m_bStatic = true;
            ++i;
        }
    }
    return std::move(m_out);
}

} // namespace

namespace PhpSymbolReader {

std::vector<CSymbol> Read(std::string_view text)
{
    return Reader(text).Run();
}

} // namespace PhpSymbolReader
