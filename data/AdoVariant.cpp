#include "AdoVariant.h"

CAdoVariant CAdoVariant::MakeNull()
{
    CAdoVariant v;
    v.m_nTag = VarTag::Null;
    return v;
}

CAdoVariant CAdoVariant::FromInt32(qint32 value)
{
    return FromTagged(VarTag::I4, value);
}

CAdoVariant CAdoVariant::FromInt64(qint64 value)
{
    return FromTagged(VarTag::I8, value);
}

CAdoVariant CAdoVariant::FromBool(bool value)
{
    // The platform's boolean true is all bits set.
    return FromTagged(VarTag::Bool, value ? -1 : 0);
}

CAdoVariant CAdoVariant::FromDouble(double value, int tag)
{
    CAdoVariant v;
    v.m_nTag = tag;
    v.m_dValue = value;
    return v;
}

CAdoVariant CAdoVariant::FromString(const QString& value)
{
    CAdoVariant v;
    v.m_nTag = VarTag::String;
    v.m_strValue = value;
    return v;
}

CAdoVariant CAdoVariant::FromDateTime(const QDateTime& value)
{
    CAdoVariant v;
    v.m_nTag = VarTag::Date;
    v.m_dateValue = value;
    return v;
}

CAdoVariant CAdoVariant::FromBytes(const QByteArray& value)
{
    CAdoVariant v;
    v.m_nTag = VarTag::ByteArray;
    v.m_bytesValue = value;
    return v;
}

CAdoVariant CAdoVariant::FromTagged(int tag, qint64 integerPayload)
{
    CAdoVariant v;
    v.m_nTag = tag;
    v.m_nInteger = integerPayload;
    return v;
}
