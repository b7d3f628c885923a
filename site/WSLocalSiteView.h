// The "LocalSite" page of the workspace bar: the site folder as a tree of
// folders and files. A double click on a file asks for command 32800 (open).
// While no site is open, a button in the empty tree asks for command 32807
// (open site).
#pragma once

#include <QWidget>

class CLocalSiteTreeCtrl;
class QPushButton;
class QTreeWidgetItem;

class CWSLocalSiteView : public QWidget
{
    Q_OBJECT
public:
    explicit CWSLocalSiteView(QWidget* parent = nullptr);
    ~CWSLocalSiteView() override;

    CLocalSiteTreeCtrl* GetTreeCtrl() const { return m_pTree; }
    QPushButton* OpenSiteButton() const { return m_pOpenSite; }

    // Shows folder as the site and remembers it for the next start.
    void OpenSite(const QString& folder);
    // Shows the site opened last, when it is still a folder.
    void OpenLastSite();

signals:
    // A command for the frame; connect it queued, so that it is posted.
    void commandRequested(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnItemDoubleClicked(QTreeWidgetItem* item);
    void UpdateOpenSiteButton();

    CLocalSiteTreeCtrl* m_pTree;
    QPushButton* m_pOpenSite;
};
