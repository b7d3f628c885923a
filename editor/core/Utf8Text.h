// A UTF-8 text seen as UTF-16 for QRegularExpression, with positions mapped
// between its bytes and its code units in both directions.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class CUtf8Text
{
public:
    // Decodes utf8; a byte that starts no valid sequence stands for itself
    // as one U+FFFD, so every code unit boundary falls on a byte boundary.
    explicit CUtf8Text(QByteArray utf8 = QByteArray());

    const QByteArray& Bytes() const { return m_bytes; }
    const QString& Text() const { return m_text; }

    // Mappings in rising order cost the distance walked, others at most a few
    // thousand steps.
    // The code unit at which the character holding byte starts (a byte inside
    // a character counts as that character's first); clamped to the text.
    qsizetype ToUnit(qsizetype byte) const;
    // The byte at which the character holding unit starts; clamped likewise.
    qsizetype ToByte(qsizetype unit) const;

private:
    struct Mark
    {
        qsizetype unit;
        qsizetype byte;
    };
    // One mark at a character boundary every few thousand units: a mapping
    // walks from the nearest mark instead of from the start.
    static constexpr qsizetype kMarkEvery = 4096;
    // The nearest known boundary at or before value: a mark, or the last
    // position mapped when that is nearer (successive mappings mostly go on).
    Mark StartFor(qsizetype value, qsizetype Mark::*field) const;

    QByteArray m_bytes;
    QString m_text;
    QList<Mark> m_marks;
    mutable Mark m_last = {0, 0};
};
