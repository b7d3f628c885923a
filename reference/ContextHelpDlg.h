// The context-help list: a small window of reference names that follows the
// word being typed in an editor, without ever taking the keyboard focus.
#pragma once

#include "ContextHelpList.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

class CAdoDatabase;
class QListWidget;
class QListWidgetItem;

class CContextHelpDlg : public QWidget, public IContextHelpList
{
    Q_OBJECT
public:
    // An entry of the user's own code: its name and the prototype the toolbar shows.
    struct CExtraEntry {
        QString name;
        QString prototype;
        bool operator==(const CExtraEntry&) const = default;
    };
    // Asked each time the list opens: the user's entries for the place typed
    // at; *membersOnly set: they are the members of a known class (after "->"
    // or "::") and stand alone in the list, else they join the reference names.
    using ExtraSource = std::function<QList<CExtraEntry>(bool* membersOnly)>;

    // mainFrame receives the posted prototype requests (QuilletEvent::ShowPrototypes
    // with the kind and the selected entry's id) and owns the window.
    explicit CContextHelpDlg(QWidget* mainFrame);

    // Fills the list with the names of one reference kind, once per kind; no
    // database leaves it empty.
    void FillContextList(int kind, CAdoDatabase* referenceDb);
    // The same fill, made when the list is first needed (shown, or its lines
    // asked for) rather than now: a start where nothing is typed never holds
    // the thousands of names.
    void FillContextListOnFirstUse(int kind, CAdoDatabase* referenceDb);
    // Showing empties the typed prefix and shows the window only when the list has
    // a line; hiding hides. Nothing happens while context help is switched off.
    void ShowContextList(bool show);
    // A typed character (navigationKey false: its code, 8 for backspace) or one of
    // the list keys Qt::Key_Up, Key_Down, Key_PageUp, Key_PageDown (true).
    void HandleContextKey(int code, bool navigationKey);
    // Switching off hides the window first.
    void SetContextHelpEnabled(bool enabled);
    bool IsContextHelpEnabled() const;
    // The selected line's text; empty when no line is selected.
    QString GetSelectedName() const;
    int CurrentKind() const;
    QString TypedPrefix() const;
    QListWidget* List() const;

    void SetExtraSource(ExtraSource source) { m_extraSource = std::move(source); }
    // A user entry's prototype by the id its line posts (below zero).
    QString ExtraPrototype(qint32 id) const;

    // IContextHelpList
    bool IsListVisible() const override;
    void PassKey(int key) override;
    void PassChar(int ch) override;
    void ShowList() override;
    void HideList() override;
    void MoveList(const QRect& screenRect) override;
    QString CurrentEntryText() const override;

signals:
    // Emitted whenever the window is shown or hidden.
    void listShown(bool visible);
    // A line was double-clicked: its name goes in as Insert (Ctrl+I) puts it.
    void entryChosen();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillPending() const;
    void SelectFirstNotBelowPrefix();
    void ApplyExtraEntries();
    void PostPrototypesOrHide();

    QWidget* m_pMainFrame;
    QListWidget* m_pList;
    bool m_bEnabled = true;
    int m_nCurrentKind = -1;
    QString m_strTypedPrefix;
    ExtraSource m_extraSource;
    QList<CExtraEntry> m_extra;        // shown now, line k with id -(k + 1)
    QList<QListWidgetItem*> m_extraItems;
    bool m_bMembersOnly = false;
    // The fill waiting for the first use; m_pPendingDb null: none.
    mutable CAdoDatabase* m_pPendingDb = nullptr;
    int m_nPendingKind = -1;
};
