#include "SortedListItem.h"

CSortedListItem::CSortedListItem(const QString& text, const QVariant& data)
    : QListWidgetItem(text, nullptr, QListWidgetItem::UserType), m_key(SortKey(text))
{
    QListWidgetItem::setData(Qt::UserRole, data);
}

QByteArray CSortedListItem::SortKey(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start).toLower().toUtf8();
}

QByteArray CSortedListItem::KeyOf(const QListWidgetItem& item)
{
    if (const auto* ours = dynamic_cast<const CSortedListItem*>(&item))
        return ours->m_key;
    return SortKey(item.text());
}

bool CSortedListItem::operator<(const QListWidgetItem& other) const
{
    const QByteArray otherKey = KeyOf(other);
    if (m_key != otherKey)
        return m_key < otherKey;
    // Texts equal but for case keep one order from fill to fill.
    return text() < other.text();
}

void CSortedListItem::setData(int role, const QVariant& value)
{
    QListWidgetItem::setData(role, value);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        m_key = SortKey(text());
}
