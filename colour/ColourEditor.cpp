#include "ColourEditor.h"

#include "CodeStyleDlg.h"
#include "DocColourState.h"
#include "FoldMargin.h"
#include "LongLineTails.h"
#include "ScintillaStyleTarget.h"
#include "StyleFeeder.h"
#include "StyleSlot.h"

#include <QFontDatabase>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <string>

namespace ColourEditor {

namespace {

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

std::string StyleFont(QsciScintilla* e, int style)
{
    const long len = Send(e, QsciScintillaBase::SCI_STYLEGETFONT, static_cast<unsigned long>(style), 0);
    if (len <= 0)
        return {};
    std::string name(static_cast<std::size_t>(len) + 1, '\0');
    e->SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, static_cast<unsigned long>(style),
                     static_cast<void*>(name.data()));
    name.resize(std::char_traits<char>::length(name.c_str()));
    return name;
}

// Sets one property only when it differs: a style change makes the control lay
// out its lines again.
void SetIfChanged(QsciScintilla* e, unsigned int get, unsigned int set, int style, long value)
{
    if (Send(e, get, static_cast<unsigned long>(style)) != value)
        Send(e, set, static_cast<unsigned long>(style), value);
}

} // namespace

QFont DefaultEditorFont()
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (f.pointSizeF() <= 0)
        f.setPointSize(10);
    return f;
}

namespace {

void ApplyLook(QsciScintilla* editor, int style, const CSlotFormat& format)
{
    const QFont base = DefaultEditorFont();
    const std::string face = format.FaceName().empty() ? base.family().toStdString() : format.FaceName();
    double points = UsablePointsFromLogicalHeight(format.yHeight, editor->logicalDpiY());
    if (points <= 0)
        points = base.pointSizeF();
    const long hundredths = std::lround(points * 100.0);

    if (StyleFont(editor, style) != face)
        editor->SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, static_cast<uintptr_t>(style), face.c_str());
    SetIfChanged(editor, QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL,
                 style, hundredths);
    SetIfChanged(editor, QsciScintillaBase::SCI_STYLEGETFORE, QsciScintillaBase::SCI_STYLESETFORE, style,
                 static_cast<long>(format.crTextColor & 0xFFFFFF));
    SetIfChanged(editor, QsciScintillaBase::SCI_STYLEGETBOLD, QsciScintillaBase::SCI_STYLESETBOLD, style,
                 format.Bold() ? 1 : 0);
    SetIfChanged(editor, QsciScintillaBase::SCI_STYLEGETITALIC, QsciScintillaBase::SCI_STYLESETITALIC, style,
                 format.Italic() ? 1 : 0);
    SetIfChanged(editor, QsciScintillaBase::SCI_STYLEGETUNDERLINE, QsciScintillaBase::SCI_STYLESETUNDERLINE, style,
                 format.Underline() ? 1 : 0);
}

} // namespace

void ApplySlotStyle(QsciScintilla* editor, int style, const CSlotFormat& format)
{
    ApplyLook(editor, style, format);
    // The same slot in the tail of a line too long to draw: not drawn, but
    // of the same font, so that the lines keep their height.
    if (style >= 0 && style < kSlotCount) {
        const int hidden = style + LongLineTails::kHiddenBase;
        ApplyLook(editor, hidden, format);
        SetIfChanged(editor, QsciScintillaBase::SCI_STYLEGETVISIBLE, QsciScintillaBase::SCI_STYLESETVISIBLE, hidden, 0);
    }
}

void ApplyDefaultFormat(QsciScintilla* editor, const CSlotFormat& format)
{
    // The default style and style 0, which all text has until its first pass.
    // The other styles (line numbers, the other slots) are left as they are.
    ApplySlotStyle(editor, QsciScintillaBase::STYLE_DEFAULT, format);
    ApplySlotStyle(editor, SLOT_HTML_ELEMENT, format);
}

void ApplyStoredFormats(QsciScintilla* editor)
{
    const std::array<CSlotFormat, kSlotCount> formats = ReadStoredSlotFormats();
    for (int slot = 0; slot < kSlotCount; ++slot)
        ApplySlotStyle(editor, slot, formats[slot]);
    SetStrikeOutLook(editor);
}

void SetStrikeOutLook(QsciScintilla* editor)
{
    // The indicator marks are the text's; how they are drawn is each window's.
    constexpr long kIndicFlagValueFore = 1;   // the mark's value is its colour
    editor->SendScintilla(QsciScintillaBase::SCI_INDICSETSTYLE, kStrikeOutIndicator, QsciScintillaBase::INDIC_STRIKE);
    editor->SendScintilla(QsciScintillaBase::SCI_INDICSETFLAGS, kStrikeOutIndicator, kIndicFlagValueFore);
}

