#include "RegionLexer.h"

#include <vector>

namespace RegionLexer {

namespace {

bool IsLabelStart(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z' ? true : c == '_' || c >= 0x80; }
bool IsLabel(unsigned char c) { return IsLabelStart(c) || (c >= '0' && c <= '9'); }

// A string that reads variables, a heredoc or nowdoc, or code inside "{$ }"
// or "${ }" of one of those: what the walk is inside of.
struct Frame {
    enum Kind : unsigned char { DOUBLE, BACKTICK, HEREDOC, NOWDOC, CODE } kind;
    bool lineStart = false;    // a heredoc or nowdoc at the start of a line
    std::size_t depth = 0;     // code: the braces open
    std::size_t label = 0;     // a heredoc or nowdoc: where its label stands
    std::size_t labelLen = 0;
};

std::size_t SingleQuotedEnd(const unsigned char* p, std::size_t i, std::size_t n)
{
    for (i = i + 1; (i = NextAmong<'\'', '\\'>(p, i, n)) < n;) {
        if (p[i] == '\'')
            return i + 1;
        i += 2;
    }
    return n;
}

std::size_t BlockCommentEnd(const unsigned char* p, std::size_t i, std::size_t n)
{
    for (i += 2; (i = NextAmong<'*'>(p, i, n)) < n; ++i)
        if (i + 1 < n && p[i + 1] == '/')
            return i + 2;
    return n;
}

// From i, just past "//" or "#": the line break or "?>" that ends the comment.
std::size_t LineCommentEnd(const unsigned char* p, std::size_t i, std::size_t n)
{
    for (; (i = NextAmong<'\n', '\r', '?'>(p, i, n)) < n; ++i)
        if (p[i] != '?' || (i + 1 < n && p[i + 1] == '>'))
            return i;
    return n;
}

// Whether "<<<" at i starts a heredoc or nowdoc; fills f with its label and
// sets i to the start of its body.
bool HeredocStart(const unsigned char* p, std::size_t& i, std::size_t n, Frame& f)
{
    if (i + 3 > n || p[i + 1] != '<' || p[i + 2] != '<')
        return false;
    std::size_t k = i + 3;
    while (k < n && (p[k] == ' ' || p[k] == '\t'))
        ++k;
    const unsigned char quote = k < n && (p[k] == '\'' || p[k] == '"') ? p[k] : 0;
    if (quote)
        ++k;
    if (k >= n || !IsLabelStart(p[k]))
        return false;
    f.label = k;
    while (k < n && IsLabel(p[k]))
        ++k;
    f.labelLen = k - f.label;
    if (quote && (k >= n || p[k++] != quote))
        return false;
    if (k >= n || (p[k] != '\n' && p[k] != '\r'))
        return false;
    k += p[k] == '\r' && k + 1 < n && p[k + 1] == '\n' ? 2 : 1;
    f.kind = quote == '\'' ? Frame::NOWDOC : Frame::HEREDOC;
    f.lineStart = true;
    i = k;
    return true;
}

// Past the "<" at i that starts no heredoc: "<<" is one token, so the "<<<"
// of "<<<<" starts none either.
std::size_t ShiftEnd(const unsigned char* p, std::size_t i, std::size_t n)
{
    return i + 1 < n && p[i + 1] == '<' ? i + 2 : i + 1;
}

// Walks the nested strings and code of stack from i; returns where the
// outermost ends, or n.
std::size_t WalkNested(const unsigned char* p, std::size_t i, std::size_t n, std::vector<Frame>& stack)
{
    while (!stack.empty()) {
        if (i >= n)
            return n;
        Frame& f = stack.back();
        switch (f.kind) {
        case Frame::DOUBLE:
        case Frame::BACKTICK: {
            const unsigned char end = f.kind == Frame::DOUBLE ? '"' : '`';
            const std::size_t j = NextAmong<'\\', '{', '$', '"', '`'>(p, i, n);
            if (j >= n)
                return n;
            i = j + 1;
            if (p[j] == '\\')
                ++i;
            else if (p[j] == end)
                stack.pop_back();
            else if (p[j] == '{' && i < n && p[i] == '$')
                stack.push_back({Frame::CODE, false, 1});
            else if (p[j] == '$' && i < n && p[i] == '{')
                ++i, stack.push_back({Frame::CODE, false, 1});
            break;
        }
        case Frame::HEREDOC:
        case Frame::NOWDOC: {
            if (f.lineStart) {
                f.lineStart = false;
                std::size_t k = i;
                while (k < n && (p[k] == ' ' || p[k] == '\t'))
                    ++k;
                if (k + f.labelLen <= n && std::memcmp(p + k, p + f.label, f.labelLen) == 0 &&
                    (k + f.labelLen == n || !IsLabel(p[k + f.labelLen]))) {
                    i = k + f.labelLen;
                    stack.pop_back();
                    break;
                }
            }
            const std::size_t j = f.kind == Frame::NOWDOC ? NextAmong<'\n', '\r'>(p, i, n)
                                                         : NextAmong<'\\', '{', '$', '\n', '\r'>(p, i, n);
            if (j >= n)
                return n;
            i = j + 1;
            if (p[j] == '\n' || p[j] == '\r') {
                if (p[j] == '\r' && i < n && p[i] == '\n')
                    ++i;
                f.lineStart = true;
            } else if (p[j] == '\\') {
                if (i < n && p[i] != '\n' && p[i] != '\r')
                    ++i;
            } else if (p[j] == '{' && i < n && p[i] == '$') {
                stack.push_back({Frame::CODE, false, 1});
            } else if (p[j] == '$' && i < n && p[i] == '{') {
                ++i, stack.push_back({Frame::CODE, false, 1});
            }
            break;
        }
        case Frame::CODE: {
            const std::size_t j = NextAmong<'\'', '"', '`', '/', '#', '<', '{', '}'>(p, i, n);
            if (j >= n)
                return n;
            i = j + 1;
            switch (p[j]) {
            case '{':
                ++f.depth;
                break;
            case '}':
                if (--f.depth == 0)
                    stack.pop_back();
                break;
            case '"':
                stack.push_back({Frame::DOUBLE});
                break;
            case '`':
                stack.push_back({Frame::BACKTICK});
                break;
            case '<': {
                Frame h{Frame::HEREDOC};
                i = j;
                if (HeredocStart(p, i, n, h))
                    stack.push_back(h);
                else
                    i = ShiftEnd(p, j, n);
                break;
            }
            default: // a single-quoted string or a comment
                i = SkipConstruct(p, j, n);
                break;
            }
            break;
        }
        }
    }
    return i;
}

} // namespace

std::size_t OpenTagLength(const unsigned char* p, std::size_t i, std::size_t n)
{
    if (i + 5 <= n && (p[i + 2] | 0x20) == 'p' && (p[i + 3] | 0x20) == 'h' && (p[i + 4] | 0x20) == 'p' &&
        (i + 5 == n || p[i + 5] == ' ' || p[i + 5] == '\t' || p[i + 5] == '\n' || p[i + 5] == '\r'))
        return 5;
    return 2;
}

std::size_t SkipConstruct(const unsigned char* p, std::size_t i, std::size_t n)
{
    std::vector<Frame> stack;
    switch (p[i]) {
    case '\'':
        return SingleQuotedEnd(p, i, n);
    case '/':
        if (i + 1 < n && p[i + 1] == '*')
            return BlockCommentEnd(p, i, n);
        if (i + 1 < n && p[i + 1] == '/')
            return LineCommentEnd(p, i + 2, n);
        return i + 1;
    case '#':
        // "#[" opens an attribute, which is code.
        return i + 1 < n && p[i + 1] == '[' ? i + 1 : LineCommentEnd(p, i + 1, n);
    case '"':
    case '`': {
        // Most strings read no braced value: those need no stack.
        const unsigned char end = p[i];
        for (std::size_t j = i + 1; (j = NextAmong<'\\', '{', '$', '"', '`'>(p, j, n)) < n;) {
            if (p[j] == end)
                return j + 1;
            if (p[j] == '\\') {
                j += 2;
            } else if (j + 1 < n && ((p[j] == '{' && p[j + 1] == '$') || (p[j] == '$' && p[j + 1] == '{'))) {
                stack.push_back({end == '"' ? Frame::DOUBLE : Frame::BACKTICK});
                return WalkNested(p, j, n, stack);
            } else {
                ++j;
            }
        }
        return n;
    }
    case '<': {
        Frame h{Frame::HEREDOC};
        if (!HeredocStart(p, i, n, h))
            return ShiftEnd(p, i, n);
        stack.push_back(h);
        return WalkNested(p, i, n, stack);
    }
    default:
        return i + 1;
    }
}

} // namespace RegionLexer
