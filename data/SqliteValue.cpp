#include "SqliteValue.h"

#include <limits>
#include <sqlite3.h>

namespace SqliteValue {

Declared Classify(const char* declaredType)
{
    if (!declaredType)
        return Declared::Other;
    QString type = QString::fromUtf8(declaredType).trimmed().toUpper();
    const int paren = type.indexOf(u'(');
    if (paren >= 0)
        type = type.left(paren).trimmed();
    if (type == u"DATE" || type == u"DATETIME")
        return Declared::Date;
    if (type == u"BOOLEAN" || type == u"BOOL" || type == u"BIT" || type == u"YESNO")
        return Declared::Boolean;
    return Declared::Other;
}

QDateTime ParseDateText(const QString& text)
{
    // Date and time are read apart and joined in UTC, so no local clock change
    // can make a stored moment invalid.
    const QString t = text.trimmed();
    const QDate date = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return {};
    if (t.size() == 10)
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    if (t[10] != u' ' && t[10] != u'T')
        return {};
    const QString rest = t.mid(11);
    for (const char* format : {"HH:mm:ss.zzz", "HH:mm:ss", "HH:mm"}) {
        const QTime time = QTime::fromString(rest, QString::fromLatin1(format));
        if (time.isValid())
            return QDateTime(date, time, Qt::UTC);
    }
    return {};
}

namespace {
CAdoVariant ReadDate(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return CAdoVariant::FromDateTime(QDateTime::fromSecsSinceEpoch(
            sqlite3_column_int64(statement, column), Qt::UTC));
    case SQLITE_FLOAT: {
        // Julian day number, as SQLite's own date functions count.
        const double days = sqlite3_column_double(statement, column) - 2440587.5;
        return CAdoVariant::FromDateTime(QDateTime::fromMSecsSinceEpoch(
            static_cast<qint64>(days * 86400000.0 + (days < 0 ? -0.5 : 0.5)), Qt::UTC));
    }
    default: {
        const QString text = QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
            sqlite3_column_bytes(statement, column));
        const QDateTime dt = ParseDateText(text);
        // Text that is no date stays text rather than vanish.
        return dt.isValid() ? CAdoVariant::FromDateTime(dt) : CAdoVariant::FromString(text);
    }
    }
}
} // namespace

CAdoVariant Read(sqlite3_stmt* statement, int column, Declared declared)
{
    const int type = sqlite3_column_type(statement, column);
    if (type == SQLITE_NULL)
        return CAdoVariant::MakeNull();
    if (declared == Declared::Date)
        return ReadDate(statement, column);
    switch (type) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 value = sqlite3_column_int64(statement, column);
        if (declared == Declared::Boolean)
            return CAdoVariant::FromBool(value != 0);
        if (value >= std::numeric_limits<qint32>::min()
            && value <= std::numeric_limits<qint32>::max())
            return CAdoVariant::FromInt32(static_cast<qint32>(value));
        return CAdoVariant::FromInt64(value);
    }
    case SQLITE_FLOAT:
        return CAdoVariant::FromDouble(sqlite3_column_double(statement, column));
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return CAdoVariant::FromBytes(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return CAdoVariant::FromString(QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
            sqlite3_column_bytes(statement, column)));
    }
}

} // namespace SqliteValue
