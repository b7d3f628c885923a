#include "CodeEditCtrl.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWheelEvent>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <utility>

#include <algorithm>
#include <vector>
#include <QInputMethodEvent>
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include "AutoClose.h"
#include "ContextHelpList.h"
#include "EditorDisplay.h"
#include "EditorAccessibility.h"
#include "EditorHost.h"
#include "EditorZoom.h"
#include "LineEditing.h"
#include "QuilletEvent.h"

namespace {
int g_nCaretLineStart = 0;
// The editor whose typing opened the context-help list: only its changes and
// caret moves may close the list.
QPointer<CCodeEditCtrl> g_pListOwner;
bool g_bIndentWithSpaces = false;
bool g_bRecolourAsTyped = false;
constexpr int kSpacesPerLevel = 4;

bool IsListKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
           key == Qt::Key_PageDown;
}

QStringList LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

bool IsAsciiLetter(int ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool IsAsciiDigit(int ch) { return ch >= '0' && ch <= '9'; }
bool IsWordByte(int ch) { return IsAsciiLetter(ch) || IsAsciiDigit(ch) || ch == '_'; }

bool IsModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
           key == Qt::Key_NumLock || key == Qt::Key_ScrollLock || key == 0;
}

// A key that reached the editor without typing a character and that closes
// the list: Escape, and any key held with Ctrl or Alt that no shortcut took.
bool ClosesHelpList(const QKeyEvent* event)
{
    if (IsModifierKey(event->key()))
        return false;
    if (event->key() == Qt::Key_Escape)
        return true;
    return (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

// The character a key press types, as a character message would carry it:
// 13 for Enter, 8 for Backspace, 0 when the key types nothing.
int TypedChar(const QKeyEvent* event)
{
    // Keys held with Ctrl or Alt type nothing (Ctrl+Backspace deletes a word).
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (mods != Qt::NoModifier)
        return 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 13;
    if (event->key() == Qt::Key_Backspace)
        return 8;
    if (event->text().isEmpty())
        return 0;
    const QChar c = event->text().at(0);
    return c.isPrint() || c == u'\t' ? c.unicode() : 0;
}
} // namespace

CCodeEditCtrl::CCodeEditCtrl(QWidget* parent) : QsciScintilla(parent)
{
    setUtf8(true);
    setEolMode(EolUnix);
    setAutoIndent(false);
    setIndentationsUseTabs(true);
    setMarginWidth(1, 0);
    setMarginLineNumbers(0, true);
    // Line numbers in the editor's own fixed font, whatever the ten formats are.
    QFont marginFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (marginFont.pointSizeF() <= 0)
        marginFont.setPointSize(10);
    setMarginsFont(marginFont);
    UpdateMarginWidth();
    connect(this, &QsciScintilla::linesChanged, this, &CCodeEditCtrl::UpdateMarginWidth);
    // The horizontal scroll bar follows the longest line seen, not a fixed width.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    // The colourer styles the text itself (container lexing).
    SendScintilla(SCI_SETLEXER, 0);
    // Changes are reported only before they are made. QScintilla answers
    // each report after a change by counting the characters from the start
    // of the text to the change (for assistive technologies, whether any is
    // listening or not): a walk over half of a large page for every key
    // typed in its middle. The reports before carry the same position and
    // length; textChanged and linesChanged are emitted here once the change
    // is done (OnChangeDone), as QScintilla emits them only after the reports
    // left out.
    SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                OnModified(type);
                m_changeAnnouncer.OnChangeAhead(type, position, length);
            });
    EditorAccessibility::Install();
    WatchFocusForHelpList();
    // The caret pane follows every move of the caret, whatever made it
    // (keys, mouse, a search, a jump to a line, a change of the text).
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &CCodeEditCtrl::OnUpdateUi);
    // The text size is one for all editors: Scintilla's own zoom keys, which
    // would change this editor alone, give way to the frame's commands.
    for (const QsciCommand::Command zoom : {QsciCommand::ZoomIn, QsciCommand::ZoomOut}) {
        if (QsciCommand* command = standardCommands()->find(zoom)) {
            command->setKey(0);
            command->setAlternateKey(0);
        }
    }
    for (const int key : {SCK_ADD, SCK_SUBTRACT, SCK_DIVIDE})
        SendScintilla(SCI_CLEARCMDKEY, static_cast<unsigned long>(key | (SCMOD_CTRL << 16)));
    LineEditing::ReleaseKeys(this);
    SetZoomLevel(EditorZoom::Level());
    EditorDisplay::Apply(this);
}

