#include "FoldScan.h"

#include "ByteScan.h"
#include "RegionLexer.h"

#include <algorithm>
#include <cstring>

namespace {

// The scan's state: whether it is in a PHP region, where the HTML parts are
// (text, a tag, a quoted value in a tag, a comment, the raw text of a script
// or style element), and for a tag whether it opened a counted element and
// whether it opens a script or style element.
enum HtmlMode : std::uint16_t { TEXT = 0, TAG = 1, DQ = 2, SQ = 3, COMMENT = 4, RAW = 5 };
constexpr std::uint16_t kInPhp = 1;
constexpr int kModeShift = 1;
constexpr std::uint16_t kModeMask = 7 << kModeShift;
constexpr std::uint16_t kCounted = 1 << 4;
constexpr int kRawShift = 5;
constexpr std::uint16_t kRawMask = 3 << kRawShift;

// What an element name is for folding.
enum Kind { NOT_COUNTED = 0, COUNTED = 1, SCRIPT = 2, STYLE = 3 };

bool NameByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == ':' ||
           c == '_';
}

bool Letter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Void elements have no content; these others have end tags that HTML lets
// authors leave out, and pages often do, so neither opens a fold.
constexpr const char* kNotCounted[] = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                                       "param", "source", "track", "wbr", "p", "li", "dt", "dd", "tr", "td", "th",
                                       "option", "optgroup", "thead", "tbody", "tfoot", "colgroup", "rt", "rp",
                                       "!doctype"};

int KindOf(const unsigned char* name, std::size_t length)
{
    char lower[12];
    if (length >= sizeof lower)
        return COUNTED;
    for (std::size_t k = 0; k < length; ++k)
        lower[k] = static_cast<char>(name[k] >= 'A' && name[k] <= 'Z' ? name[k] + 32 : name[k]);
    lower[length] = '\0';
    if (std::strcmp(lower, "script") == 0)
        return SCRIPT;
    if (std::strcmp(lower, "style") == 0)
        return STYLE;
    for (const char* n : kNotCounted)
        if (std::strcmp(lower, n) == 0)
            return NOT_COUNTED;
    return COUNTED;
}

} // namespace

CFoldScan::CFoldScan(std::string_view text, std::int64_t spacing)
    : m_text(text), m_p(reinterpret_cast<const unsigned char*>(text.data())),
      m_n(static_cast<std::int64_t>(text.size())), m_nSpacing(std::max<std::int64_t>(spacing, 1))
{
}

void CFoldScan::LineStart(std::int64_t pos, bool rest)
{
    m_lines.push_back(m_line);
    m_line = {};
    ++m_nLine;
    if (!rest)
        return;
    const std::vector<CFoldAnchor>& targets = *m_pTargets;
    while (m_nTarget < targets.size() && targets[m_nTarget].pos < pos)
        ++m_nTarget;
    if (m_nTarget < targets.size() && targets[m_nTarget].pos == pos && pos >= m_nMinStop &&
        targets[m_nTarget].state == m_state) {
        m_nStoppedAt = static_cast<std::int64_t>(m_nTarget);
        m_nStopLine = m_nLine;
        throw Stop{};
    }
    if (pos >= m_nNextAnchor) {
        m_found.push_back({pos, m_nLine, m_state});
        m_nNextAnchor = pos + m_nSpacing;
    }
}

// Takes the line cursor to pos: every line start in (cursor, pos] starts a
// line, in the current state; rest says whether the region split rests there.
void CFoldScan::To(std::int64_t pos, bool rest)
{
    while (m_nAt < pos) {
        const auto b = static_cast<std::int64_t>(
            ByteScan::NextAmong<'\n', '\r'>(m_p, static_cast<std::size_t>(m_nAt), static_cast<std::size_t>(pos)));
        if (b >= pos) {
            m_nAt = pos;
            return;
        }
        m_nAt = b + 1;
        // CR LF is one line end; a lone CR ends a line as LF does.
        if (m_p[b] == '\r' && b + 1 < m_n && m_p[b + 1] == '\n')
            continue;
        LineStart(b + 1, rest);
    }
}

void CFoldScan::Delta(std::int64_t pos, int d)
{
    To(pos, true);
    m_line.net += d;
    m_line.low = std::min(m_line.low, m_line.net);
}

void CFoldScan::Php(std::int64_t i, std::int64_t j)
{
    for (std::int64_t k = i;;) {
        k = static_cast<std::int64_t>(
            ByteScan::NextAmong<'{', '}'>(m_p, static_cast<std::size_t>(k), static_cast<std::size_t>(j)));
        if (k >= j)
            return;
        Delta(k, m_p[k] == '{' ? 1 : -1);
        ++k;
    }
}

// The end of the element name at i (bounded by j), and its kind.
std::int64_t CFoldScan::TagName(std::int64_t i, std::int64_t j, int* kind) const
{
    std::int64_t e = i;
    while (e < j && NameByte(m_p[e]))
        ++e;
    *kind = KindOf(m_p + i, static_cast<std::size_t>(e - i));
    return e;
}

