// Template bodies of MarkupScan.h.
#include "ByteScan.h"
#include "Token.h"

#include <cstring>

namespace MarkupScan {

namespace Detail {

inline std::size_t StringEnd(const unsigned char* p, std::size_t i, std::size_t n)
{
    const void* q = std::memchr(p + i + 1, '"', n - i - 1);
    return q ? static_cast<std::size_t>(static_cast<const unsigned char*>(q) - p) + 1 : n;
}

} // namespace Detail

template <class F>
void HtmlTokens(std::string_view text, F&& found)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while ((i = ByteScan::NextAmong<'"', '<', '>', '/', '='>(p, i, n)) < n) {
        switch (p[i]) {
        case '"': {
            const std::size_t e = Detail::StringEnd(p, i, n);
            found(TK_STRING, i, e);
            i = e;
            break;
        }
        case '<':
            found(8, i, i + 1);
            ++i;
            break;
        case '>':
            found(9, i, i + 1);
            ++i;
            break;
        case '=':
            found(11, i, i + 1);
            ++i;
            break;
        default: // '/'
            if (i + 1 < n && p[i + 1] == '>') {
                found(10, i, i + 2);
                i += 2;
            } else {
                ++i;
            }
            break;
        }
    }
}

} // namespace MarkupScan
