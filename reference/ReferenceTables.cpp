#include "ReferenceTables.h"

namespace ReferenceTables {

namespace {

struct CTableInfo
{
    const char16_t* table;
    const char16_t* caption;
    int treeId;
    int images;
    int categoryKind;
};

// Indexed by kind.
constexpr CTableInfo kTables[] = {
    {u"F7F57F64_03FF_497f_A9F2_61FC77564_QXV", u"PHP", 109, 6, 0},
    {u"BEE75057_3DC5_466c_BD4E_BBEE0C3FF_QXV", u"CSS", 110, 2, 1},
    {u"DED3730B_75AB_47e9_B307_9BC8491E5_QXV", u"Html", 107, 2, 1},
    {u"G100FFB3_C69B_409c_9F28_D3457560B_QXV", u"JavaScript", 108, 6, 0},
};

const CTableInfo* Info(int kind)
{
    return ReferenceKind::IsReference(kind) ? &kTables[kind] : nullptr;
}

} // namespace

QString TableName(int kind)
{
    const CTableInfo* info = Info(kind);
    return info ? QString::fromUtf16(info->table) : QString();
}

QString Caption(int kind)
{
    const CTableInfo* info = Info(kind);
    return info ? QString::fromUtf16(info->caption) : QString();
}

int TreeId(int kind)
{
    const CTableInfo* info = Info(kind);
    return info ? info->treeId : 0;
}

int ImageCount(int kind)
{
    const CTableInfo* info = Info(kind);
    return info ? info->images : 0;
}

int CategoryKind(int kind)
{
    const CTableInfo* info = Info(kind);
    return info ? info->categoryKind : -1;
}

const QList<int>& LoadOrder()
{
    static const QList<int> order{ReferenceKind::PHP, ReferenceKind::Html, ReferenceKind::CSS,
                                  ReferenceKind::JavaScript};
    return order;
}

} // namespace ReferenceTables
