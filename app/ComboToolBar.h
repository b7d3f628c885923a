// The main toolbar, with the read-only combo box that shows prototypes.
#pragma once

#include <QToolBar>

class QComboBox;

class CComboToolBar : public QToolBar
{
    Q_OBJECT
public:
    static constexpr int kSlotWidth = 605;
    static constexpr int kComboWidth = 300;
    static constexpr int kDropDownHeight = 200;

    explicit CComboToolBar(QWidget* parent = nullptr);

    // Turns the slot action (command 32815) into the combo box's place.
    void CreateCombo(QAction* slot);
    QComboBox* Combo() const { return m_pCombo; }
    bool HasCombo() const { return m_bComboCreated; }

    // Fills the combo box with the pieces of text and selects the first one.
    void SetComboText(const QString& text);

private:
    QComboBox* m_pCombo = nullptr;
    bool m_bComboCreated = false;
};
