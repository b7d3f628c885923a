// The font dialog of the code style dialog: face, size, style (bold, italic),
// underline and strike-out, and a text colour from the sixteen basic colours.
#pragma once

#include "SlotFontChoice.h"

#include <QDialog>

class QComboBox;
class QFont;
class QFontDialog;
class QLineEdit;
class QListView;

class CSlotFontDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on initial (as far as the font database has it), in black;
    // Escape anywhere in it closes it whole.
    explicit CSlotFontDialog(QWidget* parent = nullptr, const QFont& initial = QFont());

    // font as it can be picked: its real family, at its size, in a plain
    // style of that family (neither bold nor italic).
    static QFont PlainFont(const QFont& font);

    // The current choice, in logical-font terms at this dialog's resolution.
    CChosenFont Chosen() const;

    QFontDialog* FontPicker() const { return m_pFont; }
    // The font dialog's style list and field, which show the styles in Chinese.
    QListView* StyleList() const { return m_pStyleList; }
    QLineEdit* StyleField() const { return m_pStyleField; }
    QComboBox* ColourBox() const { return m_pColour; }
    // Selects colour in the colour box when it is one of the sixteen; returns whether it is.
    bool SelectColour(COLORREF colour);

    // A font in logical-font terms: the height of its pixel size, or of its point size at dpi.
    static CChosenFont ChosenFontFrom(const QFont& font, COLORREF colour, double dpi);

private:
    void ShowStylesInChinese();

    QFontDialog* m_pFont;
    QListView* m_pStyleList = nullptr;
    QLineEdit* m_pStyleField = nullptr;
    QComboBox* m_pColour;
};
