// A field value as the data-access platform hands it over: a type tag and its payload.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// Variant type tags. The numbers are the platform's own (VARTYPE); the layer
// converts only empty, null, 32-bit integer, date and string to text.
namespace VarTag {
constexpr int Empty = 0;
constexpr int Null = 1;
constexpr int I2 = 2;
constexpr int I4 = 3;
constexpr int R4 = 4;
constexpr int R8 = 5;
constexpr int Currency = 6;
constexpr int Date = 7;
constexpr int String = 8;
constexpr int Bool = 11;
constexpr int Decimal = 14;
constexpr int UI1 = 17;
constexpr int I8 = 20;
constexpr int ByteArray = 0x2011;   // array of bytes: binary data
} // namespace VarTag

class CAdoVariant
{
public:
    CAdoVariant() = default;   // empty

    static CAdoVariant MakeNull();
    static CAdoVariant FromInt32(qint32 value);
    static CAdoVariant FromInt64(qint64 value);
    static CAdoVariant FromBool(bool value);
    static CAdoVariant FromDouble(double value, int tag = VarTag::R8);
    static CAdoVariant FromString(const QString& value);
    static CAdoVariant FromDateTime(const QDateTime& value);
    static CAdoVariant FromBytes(const QByteArray& value);
    // Any other tag with an integer payload (16-bit integers, bytes, ...).
    static CAdoVariant FromTagged(int tag, qint64 integerPayload);

    int Tag() const { return m_nTag; }

    // The 32-bit integer payload: the low 32 bits of an integer or boolean
    // value, 0 for everything that carries no integer.
    qint32 Int32Payload() const { return static_cast<qint32>(m_nInteger); }
    double DoublePayload() const { return m_dValue; }
    const QString& StringPayload() const { return m_strValue; }
    const QDateTime& DatePayload() const { return m_dateValue; }
    const QByteArray& BytesPayload() const { return m_bytesValue; }

private:
    int m_nTag = VarTag::Empty;
    qint64 m_nInteger = 0;
    double m_dValue = 0.0;
    QString m_strValue;
    QDateTime m_dateValue;
    QByteArray m_bytesValue;
};
