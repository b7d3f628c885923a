// The main frame's local-site commands: "打开站点", and opening, creating
// and deleting the files and folders selected on the LocalSite page.
#pragma once

#include <QObject>
#include <QString>

class CDocTemplate;
class CLocalSiteTreeCtrl;
class CQuilletView;
class CWSLocalSiteView;
class IFrameAccess;
class QTreeWidgetItem;

class CSiteCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the commands with frame, which owns this object.
    CSiteCommands(IFrameAccess* frame, CDocTemplate* docTemplate);

    // The LocalSite page, its double clicks and menus bound to the frame.
    CWSLocalSiteView* CreatePage();

    void OnOpenSite();
    void OnOpenSiteFile();
    void OnDeleteSiteFile();
    void OnNewSiteFolder();
    void OnDeleteSiteFolder();
    void OnNewSiteFile();

    // The first view of the open document whose path is path, letter case
    // counting; nullptr when it is not open.
    CQuilletView* FindOpenView(const QString& path) const;

    // Said when a new entry's name is taken, before the path.
    static QString ExistsText();

    // Which files open in an editor window (see SiteOpenRules).
    const QString m_strSiteExtensions;

private:
    // The question asked before deleting the entry at path (kind "文件" or "文件夹").
    static QString DeleteQuestion(const QString& kind, const QString& path);
    CWSLocalSiteView* Page() const;
    CLocalSiteTreeCtrl* Tree() const;
    QTreeWidgetItem* SelectedItem() const;
    void NewEntry(int mode);

    IFrameAccess* m_pFrame;
    CDocTemplate* m_pDocTemplate;
};
