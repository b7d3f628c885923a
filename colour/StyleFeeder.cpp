#include "StyleFeeder.h"

#include <Qsci/qsciscintilla.h>

namespace {
using Sci = QsciScintillaBase;
} // namespace

CStyleFeeder::CStyleFeeder(QsciScintilla* editor, const CScintillaStyleTarget& target, CStyleFeed feed)
    : QObject(editor), m_pEditor(editor), m_target(target), m_feed(std::move(feed))
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CStyleFeeder::Tick);
    m_timer.start();
}

std::int64_t CStyleFeeder::FirstVisible() const
{
    const long line = m_pEditor->SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE,
                                               m_pEditor->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE));
    return m_pEditor->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
}

void CStyleFeeder::GiveNext()
{
    const CStyleFeed::Piece piece = m_feed.Take(FirstVisible(), kSlice);
    m_target.SendSlots(piece.start, piece.bytes, piece.length);
}

void CStyleFeeder::Tick()
{
    GiveNext();
    if (m_feed.Done()) {
        m_timer.stop();
        deleteLater();
    }
}
