// The code style dialog: one button per slot opens a font dialog for that slot.
#pragma once

#include <QDialog>

class QPushButton;

class CCodeStyleDlg : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 156 };

    explicit CCodeStyleDlg(QWidget* parent = nullptr);

    // The push button with control id (1 for "关闭", 1007..1016 for the slots).
    QPushButton* Button(int id) const;

    // Shows the font dialog and, on OK, stores the choice as slot's seven values.
    void ChooseSlotFont(int slot);

private:
    int DluX(int dlu) const;
    int DluY(int dlu) const;
    void Place(QWidget* w, int x, int y, int cx, int cy) const;
};