namespace {

std::atomic<ColourRules> g_rules{ColourRules::Flat};

void SendWindows(QsciScintilla* editor, CDocColourState* state, CScintillaStyleTarget& target, std::string_view text,
                 const CChangeSet& change)
{
    for (const CIncrementalColourer::Window& window : state->Colourer().Update(text, change)) {
        target.SendWindow(window);
        if (window.all)
            state->SetFeeder(nullptr);
        else if (CStyleFeeder* feeder = state->Feeder())
            feeder->Feed().Cover(window.start, static_cast<std::int64_t>(window.slotBytes.size()));
    }
    if (CFoldLevels* folds = state->FoldsIfAny()) {
        folds->Update(text, change);
        FoldMargin::ApplyVisible(editor, *folds);
    }
}

void Recolour(QsciScintilla* editor, bool whole)
{
    CDocColourState* state = CDocColourState::For(editor);
    // A whole pass is on its way: the changes gather until it comes.
    if (state->Awaiting()) {
        if (whole)
            state->Forget();
        return;
    }
    state->Colourer().SetRules(Rules());
    CScintillaStyleTarget target(editor);
    target.BeginPass();
    CChangeSet change = state->TakeChange();
    // The styles of the slots are set again above; a changed format may mean
    // strike-out marks to draw or take away anywhere, so the pass is whole.
    if (state->SwapFormats(target.Formats()) || whole)
        change.MarkAll();
    CIncrementalColourer& colourer = state->Colourer();
    if (FoldMargin::IsShown(editor))
        state->Folds();
    else
        state->DropFolds();
    std::int64_t from = colourer.ReadsFrom(change);
    if (CFoldLevels* folds = state->FoldsIfAny())
        from = std::min(from, folds->ReadsFrom(change));
    SendWindows(editor, state, target, target.TextFrom(from), change);
}

// Up to this many bytes from the top are coloured at once when a text is
// loaded and its whole pass is made elsewhere: the first screen.
constexpr std::int64_t kFirstScreen = std::int64_t{256} << 10;

} // namespace

void SetRules(ColourRules rules)
{
    g_rules = rules;
}

ColourRules Rules()
{
    return g_rules;
}

void RecolourControl(QsciScintilla* editor)
{
    Recolour(editor, false);
}

void RecolourWhole(QsciScintilla* editor)
{
    Recolour(editor, true);
}

quint64 AwaitAhead(QsciScintilla* editor)
{
    CDocColourState* state = CDocColourState::For(editor);
    state->TakeChange();
    const quint64 ticket = state->Await();
    const long length = editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH);
    // Before anything lays out a line: the tails of lines too long to draw.
    LongLineTails::Refresh(editor, 0, length);
    // The formats of the pass to come: the text is new, so no mark of
    // another format is left anywhere.
    CScintillaStyleTarget target(editor);
    target.BeginPass();
    state->SwapFormats(target.Formats());
    // The text at the top, coloured now from a pass over its start alone:
    // up to that pass's last checkpoint the slots are the whole pass's.
    const std::int64_t n = std::min<std::int64_t>(length, kFirstScreen);
    if (n <= 0)
        return ticket;
    const auto* p = reinterpret_cast<const char*>(editor->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, 0UL, static_cast<long>(n)));
    if (!p)
        return ticket;
    CIncrementalColourer::Pass top = CIncrementalColourer::WholePass(
        std::string_view(p, static_cast<std::size_t>(n)), CIncrementalColourer::kSpacing, Rules());
    const std::int64_t final = n == length ? n : (top.checkpoints.empty() ? 0 : top.checkpoints.back().pos);
    target.SendSlots(0, top.slotBytes.data(), final);
    return ticket;
}

AheadStep ColourAhead(const QByteArray& text)
{
    const std::string_view bytes(text.constData(), static_cast<std::size_t>(text.size()));
    auto pass = std::make_shared<CIncrementalColourer::Pass>(
        CIncrementalColourer::WholePass(bytes, CIncrementalColourer::kSpacing, Rules()));
    // The fold levels too, here rather than on the editor's thread, when
    // editors show folds.
    std::shared_ptr<CFoldLevels> folds;
    if (FoldMargin::Wanted()) {
        folds = std::make_shared<CFoldLevels>();
        folds->Update(bytes, CChangeSet::All());
    }
    return [pass, folds](QsciScintilla* editor, quint64 ticket) {
        CDocColourState* state = CDocColourState::For(editor);
        if (ticket != 0 && !state->EndAwait(ticket))
            return; // a newer text came meanwhile; its own pass will come
        CScintillaStyleTarget target(editor);
        target.BeginPass();
        const bool newFormats = state->SwapFormats(target.Formats());
        // The changes made since the text was given are applied to the pass
        // as to any last pass.
        CChangeSet change = state->TakeChange();
        const long length = editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH);
        if (ticket == 0 || change.IsAll() || newFormats || pass->rules != Rules() ||
            pass->length + change.Delta() != length) {
            state->Forget();
            Recolour(editor, true);
            return;
        }
        CStyleFeed feed(std::move(state->Colourer().Adopt(std::move(*pass)).slotBytes));
        feed.Apply(change);
        auto* feeder = new CStyleFeeder(editor, target, std::move(feed));
        state->SetFeeder(feeder);
        // Fold levels made for another text than this one know nothing: their
        // first update reads the whole text.
        const bool foldsAhead = folds && FoldMargin::IsShown(editor);
        if (foldsAhead)
            state->Folds() = std::move(*folds);
        else if (FoldMargin::IsShown(editor))
            state->Folds() = CFoldLevels();
        else
            state->DropFolds();
        if (!change.IsEmpty() || (state->FoldsIfAny() && !foldsAhead)) {
            std::int64_t from = state->Colourer().ReadsFrom(change);
            if (CFoldLevels* levels = state->FoldsIfAny())
                from = std::min(from, levels->ReadsFrom(change));
            SendWindows(editor, state, target, target.TextFrom(from), change);
        } else if (CFoldLevels* levels = state->FoldsIfAny()) {
            FoldMargin::ApplyVisible(editor, *levels);
        }
        feeder->GiveNext();
    };
}

void ShowCodeStyleDialog(QWidget* parent)
{
    CCodeStyleDlg dlg(parent);
    dlg.exec();
}

} // namespace ColourEditor