void CCodeEditCtrl::OnUpdateUi(int updated)
{
    if ((updated & (SC_UPDATE_SELECTION | SC_UPDATE_CONTENT)) && IsCurrentEditor())
        ReportCaretPosition();
}

bool CCodeEditCtrl::IsCurrentEditor() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return !sub->mdiArea() || sub->mdiArea()->currentSubWindow() == sub;
    return true;
}

void CCodeEditCtrl::SetZoomLevel(int level)
{
    if (SendScintilla(SCI_GETZOOM) == level)
        return;
    SendScintilla(SCI_SETZOOM, static_cast<unsigned long>(level));
    // The line numbers grew or shrank with the text.
    m_nMarginDigits = 0;
    UpdateMarginWidth();
}

void CCodeEditCtrl::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        m_nWheelZoom = 0;
        QsciScintilla::wheelEvent(event);
        return;
    }
    // Ctrl and the wheel: the text size of every editor, one step a notch.
    event->accept();
    m_nWheelZoom += event->angleDelta().y();
    while (m_nWheelZoom >= QWheelEvent::DefaultDeltasPerStep) {
        m_nWheelZoom -= QWheelEvent::DefaultDeltasPerStep;
        EditorZoom::ZoomIn();
    }
    while (m_nWheelZoom <= -QWheelEvent::DefaultDeltasPerStep) {
        m_nWheelZoom += QWheelEvent::DefaultDeltasPerStep;
        EditorZoom::ZoomOut();
    }
}

QByteArray CCodeEditCtrl::WholeText() const
{
    auto* self = const_cast<CCodeEditCtrl*>(this);
    const long length = self->SendScintilla(SCI_GETLENGTH);
    const auto* data =
        reinterpret_cast<const char*>(self->SendScintilla(SCI_GETCHARACTERPOINTER));
    return data ? QByteArray(data, length) : QByteArray();
}

namespace {
// The gap left in the control's buffer after a load: a sixteenth of the
// text, at least 64 KB, at most 16 MB.
qint64 EditRoom(qint64 size)
{
    return std::clamp<qint64>(size / 16, qint64{64} << 10, qint64{16} << 20);
}
} // namespace

void CCodeEditCtrl::ShowTop()
{
    // The caret to the top and the view to the first line and column, without
    // asking the control where the caret is drawn: that would lay out the
    // first line now, before its colouring has hidden the tail of a line too
    // long to lay out (a minified file of one 10 MB line: seconds).
    SendScintilla(SCI_SETEMPTYSELECTION, 0UL);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
}

void CCodeEditCtrl::SetWholeText(const QByteArray& utf8, const std::function<void(double)>& progress)
{
    const CLoadingText loading(this);
    const bool collecting = SendScintilla(SCI_GETUNDOCOLLECTION);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
    const qsizetype size = utf8.size();
    // Room for the whole text at once: growing the buffer slice by slice
    // would copy it over and over. The room left over is the gap the first
    // edits go into; without it the first key typed into a large file would
    // copy the whole text (and its styles) into a larger buffer.
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + EditRoom(size)));
    // Slices end after a line feed, so that no character or CR LF is split.
    const qsizetype kSlice = std::clamp<qsizetype>(size / 16, qsizetype{64} << 10, qsizetype{8} << 20);
    std::vector<qsizetype> ends;
    for (qsizetype done = 0; done < size;) {
        qsizetype end = size;
        if (progress && size - done > kSlice) {
            const qsizetype lf = utf8.indexOf('\n', done + kSlice);
            end = lf < 0 ? size : lf + 1;
        }
        ends.push_back(end);
        done = end;
    }
    // The last slice first, each before the one after it: the control's
    // buffer gap, which follows the last insertion, ends up after the first
    // slice, near the caret, and each insertion moves only the slice before
    // it. In text order the gap would end at the end, and the first key
    // typed at the top would move the whole text and its styles.
    qsizetype given = 0;
    for (std::size_t k = ends.size(); k-- > 0;) {
        const qsizetype begin = k == 0 ? 0 : ends[k - 1];
        SendScintilla(SCI_SETTARGETRANGE, 0UL, 0L);
        SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(ends[k] - begin), utf8.constData() + begin);
        given += ends[k] - begin;
        if (progress && given < size)
            progress(static_cast<double>(given) / static_cast<double>(size));
    }
    SendScintilla(SCI_SETUNDOCOLLECTION, collecting ? 1UL : 0UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    ShowTop();
    UpdateMarginWidth();
}