void CFoldScan::Html(std::int64_t i, std::int64_t j)
{
    auto mode = [this] { return static_cast<HtmlMode>((m_state & kModeMask) >> kModeShift); };
    auto set = [this](HtmlMode m, std::uint16_t flags = 0) {
        m_state = static_cast<std::uint16_t>((m_state & kInPhp) | (m << kModeShift) | flags);
    };
    const auto us = [](std::int64_t v) { return static_cast<std::size_t>(v); };
    std::int64_t k = i;
    while (k < j) {
        switch (mode()) {
        case TEXT: {
            const std::int64_t q = static_cast<std::int64_t>(ByteScan::NextAmong<'<'>(m_p, us(k), us(j)));
            if (q + 1 >= j) {
                k = j;
                break;
            }
            // Line starts before a change of state are in the state before it.
            To(q, true);
            const unsigned char c = m_p[q + 1];
            int kind = NOT_COUNTED;
            if (Letter(c)) {
                k = TagName(q + 1, j, &kind);
                if (kind != NOT_COUNTED)
                    Delta(q, 1);
                const std::uint16_t raw = kind == SCRIPT ? 1 : kind == STYLE ? 2 : 0;
                set(TAG, static_cast<std::uint16_t>((kind != NOT_COUNTED ? kCounted : 0) | (raw << kRawShift)));
            } else if (c == '/' && q + 2 < j && Letter(m_p[q + 2])) {
                k = TagName(q + 2, j, &kind);
                if (kind != NOT_COUNTED)
                    Delta(q, -1);
                set(TAG);
            } else if (c == '!' && q + 3 < j && m_p[q + 2] == '-' && m_p[q + 3] == '-') {
                k = q + 4;
                set(COMMENT);
            } else if (c == '!') {
                k = q + 2;
                set(TAG);
            } else {
                k = q + 1;
            }
            break;
        }
        case TAG: {
            const std::int64_t q = static_cast<std::int64_t>(ByteScan::NextAmong<'>', '"', '\''>(m_p, us(k), us(j)));
            if (q >= j) {
                k = j;
                break;
            }
            To(q, true);
            k = q + 1;
            if (m_p[q] == '"') {
                set(DQ, static_cast<std::uint16_t>(m_state & (kCounted | kRawMask)));
            } else if (m_p[q] == '\'') {
                set(SQ, static_cast<std::uint16_t>(m_state & (kCounted | kRawMask)));
            } else {
                const bool selfClosing = q > i && m_p[q - 1] == '/';
                if ((m_state & kCounted) && selfClosing)
                    Delta(q, -1);
                const std::uint16_t raw = m_state & kRawMask;
                if (raw && !selfClosing)
                    set(RAW, raw);
                else
                    set(TEXT);
            }
            break;
        }
        case DQ:
        case SQ: {
            const std::int64_t q = static_cast<std::int64_t>(
                mode() == DQ ? ByteScan::NextAmong<'"'>(m_p, us(k), us(j)) : ByteScan::NextAmong<'\''>(m_p, us(k), us(j)));
            if (q >= j) {
                k = j;
                break;
            }
            To(q, true);
            k = q + 1;
            set(TAG, static_cast<std::uint16_t>(m_state & (kCounted | kRawMask)));
            break;
        }
        case COMMENT: {
            const std::int64_t q = static_cast<std::int64_t>(ByteScan::NextAmong<'>'>(m_p, us(k), us(j)));
            if (q >= j) {
                k = j;
                break;
            }
            To(q, true);
            k = q + 1;
            if (q - 2 >= i && m_p[q - 1] == '-' && m_p[q - 2] == '-')
                set(TEXT);
            break;
        }
        case RAW: {
            const std::int64_t q = static_cast<std::int64_t>(ByteScan::NextAmong<'<'>(m_p, us(k), us(j)));
            if (q + 2 >= j) {
                k = j;
                break;
            }
            To(q, true);
            k = q + 1;
            if (m_p[q + 1] != '/')
                break;
            int kind = NOT_COUNTED;
            const std::int64_t e = TagName(q + 2, j, &kind);
            const std::uint16_t raw = m_state & kRawMask;
            if ((kind == SCRIPT && raw == (1 << kRawShift)) || (kind == STYLE && raw == (2 << kRawShift))) {
                Delta(q, -1);
                k = e;
                set(TAG);
            }
            break;
        }
        }
    }
}

void CFoldScan::Run(const CFoldAnchor& from, const std::vector<CFoldAnchor>& targets, std::int64_t minStop)
{
    m_state = from.state;
    m_nAt = from.pos;
    m_line = {};
    m_nLine = from.line;
    m_nNextAnchor = from.pos + m_nSpacing;
    m_pTargets = &targets;
    m_nTarget = 0;
    m_nMinStop = minStop;
    m_lines.clear();
    m_found.clear();
    m_nStoppedAt = -1;
    try {
        RegionLexer::Scan(m_text, static_cast<std::size_t>(from.pos), (from.state & kInPhp) != 0,
                          [&](RegionLexer::Event event, std::size_t start, std::size_t end) {
                              const auto a = static_cast<std::int64_t>(start);
                              const auto b = static_cast<std::int64_t>(end);
                              if (event == RegionLexer::GAP) {
                                  To(a, false);
                                  if (m_state & kInPhp)
                                      Php(a, b);
                                  else
                                      Html(a, b);
                                  To(b, true);
                              } else {
                                  To(a, true);
                                  m_state = static_cast<std::uint16_t>(
                                      event == RegionLexer::OPEN ? m_state | kInPhp : m_state & ~kInPhp);
                                  m_nAt = b;
                              }
                              return false;
                          });
        To(m_n, false);
        m_lines.push_back(m_line);
        m_nStopLine = m_nLine + 1;
    } catch (const Stop&) {
    }
}
