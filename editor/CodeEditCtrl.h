// The editor control: a QScintilla editor that keeps indentation on Enter,
// takes back one blank before a typed "}", reports its caret to the main
// window, drives the context-help list and triggers re-colouring.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <functional>

#include "EditorAccessibility.h"

class CCodeEditCtrl : public QsciScintilla
{
    Q_OBJECT
public:
    explicit CCodeEditCtrl(QWidget* parent = nullptr);

    // The control's entire text, byte for byte (UTF-8, line breaks and NULs
    // as stored); positions into it are the control's positions.
    QByteArray WholeText() const;
    // Replaces the whole text with utf8 without going through key handling;
    // a long text goes in slices of whole lines, with progress told the
    // share given so far (0..1) after each.
    void SetWholeText(const QByteArray& utf8, const std::function<void(double)>& progress = {});
    // The same for a text of size bytes that source hands over in pieces
    // (to the function it is given, which says whether to go on), so that it
    // is never held whole outside the control. False when source fails.
    using PieceSink = std::function<bool(const char*, qint64)>;
    bool SetWholeText(qint64 size, const std::function<bool(const PieceSink&)>& source);

    // How many changes the text has had: a step prepared for the text as it
    // was can tell whether it still is.
    quint64 ChangeCount() const { return m_nChangeCount; }

    int WordStart() const { return m_nWordStart; }
    void SetWordStart(int pos) { m_nWordStart = pos; }
    // Whether the caret is still in the word the context-help list was opened
    // for: on the word start's line, after it, with only word characters
    // between; only then may Insert replace that stretch.
    bool IsCaretInTypedWord() const;

    // Posts the caret's line and column (from 1) to the main window.
    void ReportCaretPosition();
    // Whether this editor is the one the main window shows as current: the
    // current window of its window area, or an editor outside any.
    bool IsCurrentEditor() const;

    // Points added to every font size (EditorZoom sets it on every editor).
    void SetZoomLevel(int level);

    // Selection as start and end positions (start <= end).
    int SelectionStart() const;
    int SelectionEnd() const;
    void SetSelection(int start, int end);
    void ReplaceSelection(const QByteArray& utf8);
    bool CanPaste() const;

    // Indentation with spaces (a setting, off by default): Enter repeats the
    // previous line's blanks as they are and "}" takes back a whole level.
    static void SetIndentWithSpaces(bool on);
    static bool IndentWithSpaces();
    // Whether the text is recoloured after every change, not only when the
    // caret's line has changed since the last.
    static void SetRecolourAsTyped(bool on);

    // The line start recorded by the last change notification of any editor.
    static int CaretLineStart();
    static void ResetCaretLineStart(int value = 0);

signals:
    void contextMenuWanted(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ShowTop();
    void OnCharTyped(int ch, QKeyEvent* event);
    void RemoveBlankBeforeBrace();
    void IndentNewLine();
    void IndentNewLineWithBlanks();
    void TakeBackOneLevel();
    void DriveHelpList(int ch);
    void HideHelpListIfCaretLeft();
    void OnModified(int type);
    void HideOwnHelpList();
    void OnChangeDone();
    void CheckRecolour();
    void UpdateMarginWidth();
    void OnUpdateUi(int updated);
    static void WatchFocusForHelpList();

    int m_nWordStart = 0;
    // Above zero while a typed character is being put in: the list follows
    // those changes itself, every other change of the text closes it.
    int m_nTyping = 0;
    int m_nMarginDigits = 0;
    int m_nWheelZoom = 0;   // wheel turns with Ctrl held, not yet a whole step
    int m_nLines = 1;   // the line count linesChanged last reported
    quint64 m_nChangeCount = 0;
    bool m_bChangePending = false;
    // While the whole text is being replaced, the changes' end is held back.
    class CLoadingText
    {
    public:
        explicit CLoadingText(CCodeEditCtrl* editor);
        ~CLoadingText();

    private:
        CCodeEditCtrl* m_pEditor;
    };
    int m_nLoading = 0;
    bool m_bChangeDuringLoad = false;
    EditorAccessibility::CChangeAnnouncer m_changeAnnouncer{this};
};
