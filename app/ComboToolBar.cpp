#include "ComboToolBar.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>

#include "CommandIds.h"
#include "core/ComboText.h"

CComboToolBar::CComboToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("mainToolBar"));
    setIconSize(QSize(16, 16));
    setMovable(true);
    setFloatable(true);
}

void CComboToolBar::CreateCombo(QAction* slot)
{
    if (m_bComboCreated || !slot)
        return;
    // A fixed-width place in the toolbar holds the combo box at its left.
    auto* place = new QWidget(this);
    place->setFixedWidth(kSlotWidth);
    auto* layout = new QHBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pCombo = new QComboBox(place);
    m_pCombo->setObjectName(QStringLiteral("prototypeCombo"));
    m_pCombo->setProperty("ctrlId", CtrlId::ToolbarCombo);
    m_pCombo->setFixedWidth(kComboWidth);
    m_pCombo->setEditable(false);
    m_pCombo->setFocusPolicy(Qt::NoFocus);
    m_pCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const int rowHeight = qMax(1, m_pCombo->fontMetrics().height() + 4);
    m_pCombo->setMaxVisibleItems(qMax(1, kDropDownHeight / rowHeight));
    layout->addWidget(m_pCombo);
    layout->addStretch(1);
    insertWidget(slot, place);
    removeAction(slot);
    m_bComboCreated = true;
}

void CComboToolBar::SetComboText(const QString& text)
{
    if (!m_bComboCreated)
        return;
    m_pCombo->clear();
    m_pCombo->addItems(SplitComboText(text));
    m_pCombo->setCurrentIndex(0);
}
