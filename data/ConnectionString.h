// The connection-string template for one database file, and reading the file path back.
#pragma once

#include <QString>

namespace ConnectionString {

// The template every database file is opened with; "${DBNAME}" stands for the path.
inline constexpr char16_t kTemplate[] = u"DBQ=${DBNAME};DRIVER={Microsoft Access Driver (*.mdb)};";

// The template with every "${DBNAME}" replaced by path, verbatim.
QString ForFile(const QString& path);

// The value of the DBQ= key (keys compared without regard to case; a value may be
// enclosed in braces). Null when the string names no DBQ.
QString DatabaseFile(const QString& connectionString);

} // namespace ConnectionString
