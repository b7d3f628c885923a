// The "CSS" page of the workspace bar: the CSS reference table as a tree.
#pragma once

#include "ReferencePage.h"
#include "ReferenceTables.h"

class CWSCSSView : public CReferencePage
{
    Q_OBJECT

public:
    static constexpr int kKind = ReferenceKind::CSS;
    static constexpr int kTreeId = 110;

    explicit CWSCSSView(QObject* target = nullptr, QWidget* parent = nullptr)
        : CReferencePage(kKind, target, parent) {}
};
