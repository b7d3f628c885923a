// Hands a whole-text pass's styles to an editor a slice per turn of the event
// loop, the text on screen first, so that a large file shows its text and
// takes keys while the rest of its styles are still being given. It goes
// once every byte has its styles.
#pragma once

#include "ScintillaStyleTarget.h"
#include "StyleFeed.h"

#include <QObject>
#include <QTimer>

class QsciScintilla;

class CStyleFeeder : public QObject {
    Q_OBJECT
public:
    // Bytes given per turn: a few milliseconds of the control's styling.
    static constexpr std::int64_t kSlice = std::int64_t{1} << 20;

    CStyleFeeder(QsciScintilla* editor, const CScintillaStyleTarget& target, CStyleFeed feed);

    CStyleFeed& Feed() { return m_feed; }
    // Gives the next slice: from the first line on screen on while any there
    // are still to give, else from the first bytes still to give.
    void GiveNext();

private:
    void Tick();
    std::int64_t FirstVisible() const;

    QsciScintilla* m_pEditor;
    CScintillaStyleTarget m_target;
    CStyleFeed m_feed;
    QTimer m_timer;
};