bool CCodeEditCtrl::SetWholeText(qint64 size, const std::function<bool(const PieceSink&)>& source)
{
    const CLoadingText loading(this);
    const bool collecting = SendScintilla(SCI_GETUNDOCOLLECTION);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + EditRoom(size)));
    // Pieces go in up to their last line feed, the rest with the next one:
    // no character and no CR LF is split between two insertions.
    QByteArray carry;
    const auto add = [this](const char* p, qint64 n) {
        if (n > 0)
            SendScintilla(SCI_ADDTEXT, static_cast<unsigned long>(n), p);
    };
    const bool ok = source([&](const char* p, qint64 n) {
        qint64 lf = n - 1;
        while (lf >= 0 && p[lf] != '\n')
            --lf;
        if (lf < 0) {
            carry.append(p, static_cast<qsizetype>(n));
            return true;
        }
        add(carry.constData(), carry.size());
        carry.clear();
        add(p, lf + 1);
        carry.append(p + lf + 1, static_cast<qsizetype>(n - lf - 1));
        return true;
    });
    add(carry.constData(), carry.size());
    SendScintilla(SCI_SETUNDOCOLLECTION, collecting ? 1UL : 0UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    ShowTop();
    UpdateMarginWidth();
    return ok;
}

void CCodeEditCtrl::WatchFocusForHelpList()
{
    // The focus may leave the editor for a menu and then go on elsewhere (a
    // dialog the menu opened, another editor window): the list goes as soon
    // as the focus lands anywhere but a menu or the editor that opened it.
    static bool watching = false;
    if (watching)
        return;
    watching = true;
    connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
        IContextHelpList* list = EditorHost::HelpList();
        if (!list || !list->IsListVisible() || !g_pListOwner || now == g_pListOwner)
            return;
        for (QWidget* w = now; w; w = w->parentWidget())
            if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w))
                return;
        list->HideList();
    });
}

void CCodeEditCtrl::UpdateMarginWidth()
{
    // Room for the largest line number and one digit more, never fewer than five.
    const int digits = std::max(4, static_cast<int>(QString::number(std::max(lines(), 1)).size())) + 1;
    if (digits == m_nMarginDigits)
        return;
    m_nMarginDigits = digits;
    setMarginWidth(0, QString(digits, u'9'));
}

int CCodeEditCtrl::SelectionStart() const
{
    return static_cast<int>(const_cast<CCodeEditCtrl*>(this)->SendScintilla(SCI_GETSELECTIONSTART));
}

int CCodeEditCtrl::SelectionEnd() const
{
    return static_cast<int>(const_cast<CCodeEditCtrl*>(this)->SendScintilla(SCI_GETSELECTIONEND));
}

void CCodeEditCtrl::SetSelection(int start, int end)
{
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
}

void CCodeEditCtrl::ReplaceSelection(const QByteArray& utf8)
{
    SendScintilla(SCI_REPLACESEL, 0UL, utf8.constData());
}

bool CCodeEditCtrl::CanPaste() const
{
    // Scintilla only says whether the text may change; whether there is
    // anything to paste is the clipboard's to say.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return !isReadOnly() && data && data->hasText();
}

