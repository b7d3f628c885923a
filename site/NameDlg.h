// Asks for the name of a new file (mode 1) or folder (mode 2); modes 3 and 4
// ask for a new name, any other mode says the dialog was called wrongly.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

class CNameDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDialogId = 149;
    static constexpr int kLabelId = 1002;
    static constexpr int kNameId = 1003;
    enum Mode { NewFile = 1, NewFolder = 2, RenameFile = 3, RenameFolder = 4 };

    explicit CNameDlg(int mode = 0, QWidget* parent = nullptr);

    void SetMode(int mode);
    int GetMode() const { return m_nMode; }
    // The name as typed.
    QString GetName() const;
    void SetName(const QString& name);
    QString GetLabel() const { return m_strLabel; }
    QLineEdit* NameEdit() const { return m_pEdit; }

    // The caption and label of a mode.
    static QString CaptionFor(int mode);
    static QString LabelFor(int mode);

private:
    int m_nMode = 0;
    QString m_strLabel;
    QLabel* m_pLabel;
    QLineEdit* m_pEdit;
};
