// Looking for a plain text of ASCII characters in a file's bytes, with or
// without regard to case, without decoding them first: what 在文件中查找
// does with most files, which hold no match at all.
#pragma once

#include <QByteArray>
#include <QString>

class CLiteralSearch
{
public:
    // Usable when text is non-empty, all printable ASCII, and searched as it
    // is (no regular expression).
    CLiteralSearch(const QString& text, bool matchCase);
    bool IsUsable() const { return m_bUsable; }
    qsizetype Length() const { return m_needle.size(); }
    // Whether the text holds a letter that Unicode folds to a character beyond ASCII.
    bool CanFoldBeyondAscii() const { return m_bFoldsBeyondAscii; }

    // Where text occurs first in data[from, size), byte offset; -1 when nowhere.
    qsizetype Find(const char* data, qsizetype size, qsizetype from) const;

    // Whether the decoded text can match where the bytes did not: PCRE's
    // Unicode case folding matches "k" to KELVIN SIGN and "s" to LATIN SMALL
    // LETTER LONG S, and a file that is not plain UTF-8 may hold them in
    // another encoding. Only asked when Find found nothing.
    bool MayMatchBeyondBytes(const QByteArray& bytes, bool validUtf8) const;

    // UTF-16 units of the UTF-8 bytes data[0, size): columns are counted so.
    static qsizetype Utf16Length(const char* data, qsizetype size);

private:
    bool MatchesAt(const unsigned char* s) const;

    QByteArray m_needle;   // folded to lower case when case does not count
    bool m_bMatchCase = false;
    bool m_bUsable = false;
    bool m_bFoldsBeyondAscii = false;
};