int CCodeEditCtrl::CaretLineStart() { return g_nCaretLineStart; }
void CCodeEditCtrl::ResetCaretLineStart(int value) { g_nCaretLineStart = value; }

void CCodeEditCtrl::ReportCaretPosition()
{
    const long end = SelectionEnd();
    const long caretLine = SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS));
    const long lineOfEnd = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(end));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(caretLine));
    // Columns count characters, not bytes, so Chinese text counts one each.
    const long column =
        end >= lineStart ? SendScintilla(SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), end)
                         : end - lineStart;
    CQuilletEvent::Post(EditorHost::MainWindow(), QuilletEvent::CaretPos, lineOfEnd + 1, column + 1);
}

void CCodeEditCtrl::keyPressEvent(QKeyEvent* event)
{
    IContextHelpList* list = EditorHost::HelpList();
    const bool listUp = list && list->IsListVisible();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (IsListKey(event->key()) && plain && listUp) {
        // The list moves its selection; the caret stays where it is.
        list->PassKey(event->key());
        event->accept();
    } else if (const int ch = TypedChar(event)) {
        OnCharTyped(ch, event);
    } else {
        if (listUp && ClosesHelpList(event))
            HideOwnHelpList();
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            // A chord no command took runs the control's own key command, if
            // it has one, and never types its character (Ctrl+= is no "=").
            QKeyEvent chord(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                            event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                            event->isAutoRepeat(), event->count());
            QsciScintilla::keyPressEvent(&chord);
            event->setAccepted(chord.isAccepted());
        } else {
            QsciScintilla::keyPressEvent(event);
        }
        HideHelpListIfCaretLeft();
    }
    ReportCaretPosition();
    setFocus();
}

void CCodeEditCtrl::inputMethodEvent(QInputMethodEvent* event)
{
    // Text an input method commits is typed text: a Chinese word closes the
    // list as any other character that is not part of a name.
    const QString committed = event->commitString();
    ++m_nTyping;
    QsciScintilla::inputMethodEvent(event);
    --m_nTyping;
    if (committed.isEmpty())
        return;
    for (const QChar c : committed)
        DriveHelpList(c.unicode());
    ReportCaretPosition();
}

void CCodeEditCtrl::OnCharTyped(int ch, QKeyEvent* event)
{
    const bool typedOver = AutoClose::TypeOver(this, ch);
    if (ch == '}' && !typedOver)
        RemoveBlankBeforeBrace();
    ++m_nTyping;
    // The new line and its indentation, a character and the partner
    // auto-close gives it: each undoes as one step.
    const bool group = ch == 13 || AutoClose::MayClose(ch);
    if (group)
        SendScintilla(SCI_BEGINUNDOACTION);
    if (!typedOver)
        QsciScintilla::keyPressEvent(event);
    if (ch == 13)
        IndentNewLine();
    if (!typedOver)
        AutoClose::AfterChar(this, ch);
    if (group)
        SendScintilla(SCI_ENDUNDOACTION);
    --m_nTyping;
    DriveHelpList(ch);
}

void CCodeEditCtrl::SetIndentWithSpaces(bool on) { g_bIndentWithSpaces = on; }
bool CCodeEditCtrl::IndentWithSpaces() { return g_bIndentWithSpaces; }
void CCodeEditCtrl::SetRecolourAsTyped(bool on) { g_bRecolourAsTyped = on; }

void CCodeEditCtrl::RemoveBlankBeforeBrace()
{
    if (g_bIndentWithSpaces) {
        TakeBackOneLevel();
        return;
    }
    const int start = SelectionStart();
    const int end = SelectionEnd();
    if (start != end || start <= 0)
        return;
    const int prev = static_cast<int>(SendScintilla(SCI_POSITIONBEFORE, static_cast<unsigned long>(start)));
    const int before = static_cast<int>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(prev)));
    if (start - prev == 1 && (before == ' ' || before == '\t')) {
        SetSelection(prev, start);
        SendScintilla(SCI_CLEAR);
    }
}

