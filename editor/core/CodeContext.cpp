#include "CodeContext.h"

#include <algorithm>
#include <cctype>

#include "RegionLexer.h"

namespace CodeContext {

namespace {

bool IsNameByte(unsigned char c) { return std::isalnum(c) || c == '-' || c == ':' || c == '_'; }

bool IsVoidElement(const std::string& name)
{
    static const char* const kVoid[] = {"area", "base", "br", "col", "embed", "hr", "img", "input",
                                        "link", "meta", "param", "source", "track", "wbr"};
    return std::any_of(std::begin(kVoid), std::end(kVoid), [&](const char* v) { return name == v; });
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    if (text.size() - std::min(at, text.size()) < prefix.size())
        return false;
    for (std::size_t k = 0; k < prefix.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(text[at + k])) != prefix[k])
            return false;
    return true;
}

// The HTML parts fed one byte at a time, so that a tag or comment may go
// on after a PHP region in its middle.
class HtmlWalker
{
public:
    enum State { TEXT, LT, NAME, TAG, QUOTE, ENDNAME, ENDTAG, BANG, COMMENT, DECL, RAW };

    void Feed(unsigned char c)
    {
        switch (m_state) {
        case TEXT:
            if (c == '<')
                m_state = LT;
            break;
        case LT:
            if (c == '/') {
                m_name.clear();
                m_state = ENDNAME;
            } else if (std::isalpha(c)) {
                m_name.assign(1, static_cast<char>(std::tolower(c)));
                m_state = NAME;
            } else if (c == '!') {
                m_nDashes = 0;
                m_state = BANG;
            } else if (c != '<') {
                m_state = TEXT;
            }
            break;
        case NAME:
            if (IsNameByte(c)) {
                m_name += static_cast<char>(std::tolower(c));
                break;
            }
            m_bSelfClosing = false;
            m_state = TAG;
            [[fallthrough]];
        case TAG:
            if (c == '"' || c == '\'') {
                m_quote = c;
                m_state = QUOTE;
            } else if (c == '>') {
                OpenTagEnds();
            } else if (!std::isspace(c)) {
                m_bSelfClosing = c == '/';
            }
            break;
        case QUOTE:
            if (c == m_quote)
                m_state = TAG;
            break;
        case ENDNAME:
            if (IsNameByte(c)) {
                m_name += static_cast<char>(std::tolower(c));
                break;
            }
            m_state = ENDTAG;
            [[fallthrough]];
        case ENDTAG:
            if (c == '>') {
                // An end tag closes its element and any left open inside it.
                const auto it = std::find(m_stack.rbegin(), m_stack.rend(), m_name);
                if (it != m_stack.rend())
                    m_stack.erase(std::next(it).base(), m_stack.end());
                m_state = TEXT;
            }
            break;
        case BANG:
            if (c == '-' && ++m_nDashes == 2) {
                m_nDashes = 0;
                m_state = COMMENT;
            } else if (c != '-') {
                m_state = c == '>' ? TEXT : DECL;
            }
            break;
        case COMMENT:
            if (c == '>' && m_nDashes >= 2)
                m_state = TEXT;
            m_nDashes = c == '-' ? m_nDashes + 1 : 0;
            break;
        case DECL:
            if (c == '>')
                m_state = TEXT;
            break;
        case RAW: {
            // Only "</" and the element's own name end its raw text.
            const std::string end = "</" + m_stack.back();
            if (std::tolower(c) == end[m_nRawMatch]) {
                if (++m_nRawMatch == end.size()) {
                    m_name = m_stack.back();
                    m_state = ENDNAME;
                }
            } else {
                m_nRawMatch = c == '<' ? 1 : 0;
            }
            break;
        }
        }
    }

    State GetState() const { return m_state; }
    // The raw-text element the walker is in, or nullptr.
    const std::string* RawElement() const { return m_state == RAW ? &m_stack.back() : nullptr; }
    std::string Innermost() const
    {
        return (m_state == TEXT || m_state == RAW) && !m_stack.empty() ? m_stack.back() : std::string();
    }

private:
    void OpenTagEnds()
    {
        m_state = TEXT;
        if (m_bSelfClosing || IsVoidElement(m_name))
            return;
        m_stack.push_back(m_name);
        if (m_name == "script" || m_name == "style") {
            m_nRawMatch = 0;
            m_state = RAW;
        }
    }

    State m_state = TEXT;
    std::string m_name;
    std::vector<std::string> m_stack;
    bool m_bSelfClosing = false;
    unsigned char m_quote = 0;
    int m_nDashes = 0;
    std::size_t m_nRawMatch = 0;
};

// Walks text and calls at(index, inPhp, walker) for each of positions in
// order, the walker having seen the HTML bytes before that position.
template <class F>
void Walk(std::string_view text, const std::vector<std::size_t>& positions, F&& at)
{
    HtmlWalker walker;
    std::size_t next = 0;
    std::size_t fed = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    // Positions before end lie in HTML (feeding the walker up to each) or in PHP.
    const auto upTo = [&](std::size_t end, bool php) {
        while (next < positions.size() && positions[next] < end) {
            if (!php)
                for (; fed < std::min(positions[next], text.size()); ++fed)
                    walker.Feed(p[fed]);
            at(next, php, walker);
            ++next;
        }
        if (!php)
            for (; fed < std::min(end, text.size()); ++fed)
                walker.Feed(p[fed]);
        return next >= positions.size();
    };
    bool inPhp = false;
    RegionLexer::Scan(text, 0, false, [&](RegionLexer::Event event, std::size_t start, std::size_t end) {
        if (event == RegionLexer::GAP && !inPhp) {
            fed = start;
            return upTo(end, false);
        }
        if (event == RegionLexer::OPEN)
            inPhp = true;
        if (event == RegionLexer::CLOSE) {
            inPhp = false;
            return upTo(end, true);
        }
        return false;
    });
    // What is left is in the last region (PHP with no "?>", or HTML to the end).
    upTo(static_cast<std::size_t>(-1), inPhp);
}

} // namespace

std::vector<Lang> LanguagesAt(std::string_view text, const std::vector<std::size_t>& positions)
{
    std::vector<Lang> langs(positions.size(), Lang::Html);
    Walk(text, positions, [&](std::size_t i, bool php, const HtmlWalker& walker) {
        if (php) {
            langs[i] = Lang::Php;
        } else if (const std::string* raw = walker.RawElement()) {
            if (!StartsWithNoCase(text, positions[i], "</" + *raw))
                langs[i] = *raw == "style" ? Lang::Css : Lang::Script;
        }
    });
    return langs;
}

std::string OpenElementAt(std::string_view text, std::size_t pos)
{
    std::string name;
    Walk(text, {pos}, [&](std::size_t, bool php, const HtmlWalker& walker) {
        if (!php)
            name = walker.Innermost();
    });
    return name;
}

} // namespace CodeContext
