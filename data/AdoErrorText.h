// Formatting of the error texts that CAdoDatabase keeps after a failed open or execute.
#pragma once

#include "AdoException.h"

#include <QString>

namespace AdoErrorText {

// The meaning of a status code: the system's message text (one trailing line
// feed and then one carriage return removed), or when there is none
// "IDispatch error #n" / "Unknown error 0x...".
QString CodeMeaning(HRESULT code, const QString& systemMessage);

// "CAdoDatabase Error\n\tCode = ...\n\tCode meaning = ...\n\tSource = ...\n\tDescription = ...\n"
QString DatabaseMessage(const CAdoException& error, const QString& systemMessage);

// "Connection String = " + connection string + line feed + message.
QString DatabaseErrorText(const QString& connectionString, const CAdoException& error,
                          const QString& systemMessage);

} // namespace AdoErrorText
