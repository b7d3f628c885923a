// The "Html" page of the workspace bar: the Html reference table as a tree.
#pragma once

#include "ReferencePage.h"
#include "ReferenceTables.h"

class CWSHtmlView : public CReferencePage
{
    Q_OBJECT

public:
    static constexpr int kKind = ReferenceKind::Html;
    static constexpr int kTreeId = 107;

    explicit CWSHtmlView(QObject* target = nullptr, QWidget* parent = nullptr)
        : CReferencePage(kKind, target, parent) {}
};