void CCodeEditCtrl::TakeBackOneLevel()
{
    const int caret = SelectionStart();
    if (caret != SelectionEnd())
        return;
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const int lineStart = static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
    const int lineEnd = static_cast<int>(SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line)));
    // Only on a line of nothing but blanks: a brace after code stays where typed.
    for (int pos = lineStart; pos < lineEnd; ++pos) {
        const int c = static_cast<int>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(pos)));
        if (c != ' ' && c != '\t')
            return;
    }
    int from = caret;
    if (from > lineStart && SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(from - 1)) == '\t') {
        --from;
    } else {
        while (from > lineStart && caret - from < kSpacesPerLevel &&
               SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(from - 1)) == ' ')
            --from;
    }
    if (from < caret) {
        SetSelection(from, caret);
        SendScintilla(SCI_CLEAR);
    }
}

void CCodeEditCtrl::IndentNewLineWithBlanks()
{
    const long caret = SelectionEnd();
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    if (line <= 0)
        return;
    const long prevStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1));
    const long prevEnd = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line - 1));
    QByteArray prev;
    for (long pos = prevStart; pos < prevEnd; ++pos)
        prev.append(static_cast<char>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(pos))));
    qsizetype lead = 0;
    while (lead < prev.size() && (prev.at(lead) == ' ' || prev.at(lead) == '\t'))
        ++lead;
    QByteArray indent = prev.left(lead);
    const QByteArray code = prev.trimmed();
    if (code.startsWith('{') || code.endsWith('{')) {
        const bool tabs = !indent.isEmpty() && indent.count('\t') == indent.size();
        indent += tabs ? QByteArray("\t") : QByteArray(kSpacesPerLevel, ' ');
    }
    if (!indent.isEmpty()) {
        SetSelection(static_cast<int>(caret), static_cast<int>(caret));
        ReplaceSelection(indent);
    }
}

void CCodeEditCtrl::IndentNewLine()
{
    if (g_bIndentWithSpaces) {
        IndentNewLineWithBlanks();
        return;
    }
    const long caret = SelectionEnd();
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(SelectionStart()));
    if (line <= 0)
        return;
    const long prevStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1));
    QByteArray text;
    for (long pos = prevStart; pos < caret; ++pos)
        text.append(static_cast<char>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(pos))));
    int tabs = 0;
    while (tabs < text.size() && text.at(tabs) == '\t')
        ++tabs;
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t' || text.at(i) == '\r' ||
                               text.at(i) == '\n'))
        ++i;
    if (i < text.size() && text.at(i) == '{')
        ++tabs;
    if (tabs > 0) {
        SetSelection(caret, caret);
        ReplaceSelection(QByteArray(tabs, '\t'));
    }
    const int end = SelectionEnd();
    SetSelection(end, end);
}

void CCodeEditCtrl::DriveHelpList(int ch)
{
    IContextHelpList* list = EditorHost::HelpList();
    if (!list)
        return;
    if (!list->IsListVisible() && (IsAsciiLetter(ch) || ch == '_')) {
        const QRect r = viewport()->rect();
        const int start = SelectionStart();
        m_nWordStart = start - 1;
        const int x = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(start)));
        const int y = static_cast<int>(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, static_cast<long>(start)));
        const bool below = y < r.bottom() - 150;
        const QPoint screen = viewport()->mapToGlobal(QPoint(x, y));
        list->MoveList(QRect(screen.x(), below ? screen.y() + 20 : screen.y() - 150, 200, 150));
        g_pListOwner = this;
        list->ShowList();
    }
    if (list->IsListVisible()) {
        if (!IsAsciiDigit(ch) && !IsAsciiLetter(ch) && ch != '_' && ch != 8)
            list->HideList();
        list->PassChar(ch);
    }
}

bool CCodeEditCtrl::IsCaretInTypedWord() const
{
    auto* self = const_cast<CCodeEditCtrl*>(this);
    const int caret = SelectionEnd();
    if (caret <= m_nWordStart || m_nWordStart < 0)
        return false;
    const long wordLine = self->SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(m_nWordStart));
    if (self->SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret)) != wordLine)
        return false;
    for (int pos = m_nWordStart; pos < caret; ++pos)
        if (!IsWordByte(static_cast<int>(self->SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(pos)))))
            return false;
    return true;
}

