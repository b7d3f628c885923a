// The workspace bar: a docking bar holding pages (views), one visible at a time,
// chosen by tabs along its bottom.
#pragma once

#include "DockingBar.h"

#include <QList>
#include <QString>

class QTabWidget;

class CWorkspaceBar : public CDockingBar {
    Q_OBJECT
public:
    static constexpr int kMaxTitleLength = 31;

    explicit CWorkspaceBar(const QString& title = QStringLiteral("Workspace"),
                           const QSize& defaultSize = QSize(220, 200), QWidget* parent = nullptr);
    ~CWorkspaceBar() override;

    // Appends a page with a tab titled title (cut to 31 characters). The bar takes
    // ownership of view. The first page added is the active one. False for no view.
    bool AddView(const QString& title, QWidget* view);

    // Shows page index and gives it the keyboard focus. Nothing for -1, for the page
    // already active or for an index that has no page.
    void SetActiveView(int index);
    int GetActiveIndex() const { return m_nActiveIndex; }
    // The page's view, nullptr for -1 or an index that has no page.
    QWidget* GetView(int index) const;
    int GetViewCount() const { return static_cast<int>(m_listPages.size()); }
    QString GetViewTitle(int index) const;

    // Tab i shows image i; pages added later pick up their image too.
    void SetTabImages(const QList<QIcon>& images);

    QTabWidget* TabControl() const { return m_pTabs; }

signals:
    // The active page changed, by a tab click, a command or any other way.
    void activeViewChanged(int index);

private:
    struct CPageRecord {
        QWidget* pView;
        QString strTitle;
    };

    void OnTabChanged(int index);
    void ApplyTabImages();

    QTabWidget* m_pTabs;
    QList<CPageRecord> m_listPages;
    QList<QIcon> m_listTabImages;
    int m_nActiveIndex = 0;
};
