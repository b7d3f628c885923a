#include "SymbolLookup.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>

#include "PhpSymbolReader.h"
#include "SymbolMatch.h"

namespace SymbolLookup {

namespace {

bool IsWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80 ||
           c == '\\';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::size_t SkipBlanksBack(std::string_view t, std::size_t i)
{
    while (i > 0 && IsBlank(t[i - 1]))
        --i;
    return i;
}

std::size_t SkipBlanks(std::string_view t, std::size_t i)
{
    while (i < t.size() && IsBlank(t[i]))
        ++i;
    return i;
}

// The word ending at i (exclusive), as [start, i).
std::size_t WordStartBefore(std::string_view t, std::size_t i)
{
    while (i > 0 && IsWordByte(static_cast<unsigned char>(t[i - 1])))
        --i;
    return i;
}

bool EqualsNoCase(std::string_view a, std::string_view lower)
{
    return SymbolMatch::Lower(a) == lower;
}

// Fills in what stands before the name [start, end) of site.
void ReadSurroundings(std::string_view t, CNameSite& site)
{
    std::size_t b = SkipBlanksBack(t, site.start);
    if (b >= 2 && t.substr(b - 2, 2) == "->") {
        site.access = CNameSite::Access::Object;
        std::size_t r = SkipBlanksBack(t, b - 2 - (b >= 3 && t[b - 3] == '?' ? 1 : 0));
        const std::size_t rs = WordStartBefore(t, r);
        if (rs > 0 && t[rs - 1] == '$')
            site.receiver = std::string(t.substr(rs - 1, r - rs + 1));
    } else if (b >= 2 && t.substr(b - 2, 2) == "::") {
        site.access = CNameSite::Access::Static;
        const std::size_t r = SkipBlanksBack(t, b - 2);
        const std::size_t rs = WordStartBefore(t, r);
        if (!(rs > 0 && t[rs - 1] == '$'))
            site.receiver = std::string(t.substr(rs, r - rs));
    } else {
        const std::size_t ws = WordStartBefore(t, b);
        const std::string_view before = t.substr(ws, b - ws);
        for (std::string_view kw : {"new", "extends", "implements", "instanceof", "use", "insteadof"})
            if (EqualsNoCase(before, kw))
                site.isType = true;
        if (b > 0 && t[b - 1] == ',' ) {
            // A list after implements: look back for the keyword on the same statement.
            const std::size_t from = b > 400 ? b - 400 : 0;
            const std::string low = SymbolMatch::Lower(t.substr(from, b - from));
            const std::size_t kw = low.rfind("implements");
            if (kw != std::string::npos && low.find_first_of("{;", kw) == std::string::npos)
                site.isType = true;
        }
    }
    const std::size_t a = SkipBlanks(t, site.end);
    site.isCall = a < t.size() && t[a] == '(';
    if (a + 1 < t.size() && t.substr(a, 2) == "::")
        site.isType = site.access == CNameSite::Access::None;
    if (a < t.size() && (t[a] == '$' || t[a] == '&') && site.access == CNameSite::Access::None && !site.isCall)
        site.isType = true;
    if (site.isType && EqualsNoCase(site.name, "function"))
        site.isType = false;
}

// The parameter list's stated type of variable var ("$x"), or empty.
std::string TypeOfParameter(const std::string& params, std::string_view var)
{
    int depth = 0;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= params.size(); ++i) {
        const char c = i < params.size() ? params[i] : ',';
        if (c == '(' || c == '[')
            ++depth;
        else if (c == ')' || c == ']')
            --depth;
        if (c != ',' || depth != 0)
            continue;
        std::string_view p(params.data() + from, i - from);
        from = i + 1;
        const std::size_t at = p.find(var);
        if (at == std::string_view::npos ||
            (at + var.size() < p.size() && IsWordByte(static_cast<unsigned char>(p[at + var.size()]))))
            continue;
        // The last word before the variable that is no modifier.
        std::string_view head = p.substr(0, at);
        std::string type;
        std::size_t i2 = 0;
        while (i2 < head.size()) {
            if (!IsWordByte(static_cast<unsigned char>(head[i2]))) {
                ++i2;
                continue;
            }
            std::size_t j = i2;
            while (j < head.size() && IsWordByte(static_cast<unsigned char>(head[j])))
                ++j;
            const std::string word(head.substr(i2, j - i2));
            const std::string low = SymbolMatch::Lower(word);
            if (low != "public" && low != "private" && low != "protected" && low != "readonly" && low != "null" &&
                type.empty())
                type = word;
            i2 = j;
        }
        return type;
    }
    return {};
}

std::string LastPart(std::string name)
{
    if (const std::size_t slash = name.rfind('\\'); slash != std::string::npos)
        name.erase(0, slash + 1);
    return name;
}

int LineAt(std::string_view t, std::size_t pos)
{
    return int(std::count(t.begin(), t.begin() + std::ptrdiff_t(std::min(pos, t.size())), '\n')) + 1;
}

std::vector<CSymbolRef> MembersNamed(const CSymbolIndex& index, const std::string& type, const std::string& name,
                                     bool staticAccess)
{
    std::vector<CSymbolRef> out;
    const std::string low = SymbolMatch::Lower(name);
    for (const CSymbolRef& r : index.Members(type)) {
        if (SymbolMatch::Lower(r.symbol->name) != low)
            continue;
        if (!staticAccess && (r.symbol->kind == SymbolKind::ClassConstant || r.symbol->kind == SymbolKind::EnumCase))
            continue;
        out.push_back(r);
        break;   // the nearest declaration wins
    }
    return out;
}

} // namespace

