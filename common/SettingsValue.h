// Values read back from the settings file, which a person or another program
// may have edited: a value of the wrong type or shape reads as the default.
#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <limits>

namespace SettingsValue {

// An integer stored as a number or written as one; fallback when the value is
// absent, a list, text that is no whole number, or beyond the range of int
// (where the plain conversion would keep only the low bits).
inline int ToInt(const QVariant& value, int fallback)
{
    bool ok = false;
    qlonglong n = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        n = value.toLongLong(&ok);
        break;
    case QMetaType::QString:
        n = value.toString().trimmed().toLongLong(&ok);
        break;
    default:
        break;
    }
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(n);
}

// A switch stored as a bool, or written "true"/"false" (as the settings file
// writes one) or 1/0; fallback for anything else, which the plain conversion
// would mostly read as true.
inline bool ToBool(const QVariant& value, bool fallback)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    switch (ToInt(value, -1)) {
    case 0:
        return false;
    case 1:
        return true;
    default:
        return fallback;
    }
}

} // namespace SettingsValue
