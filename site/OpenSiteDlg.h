// The "打开站点" dialog: the volumes as a tree of folders; OK takes the
// selected folder as the site and does nothing while a file or nothing is selected.
#pragma once

#include <QDialog>

class CFolderTreeCtrl;

class COpenSiteDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDialogId = 151;
    static constexpr int kTreeId = 1004;

    explicit COpenSiteDlg(QWidget* parent = nullptr);

    CFolderTreeCtrl* Tree() const { return m_pTree; }
    // The chosen folder once the dialog ended with OK.
    const QString& SitePath() const { return m_strSitePath; }

    void accept() override;

private:
    CFolderTreeCtrl* m_pTree;
    QString m_strSitePath;
};
