#include "CommentToggle.h"

#include <algorithm>

#include "CodeContext.h"

namespace CommentToggle {

namespace {

struct Line {
    std::size_t start;  // after the indentation
    std::size_t end;    // before the line break
    std::size_t trimmedEnd;  // before trailing blanks
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The lines firstLine..lastLine, as far as the text has them.
std::vector<Line> LinesOf(std::string_view text, std::size_t firstLine, std::size_t lastLine)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    for (std::size_t line = 0; line <= lastLine; ++line) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        if (line >= firstLine) {
            std::size_t start = pos;
            while (start < end && IsBlank(text[start]))
                ++start;
            std::size_t trimmed = end;
            while (trimmed > start && IsBlank(text[trimmed - 1]))
                --trimmed;
            lines.push_back({start, end, trimmed});
        }
        if (end >= text.size())
            break;
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

struct Markers {
    std::string_view open, close;
};
constexpr Markers kLineComment{"//", ""};
constexpr Markers kHtmlComment{"<!--", "-->"};
constexpr Markers kBlockComment{"/*", "*/"};

// The comment form the line's text is written in, or nullptr.
const Markers* CommentOf(std::string_view text, const Line& line)
{
    const std::string_view body = text.substr(line.start, line.trimmedEnd - line.start);
    if (body.starts_with(kLineComment.open))
        return &kLineComment;
    for (const Markers* m : {&kHtmlComment, &kBlockComment})
        if (body.size() >= m->open.size() + m->close.size() && body.starts_with(m->open) &&
            body.ends_with(m->close))
            return m;
    return nullptr;
}

// Takes the markers m (and the blank next to each, as commenting puts one) off.
void Uncomment(std::string_view text, const Line& line, const Markers& m, std::vector<Edit>& edits)
{
    std::size_t front = m.open.size();
    if (line.start + front < line.trimmedEnd && text[line.start + front] == ' ')
        ++front;
    if (!m.close.empty()) {
        std::size_t back = line.trimmedEnd - m.close.size();
        if (back > line.start + front && text[back - 1] == ' ')
            --back;
        edits.push_back({back, line.trimmedEnd - back, {}});
    }
    edits.push_back({line.start, front, {}});
}

void Comment(const Line& line, CodeContext::Lang lang, std::vector<Edit>& edits)
{
    const Markers& m = lang == CodeContext::Lang::Html  ? kHtmlComment
                       : lang == CodeContext::Lang::Css ? kBlockComment
                                                        : kLineComment;
    if (!m.close.empty())
        edits.push_back({line.end, 0, " " + std::string(m.close)});
    edits.push_back({line.start, 0, std::string(m.open) + " "});
}

} // namespace

std::vector<Edit> Edits(std::string_view text, std::size_t firstLine, std::size_t lastLine)
{
    std::vector<Line> lines = LinesOf(text, firstLine, lastLine);
    std::erase_if(lines, [](const Line& l) { return l.start == l.end; });
    std::vector<Edit> edits;
    if (lines.empty())
        return edits;
    const bool allComments =
        std::all_of(lines.begin(), lines.end(), [&](const Line& l) { return CommentOf(text, l) != nullptr; });
    std::vector<CodeContext::Lang> langs;
    if (!allComments) {
        std::vector<std::size_t> starts;
        for (const Line& l : lines)
            starts.push_back(l.start);
        langs = CodeContext::LanguagesAt(text, starts);
    }
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (allComments)
            Uncomment(text, lines[i], *CommentOf(text, lines[i]), edits);
        else
            Comment(lines[i], langs[i], edits);
    }
    return edits;
}

} // namespace CommentToggle
