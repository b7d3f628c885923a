// The "PHP" page of the workspace bar: the PHP reference table as a tree.
#pragma once

#include "ReferencePage.h"
#include "ReferenceTables.h"

class CWSPHPView : public CReferencePage
{
    Q_OBJECT

public:
    static constexpr int kKind = ReferenceKind::PHP;
    static constexpr int kTreeId = 109;

    explicit CWSPHPView(QObject* target = nullptr, QWidget* parent = nullptr)
        : CReferencePage(kKind, target, parent) {}
};
