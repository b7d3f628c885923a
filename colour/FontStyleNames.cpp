#include "FontStyleNames.h"

#include <QStringList>

namespace FontStyleNames {

namespace {

struct Name
{
    const char* english;   // compared without regard to case, blanks and "-" removed
    const char* chinese;   // UTF-8
};

// Whole names first, then single words.
constexpr Name kWhole[] = {
    {"regular", "常规"},      {"book", "常规"},          {"roman", "常规"},       {"normal", "常规"},
    {"plain", "常规"},        {"italic", "倾斜"},        {"oblique", "倾斜"},     {"bold", "粗体"},
    {"bolditalic", "粗偏斜"}, {"boldoblique", "粗偏斜"},
};
constexpr Name kWords[] = {
    {"regular", "常规"},    {"book", "常规"},        {"roman", "常规"},      {"normal", "常规"},
    {"italic", "倾斜"},     {"oblique", "倾斜"},     {"bold", "粗体"},       {"thin", "极细"},
    {"hairline", "极细"},   {"extralight", "特细"},  {"ultralight", "特细"}, {"light", "细体"},
    {"medium", "中等"},     {"semibold", "半粗"},    {"demibold", "半粗"},
    {"extrabold", "特粗"},  {"ultrabold", "特粗"},   {"black", "黑"},        {"heavy", "黑"},
    {"condensed", "窄"},    {"semicondensed", "半窄"}, {"extracondensed", "特窄"},
    {"expanded", "宽"},     {"semiexpanded", "半宽"}, {"extraexpanded", "特宽"},
};

QString Key(const QString& text)
{
    QString key = text.toLower();
    key.remove(u' ');
    key.remove(u'-');
    key.remove(u'_');
    return key;
}

template <std::size_t N>
const char* Find(const Name (&table)[N], const QString& key)
{
    for (const Name& n : table)
        if (key == QLatin1String(n.english))
            return n.chinese;
    return nullptr;
}

} // namespace

QString Chinese(const QString& style)
{
    if (const char* whole = Find(kWhole, Key(style)))
        return QString::fromUtf8(whole);
    // Two-word weights such as "Extra Light" and "Semi Bold" are one word.
    QStringList words = style.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (Find(kWords, Key(words.at(i) + words.at(i + 1))) && !Find(kWords, Key(words.at(i)))) {
            words[i] += words.at(i + 1);
            words.removeAt(i + 1);
        }
    }
    QString out;
    bool lastLatin = false;
    for (const QString& word : std::as_const(words)) {
        const char* chinese = Find(kWords, Key(word));
        if (!out.isEmpty() && (lastLatin || !chinese))
            out += u' ';
        out += chinese ? QString::fromUtf8(chinese) : word;
        lastLatin = !chinese;
    }
    return out.isEmpty() ? style : out;
}

} // namespace FontStyleNames
