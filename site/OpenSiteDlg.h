// The "打开站点" dialog: the volumes as a tree of folders and a path field
// that follows the selected folder and takes a typed or pasted path. It
// opens on the start folder; OK takes the folder the field names and does
// nothing while it names no folder.
#pragma once

#include <QDialog>

class CFolderTreeCtrl;
class QLineEdit;
class QTreeWidgetItem;

class COpenSiteDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDialogId = 151;
    static constexpr int kTreeId = 1004;

    // startFolder empty: the tree opens with the volumes only.
    explicit COpenSiteDlg(QWidget* parent = nullptr, const QString& startFolder = QString());

    CFolderTreeCtrl* Tree() const { return m_pTree; }
    QLineEdit* PathEdit() const { return m_pPath; }
    // The chosen folder once the dialog ended with OK.
    const QString& SitePath() const { return m_strSitePath; }

    void accept() override;

private:
    void OnSelectionChanged();
    void OnPathRevealed(QTreeWidgetItem* item);

    CFolderTreeCtrl* m_pTree;
    QLineEdit* m_pPath;
    QString m_strSitePath;
};
