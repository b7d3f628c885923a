// 在文件中查找: what to look for, in which files, under which folder.
#pragma once

#include <QDialog>

#include "core/FileSearch.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class CFindInFilesDlg : public QDialog
{
    Q_OBJECT
public:
    CFindInFilesDlg(const QString& folder, const QString& text, QWidget* parent);

    CFileSearchOptions Options() const;
    QString Folder() const;

    QComboBox* TextBox() const { return m_pText; }
    QLineEdit* PatternsBox() const { return m_pPatterns; }
    QLineEdit* FolderBox() const { return m_pFolder; }

    void accept() override;

private:
    QComboBox* m_pText;
    QLineEdit* m_pPatterns;
    QLineEdit* m_pFolder;
    QCheckBox* m_pMatchCase;
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pRegExp;
};