void CCodeEditCtrl::HideOwnHelpList()
{
    IContextHelpList* list = EditorHost::HelpList();
    if (list && list->IsListVisible() && g_pListOwner == this)
        list->HideList();
}

void CCodeEditCtrl::HideHelpListIfCaretLeft()
{
    if (m_nTyping == 0 && !IsCaretInTypedWord())
        HideOwnHelpList();
}

void CCodeEditCtrl::OnModified(int type)
{
    if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
        return;
    ++m_nChangeCount;
    // Scintilla reports each modification before it is made; the rest runs
    // once the whole change (caret included) is done.
    if (!m_bChangePending) {
        m_bChangePending = true;
        QTimer::singleShot(0, this, &CCodeEditCtrl::OnChangeDone);
    }
    // Undo, redo, cut, paste, Delete, a change made through another window on
    // the same text: anything but typing in this editor ends the word.
    if (m_nTyping > 0 && !(type & (SC_PERFORMED_UNDO | SC_PERFORMED_REDO)))
        return;
    HideOwnHelpList();
}

void CCodeEditCtrl::mousePressEvent(QMouseEvent* event)
{
    QsciScintilla::mousePressEvent(event);
    ReportCaretPosition();
    // The right button opens the context menu and leaves the list alone.
    if (event->button() == Qt::LeftButton)
        if (IContextHelpList* list = EditorHost::HelpList())
            list->HideList();
}

void CCodeEditCtrl::focusOutEvent(QFocusEvent* event)
{
    QsciScintilla::focusOutEvent(event);
    // A menu opening (the menu bar's or the context menu) borrows the focus
    // for its choice: the list stays for 编辑 → 插入.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::MenuBarFocusReason)
        return;
    if (IContextHelpList* list = EditorHost::HelpList())
        list->HideList();
}

void CCodeEditCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    // The view owns the context menu; the editor only passes the request on.
    emit contextMenuWanted(event->globalPos());
    event->accept();
}

CCodeEditCtrl::CLoadingText::CLoadingText(CCodeEditCtrl* editor) : m_pEditor(editor)
{
    ++editor->m_nLoading;
}

CCodeEditCtrl::CLoadingText::~CLoadingText()
{
    // The changes the load made are done once, now that the whole text is in.
    if (--m_pEditor->m_nLoading == 0 && std::exchange(m_pEditor->m_bChangeDuringLoad, false) &&
        !m_pEditor->m_bChangePending) {
        m_pEditor->m_bChangePending = true;
        QTimer::singleShot(0, m_pEditor, &CCodeEditCtrl::OnChangeDone);
    }
}

void CCodeEditCtrl::OnChangeDone()
{
    m_bChangePending = false;
    // A text going in by slices (events run between them to move a progress
    // bar) is not done until the last slice: recolouring each slice as a
    // change would colour the text over and over while it loads.
    if (m_nLoading > 0) {
        m_bChangeDuringLoad = true;
        return;
    }
    m_changeAnnouncer.Flush();
    const int lineCount = lines();
    if (lineCount != m_nLines) {
        m_nLines = lineCount;
        emit linesChanged();
    }
    emit textChanged();
    CheckRecolour();
}

void CCodeEditCtrl::CheckRecolour()
{
    const long s = SelectionStart();
    const int l = static_cast<int>(
        SendScintilla(SCI_POSITIONFROMLINE, SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(s))));
    if (l != g_nCaretLineStart || g_bRecolourAsTyped)
        EditorHost::Recolour(this);
    g_nCaretLineStart = l;
}

// Files dragged onto the editor are opened as documents; dragged text is
// inserted as usual.
void CCodeEditCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QsciScintilla::dragEnterEvent(event);
}

void CCodeEditCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QsciScintilla::dragMoveEvent(event);
}

void CCodeEditCtrl::dropEvent(QDropEvent* event)
{
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return QsciScintilla::dropEvent(event);
    event->acceptProposedAction();
    EditorHost::OpenFiles(files);
}
