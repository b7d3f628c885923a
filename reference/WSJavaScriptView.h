// The "JavaScript" page of the workspace bar: the JavaScript reference table as a tree.
#pragma once

#include "ReferencePage.h"
#include "ReferenceTables.h"

class CWSJavaScriptView : public CReferencePage
{
    Q_OBJECT

public:
    static constexpr int kKind = ReferenceKind::JavaScript;
    static constexpr int kTreeId = 108;

    explicit CWSJavaScriptView(QObject* target = nullptr, QWidget* parent = nullptr)
        : CReferencePage(kKind, target, parent) {}
};
