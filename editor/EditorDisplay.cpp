#include "EditorDisplay.h"

#include <QApplication>
#include <QColor>
#include <QPoint>
#include <QSettings>

#include <array>
#include <cstring>
#include <optional>

#include "CodeEditCtrl.h"
#include "SettingsValue.h"
#include "StyleSlot.h"

namespace EditorDisplay {

namespace {

using Sci = QsciScintillaBase;
// Indicators for a brace and its partner, and for one without a partner:
// unlike brace styles they survive the colourer resetting styles.
constexpr int kBraceIndicator = 10;
constexpr int kBadBraceIndicator = 11;
const char* const kKeys[] = {"Settings/BraceMatching", "Settings/CurrentLine", "Settings/ShowWhitespace",
                             "Settings/ShowLineEnds"};
constexpr bool kDefaults[] = {true, true, false, false};
const QString kTabWidthKey = QStringLiteral("Settings/TabWidth");
constexpr int kDefaultTabWidth = 8;
// A property on an editor: the brace lit and its partner (-1 for none), so
// that a caret move that changes nothing draws nothing.
constexpr char kLitProperty[] = "quilletBraceLit";

std::array<std::optional<bool>, 4> g_options;
std::optional<int> g_tabWidth;

bool ValidTabWidth(int width) { return width == 2 || width == 4 || width == 8; }

void ForEachEditor(void (*apply)(CCodeEditCtrl*))
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* editor = qobject_cast<CCodeEditCtrl*>(widget))
            apply(editor);
}

long Send(CCodeEditCtrl* e, unsigned int msg, unsigned long w = 0, long l = 0) { return e->SendScintilla(msg, w, l); }

