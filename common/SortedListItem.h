// A line of a sorted list widget that orders without regard to letter case, as
// the platform's sorted list box does.
#pragma once

#include <QByteArray>
#include <QListWidgetItem>
#include <QVariant>

class CSortedListItem : public QListWidgetItem
{
public:
    // data goes in Qt::UserRole.
    CSortedListItem(const QString& text, const QVariant& data);

    // What a line sorts by: its text folded to lower case without its leading
    // blanks, as UTF-8, whose byte order is the order of the characters.
    static QByteArray SortKey(const QString& text);
    // The key of any line of a list, ours or not.
    static QByteArray KeyOf(const QListWidgetItem& item);

    bool operator<(const QListWidgetItem& other) const override;
    void setData(int role, const QVariant& value) override;

private:
    QByteArray m_key;
};
