#include "AdoErrorText.h"

namespace AdoErrorText {

namespace {
constexpr qint32 kDispatchFirst = static_cast<qint32>(0x80040200);
constexpr qint32 kDispatchLast = static_cast<qint32>(0x8004FFFF);

QString OrNull(const QString& text, bool present)
{
    // The error object's strings go through "%s"; a missing one prints as "(null)".
    return present && !text.isNull() ? text : QStringLiteral("(null)");
}
} // namespace

QString CodeMeaning(HRESULT code, const QString& systemMessage)
{
    if (!systemMessage.isEmpty()) {
        QString text = systemMessage;
        if (text.endsWith(u'\n')) {
            text.chop(1);
            if (text.endsWith(u'\r'))
                text.chop(1);
        }
        return text;
    }
    // Both bounds compared as signed 32-bit values, as the status code is one.
    const qint32 wCode = static_cast<qint32>(static_cast<quint32>(code) - 0x200u) & 0xFFFF;
    if (code >= kDispatchFirst && code <= kDispatchLast && wCode != 0)
        return QStringLiteral("IDispatch error #%1").arg(wCode);
    return QStringLiteral("Unknown error 0x%1")
        .arg(QString::number(static_cast<quint32>(code), 16).toUpper());
}

QString DatabaseMessage(const CAdoException& error, const QString& systemMessage)
{
    const QString code = QStringLiteral("%1").arg(static_cast<quint32>(error.Code()), 8, 16,
                                                  QChar(u'0'));
    return QStringLiteral("CAdoDatabase Error\n\tCode = ") + code
           + QStringLiteral("\n\tCode meaning = ") + CodeMeaning(error.Code(), systemMessage)
           + QStringLiteral("\n\tSource = ") + OrNull(error.Source(), error.HasErrorInfo())
           + QStringLiteral("\n\tDescription = ")
           + OrNull(error.Description(), error.HasErrorInfo()) + u'\n';
}

QString DatabaseErrorText(const QString& connectionString, const CAdoException& error,
                          const QString& systemMessage)
{
    return QStringLiteral("Connection String = ") + connectionString + u'\n'
           + DatabaseMessage(error, systemMessage);
}

} // namespace AdoErrorText
