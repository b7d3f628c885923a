// The find and replace dialog: modeless, it stays open while the user edits
// and always works on the editor that is active at the moment.
#pragma once

#include <QDialog>
#include <functional>

#include "EditorSearch.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QsciScintilla;

class CFindReplaceDlg : public QDialog
{
    Q_OBJECT
public:
    using EditorProvider = std::function<QsciScintilla*()>;
    CFindReplaceDlg(EditorProvider activeEditor, QWidget* parent);

    // Shows the dialog as "查找" or "替换", prefilled with the active editor's
    // one-line selection or else the last search, the keyboard focus and a
    // selection in 查找内容.
    void Open(bool replace);
    bool IsReplaceMode() const { return m_bReplace; }

    // The last search again (F3, Shift+F3); false when there is none yet.
    bool Repeat(bool backward);
    CFindOptions Options() const;
    bool HasSearch() const { return !m_lastSearch.strText.isEmpty(); }

    QComboBox* FindBox() const { return m_pFind; }
    QLineEdit* ReplaceBox() const { return m_pReplace; }

    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();

protected:
    // Closing gives the keyboard back to the editor the dialog worked on.
    void hideEvent(QHideEvent* event) override;

signals:
    // A text for the status bar ("找不到“…”", "已替换 N 处。").
    void statusMessage(const QString& text);

private:
    // The dialog's options, remembered in the history; the editor to search,
    // or none when there is nothing to search for or nowhere to search.
    QsciScintilla* StartSearch(CFindOptions& options);
    void Remember(const CFindOptions& options);
    void ReportNotFound(const QString& text);
    // Says in a message box why a regular expression could not be searched
    // for; false when the search went as searches go.
    bool ReportFailure(const CFindOptions& options, const CSearchResult& result);
    // A find's result told: a failure in a box, "找不到" in the status bar.
    void Report(const CFindOptions& options, const CSearchResult& result);
    // Moves the dialog off the editor's selection (the match just found).
    void KeepMatchVisible(QsciScintilla* editor);

    EditorProvider m_activeEditor;
    QComboBox* m_pFind;
    QLabel* m_pReplaceLabel;
    QLineEdit* m_pReplace;
    QCheckBox* m_pMatchCase;
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pRegExp;
    QCheckBox* m_pBackward;
    QPushButton* m_pReplaceButton;
    QPushButton* m_pReplaceAllButton;
    CFindOptions m_lastSearch;
    bool m_bReplace = false;
};