// The brace at pos that has a partner to find: (), [] and {} in PHP code
// (not in its strings and comments),
// < and > of HTML tags. Scintilla's match keeps to braces of the brace's
// own style, so that brackets in strings and comments are passed over.
bool IsMatchable(CCodeEditCtrl* e, long pos)
{
    if (pos < 0 || pos >= Send(e, Sci::SCI_GETLENGTH))
        return false;
    const int c = static_cast<int>(Send(e, Sci::SCI_GETCHARAT, static_cast<unsigned long>(pos)));
    const int style = static_cast<int>(Send(e, Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
    if (c != 0 && std::strchr("()[]{}", c))
        return style == SLOT_PHP_IDENTIFIER || style == SLOT_PHP_OPERATOR;
    return (c == '<' || c == '>') && style == SLOT_HTML_DELIMITER;
}

// Takes indicator off wherever it is (at most the two braces lit), so that
// only their lines are drawn again.
void ClearIndicator(CCodeEditCtrl* e, int indicator)
{
    const long length = Send(e, Sci::SCI_GETLENGTH);
    Send(e, Sci::SCI_SETINDICATORCURRENT, indicator);
    for (long pos = 0; pos < length;) {
        long start = pos;
        if (Send(e, Sci::SCI_INDICATORVALUEAT, indicator, pos) == 0) {
            // The end of a stretch without it is where the next one with it starts.
            start = Send(e, Sci::SCI_INDICATOREND, indicator, pos);
            if (start <= pos || start >= length)
                break;
        }
        const long end = Send(e, Sci::SCI_INDICATOREND, indicator, start);
        if (end <= start)
            break;
        Send(e, Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(start), end - start);
        pos = end;
    }
}

void Mark(CCodeEditCtrl* e, int indicator, long pos)
{
    Send(e, Sci::SCI_SETINDICATORCURRENT, indicator);
    Send(e, Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(pos), 1);
}

// Lights the brace at the caret and its partner with indicators of their
// own: the control's brace highlight would draw the whole window again at
// every move of the caret.
void LightBrace(CCodeEditCtrl* e, bool textChanged)
{
    long brace = -1;
    if (IsOn(BraceMatching)) {
        const long caret = Send(e, Sci::SCI_GETCURRENTPOS);
        brace = IsMatchable(e, caret - 1) ? caret - 1 : IsMatchable(e, caret) ? caret : -1;
    }
    const long partner = brace < 0 ? -1 : Send(e, Sci::SCI_BRACEMATCH, static_cast<unsigned long>(brace), 0);
    // Each brace lit as (brace, partner); nothing lit as (-1, -1).
    const QPoint lit(static_cast<int>(brace), static_cast<int>(partner));
    const QVariant before = e->property(kLitProperty);
    // A change of the text may have moved the lights with it.
    if (!textChanged && (before.isValid() ? before.toPoint() == lit : brace < 0))
        return;
    e->setProperty(kLitProperty, lit);
    ClearIndicator(e, kBraceIndicator);
    ClearIndicator(e, kBadBraceIndicator);
    if (brace >= 0 && partner >= 0) {
        Mark(e, kBraceIndicator, brace);
        Mark(e, kBraceIndicator, partner);
    } else if (brace >= 0) {
        Mark(e, kBadBraceIndicator, brace);
    }
}

void SetIndicator(CCodeEditCtrl* e, int indicator, const QColor& colour)
{
    Send(e, Sci::SCI_INDICSETSTYLE, indicator, Sci::INDIC_STRAIGHTBOX);
    e->SendScintilla(Sci::SCI_INDICSETFORE, indicator, colour);
    Send(e, Sci::SCI_INDICSETALPHA, indicator, 110);
    Send(e, Sci::SCI_INDICSETOUTLINEALPHA, indicator, 200);
    Send(e, Sci::SCI_INDICSETUNDER, indicator, 1);
}

} // namespace

bool IsOn(Option option)
{
    std::optional<bool>& value = g_options.at(option);
    if (!value)
        value = SettingsValue::ToBool(QSettings().value(QString::fromLatin1(kKeys[option])), kDefaults[option]);
    return *value;
}

void SetOn(Option option, bool on)
{
    g_options.at(option) = on;
    QSettings().setValue(QString::fromLatin1(kKeys[option]), on);
    ForEachEditor(&Apply);
}

int TabWidth()
{
    if (!g_tabWidth) {
        const int stored = SettingsValue::ToInt(QSettings().value(kTabWidthKey), kDefaultTabWidth);
        g_tabWidth = ValidTabWidth(stored) ? stored : kDefaultTabWidth;
    }
    return *g_tabWidth;
}

void SetTabWidth(int width)
{
    if (!ValidTabWidth(width))
        return;
    g_tabWidth = width;
    QSettings().setValue(kTabWidthKey, width);
    ForEachEditor(&Apply);
}

void Reload()
{
    g_options = {};
    g_tabWidth.reset();
}

void Apply(CCodeEditCtrl* e)
{
    if (!e->property("quilletDisplayWired").toBool()) {
        e->setProperty("quilletDisplayWired", true);
        QObject::connect(e, &QsciScintillaBase::SCN_UPDATEUI, e, [e](int updated) {
            if (updated & (Sci::SC_UPDATE_SELECTION | Sci::SC_UPDATE_CONTENT))
                LightBrace(e, updated & Sci::SC_UPDATE_CONTENT);
        });
        SetIndicator(e, kBraceIndicator, QColor(0x40, 0xa0, 0xff));
        SetIndicator(e, kBadBraceIndicator, QColor(0xff, 0x30, 0x30));
        e->setCaretLineBackgroundColor(QColor(0xe8, 0xf2, 0xff));
    }
    LightBrace(e, false);
    e->setCaretLineVisible(IsOn(CurrentLine));
    e->setWhitespaceVisibility(IsOn(Whitespace) ? QsciScintilla::WsVisible : QsciScintilla::WsInvisible);
    e->setEolVisibility(IsOn(LineEnds));
    if (e->tabWidth() != TabWidth())
        e->setTabWidth(TabWidth());
}

} // namespace EditorDisplay
