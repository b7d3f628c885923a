// The go-to-line question: a line number between 1 and the document's last line.
#pragma once

#include <QDialog>
#include <optional>

class QSpinBox;

class CGoToLineDlg : public QDialog
{
    Q_OBJECT
public:
    CGoToLineDlg(int current, int lineCount, QWidget* parent);
    int Line() const;
    QSpinBox* LineBox() const { return m_pLine; }

    // Asks modally; nothing when the user cancels.
    static std::optional<int> Ask(QWidget* parent, int current, int lineCount);

private:
    QSpinBox* m_pLine;
};
