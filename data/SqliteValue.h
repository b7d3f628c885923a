// Conversion of one SQLite column value to the platform's tagged variant.
#pragma once

#include "AdoVariant.h"

#include <QString>

struct sqlite3_stmt;

namespace SqliteValue {

// How a column's declared type steers the conversion.
enum class Declared { Other, Date, Boolean };
Declared Classify(const char* declaredType);

// NULL -> null; integers within 32 bits -> I4, wider -> I8; REAL -> R8; TEXT -> string;
// BLOB -> byte array. A DATE/DATETIME column gives a date (text in ISO form, an
// integer as Unix seconds, a real as a Julian day number); a BOOLEAN/BIT column
// holding an integer gives a boolean.
CAdoVariant Read(sqlite3_stmt* statement, int column, Declared declared);

// Parses "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS[.fff]]" and the same with 'T'.
QDateTime ParseDateText(const QString& text);

} // namespace SqliteValue
