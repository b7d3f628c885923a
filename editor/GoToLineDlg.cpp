#include "GoToLineDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

CGoToLineDlg::CGoToLineDlg(int current, int lineCount, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("转到行"));
    lineCount = std::max(1, lineCount);
    m_pLine = new QSpinBox(this);
    m_pLine->setObjectName(QStringLiteral("lineNumber"));
    // Only numbers in range can be typed; Enter takes the number, Escape cancels.
    m_pLine->setRange(1, lineCount);
    m_pLine->setValue(std::clamp(current, 1, lineCount));
    m_pLine->setButtonSymbols(QAbstractSpinBox::NoButtons);
    auto* label = new QLabel(QStringLiteral("行号 (1 - %1):").arg(lineCount), this);
    label->setBuddy(m_pLine);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_pLine);
    layout->addWidget(buttons);
    m_pLine->selectAll();
    m_pLine->setFocus();
}

int CGoToLineDlg::Line() const
{
    return m_pLine->value();
}

std::optional<int> CGoToLineDlg::Ask(QWidget* parent, int current, int lineCount)
{
    CGoToLineDlg dlg(current, lineCount, parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.Line();
}
