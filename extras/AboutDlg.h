// The About box: the program's icon, name and version, the author's lines,
// OK, and a hyperlink to the maker's web site.
#pragma once

#include <QDialog>

class CHyperLink;
class QPushButton;

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDialogId = 100;
    static constexpr int kLinkId = 1001;
    // The maker's web site.
    static QString MakerAddress();

    explicit CAboutDlg(QWidget* parent = nullptr);

    // Shows the box modally over parent; when it closes, the widget that had
    // the keyboard focus before has it again.
    static void DoModal(QWidget* parent);

    CHyperLink* Link() const { return m_pLink; }
    QPushButton* OkButton() const { return m_pOk; }

private:
    // A rectangle given in dialog units of this dialog's font, in pixels.
    QRect DialogRect(int x, int y, int width, int height) const;

    CHyperLink* m_pLink = nullptr;
    QPushButton* m_pOk = nullptr;
};
