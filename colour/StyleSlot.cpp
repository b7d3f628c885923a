#include "StyleSlot.h"

namespace StyleSlots {

namespace {

constexpr COLORREF kDefaultColors[kSlotCount] = {
    MakeColorRef(0, 102, 0),     // HTML element
    MakeColorRef(255, 0, 0),     // PHP delimiter
    MakeColorRef(0, 102, 51),    // HTML delimiter
    MakeColorRef(102, 102, 102), // HTML attribute value
    MakeColorRef(0, 0, 255),     // PHP keyword
    MakeColorRef(0, 0, 0),       // PHP identifier
    MakeColorRef(255, 154, 0),   // PHP comment
    MakeColorRef(204, 0, 0),     // PHP string
    MakeColorRef(100, 0, 153),   // PHP operator
    MakeColorRef(153, 0, 0),     // PHP number
};

const ButtonInfo kButtons[kSlotCount] = {
    {0, 1007, "元  素", "Html"},
    {1, 1010, "分格符", "Php"},
    {2, 1009, "分格符", "Html"},
    {3, 1008, "属性值", "Html"},
    {4, 1011, "关键字", "Php"},
    {5, 1012, "标识符", "Php"},
    {6, 1013, "注  释", "Php"},
    {7, 1014, "字符串", "Php"},
    {8, 1015, "操作符", "Php"},
    {9, 1016, "数  值", "Php"},
};

} // namespace

COLORREF DefaultColor(int slot)
{
    return slot >= 0 && slot < kSlotCount ? kDefaultColors[slot] : 0;
}

const ButtonInfo& Button(int slot)
{
    return kButtons[slot];
}

QString ValueName(int slot, const char* field)
{
    return QStringLiteral("CF%1_").arg(slot) + QLatin1String(field);
}

} // namespace StyleSlots
