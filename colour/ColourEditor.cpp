#include "ColourEditor.h"

#include "CodeStyleDlg.h"
#include "DocColourState.h"
#include "FoldMargin.h"
#include "ScintillaStyleTarget.h"
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

void ApplySlotStyle(QsciScintilla* editor, int style, const CSlotFormat& format)
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

void Recolour(QsciScintilla* editor, bool whole)
{
    CDocColourState* state = CDocColourState::For(editor);
    state->Colourer().SetRules(Rules());
    CScintillaStyleTarget target(editor);
    target.BeginPass();
    CChangeSet change = state->TakeChange();
    // The styles of the slots are set again above; a changed format may mean
    // strike-out marks to draw or take away anywhere, so the pass is whole.
    if (state->SwapFormats(target.Formats()) || whole)
        change.MarkAll();
    CIncrementalColourer& colourer = state->Colourer();
    CFoldLevels* folds = nullptr;
    if (FoldMargin::IsShown(editor))
        folds = &state->Folds();
    else
        state->DropFolds();
    std::int64_t from = colourer.ReadsFrom(change);
    if (folds)
        from = std::min(from, folds->ReadsFrom(change));
    const std::string_view text = target.TextFrom(from);
    for (const CIncrementalColourer::Window& window : colourer.Update(text, change))
        target.SendWindow(window);
    if (folds) {
        folds->Update(text, change);
        FoldMargin::ApplyVisible(editor, *folds);
    }
}

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
        CChangeSet all;
        all.MarkAll();
        folds->Update(bytes, all);
    }
    return [pass, folds](QsciScintilla* editor, const std::function<void(double)>& progress) {
        CDocColourState* state = CDocColourState::For(editor);
        CScintillaStyleTarget target(editor);
        target.BeginPass();
        state->TakeChange();
        state->SwapFormats(target.Formats());
        if (static_cast<std::int64_t>(target.Text().size()) != pass->length || pass->rules != Rules()) {
            state->Forget();
            Recolour(editor, true);
            return;
        }
        target.SendWindow(state->Colourer().Adopt(std::move(*pass)), progress);
        if (FoldMargin::IsShown(editor)) {
            if (folds) {
                state->Folds() = std::move(*folds);
            } else {
                CChangeSet all;
                all.MarkAll();
                state->Folds().Update(target.Text(), all);
            }
            FoldMargin::ApplyVisible(editor, state->Folds());
        }
    };
}

void ShowCodeStyleDialog(QWidget* parent)
{
    CCodeStyleDlg dlg(parent);
    dlg.exec();
}

} // namespace ColourEditor