std::optional<CNameSite> NameAt(std::string_view t, std::size_t pos)
{
    pos = std::min(pos, t.size());
    std::size_t s = WordStartBefore(t, pos);
    std::size_t e = pos;
    while (e < t.size() && IsWordByte(static_cast<unsigned char>(t[e])))
        ++e;
    while (s < e && t[s] == '\\' && s + 1 < e && t[s + 1] == '\\')
        ++s;
    if (s == e || (t[s] >= '0' && t[s] <= '9'))
        return std::nullopt;
    CNameSite site;
    site.start = s;
    site.end = e;
    site.name = std::string(t.substr(s, e - s));
    if (s > 0 && t[s - 1] == '$') {
        site.isVariable = true;
        site.start = s - 1;
    }
    ReadSurroundings(t, site);
    if (site.isVariable && site.access == CNameSite::Access::Static)
        site.isVariable = false;   // a static property
    return site;
}

std::optional<CNameSite> MemberBefore(std::string_view t, std::size_t pos)
{
    pos = std::min(pos, t.size());
    const std::size_t s = WordStartBefore(t, pos);
    CNameSite site;
    site.start = s;
    site.end = pos;
    site.name = std::string(t.substr(s, pos - s));
    ReadSurroundings(t, site);
    if (site.access == CNameSite::Access::None || site.receiver.empty())
        return std::nullopt;
    site.isCall = false;
    return site;
}

const CSymbol* EnclosingType(const std::vector<CSymbol>& outline, int line)
{
    const CSymbol* found = nullptr;
    for (const CSymbol& s : outline)
        if (s.IsType() && s.line <= line && line <= s.endLine)
            found = &s;
    return found;
}

std::string TypeOfReceiver(std::string_view text, std::size_t pos, const std::string& receiver,
                           const std::vector<CSymbol>& outline)
{
    const int line = LineAt(text, pos);
    const std::string low = SymbolMatch::Lower(receiver);
    const CSymbol* type = EnclosingType(outline, line);
    if (low == "$this" || low == "self" || low == "static")
        return type ? type->name : std::string();
    if (low == "parent")
        return type ? LastPart(type->parent) : std::string();
    if (receiver.empty() || receiver[0] != '$')
        return LastPart(receiver);
    // The innermost function around pos: its parameters, then "$v = new X" in its body.
    const CSymbol* function = nullptr;
    for (const CSymbol& s : outline)
        if ((s.kind == SymbolKind::Function || s.kind == SymbolKind::Method) && s.line <= line && line <= s.endLine)
            function = &s;
    std::size_t from = 0;
    if (function) {
        if (std::string t = TypeOfParameter(function->params, receiver); !t.empty())
            return LastPart(t);
        for (int l = 1; l < function->line && from != std::string_view::npos; ++l)
            from = text.find('\n', from) + 1;
    }
    const QString body = QString::fromUtf8(text.data() + from, qsizetype(std::min(pos, text.size()) - from));
    const QRegularExpression assign(QRegularExpression::escape(QString::fromStdString(receiver)) +
                                    QStringLiteral("\\s*=\\s*new\\s+([A-Za-z_\\\\][A-Za-z0-9_\\\\]*)"));
    QString last;
    for (auto it = assign.globalMatch(body); it.hasNext();)
        last = it.next().captured(1);
    return LastPart(last.toStdString());
}

CDefinitions Definitions(const CSymbolIndex& index, const QString& path, std::string_view text, std::size_t pos)
{
    CDefinitions out;
    const std::optional<CNameSite> site = NameAt(text, pos);
    if (!site || (site->isVariable && site->access == CNameSite::Access::None))
        return out;
    std::vector<CSymbol> own;
    const std::vector<CSymbol>* outline = index.Outline(path);
    if (!outline) {
        own = PhpSymbolReader::Read(text);
        outline = &own;
    }
    const std::string name = site->name;
    if (site->access == CNameSite::Access::Static && EqualsNoCase(name, "class")) {
        out.targets = index.Find(TypeOfReceiver(text, pos, site->receiver, *outline),
                                 {SymbolKind::Class, SymbolKind::Interface, SymbolKind::Trait, SymbolKind::Enum});
        return out;
    }
    if (site->access != CNameSite::Access::None) {
        const std::string type = site->receiver.empty() ? std::string()
                                                        : TypeOfReceiver(text, pos, site->receiver, *outline);
        const bool isStatic = site->access == CNameSite::Access::Static;
        if (!type.empty())
            out.targets = MembersNamed(index, type, name, isStatic);
        if (out.targets.empty()) {
            // The type is not known: every member of that name, for the user to choose.
            const std::initializer_list<SymbolKind> kinds = {SymbolKind::Method};
            out.targets = site->isCall ? index.Find(name, kinds)
                                       : index.Find(name, {SymbolKind::Property, SymbolKind::ClassConstant,
                                                           SymbolKind::EnumCase, SymbolKind::Method});
        }
        return out;
    }
    const std::initializer_list<SymbolKind> types = {SymbolKind::Class, SymbolKind::Interface, SymbolKind::Trait,
                                                     SymbolKind::Enum};
    if (site->isType) {
        out.targets = index.Find(name, types);
    } else if (site->isCall) {
        out.targets = index.Find(name, {SymbolKind::Function});
        if (out.targets.empty() && name.find('\\') == std::string::npos)
            out.builtin = name;
    } else {
        out.targets = index.Find(name, {SymbolKind::Constant});
        if (out.targets.empty())
            out.targets = index.Find(name, types);
        if (out.targets.empty())
            out.targets = index.Find(name, {SymbolKind::Function, SymbolKind::Namespace});
    }
    return out;
}

} // namespace SymbolLookup
