// A context-help list for editor tests: records what the editor asks of it.
#pragma once

#include <QList>

#include "ContextHelpList.h"

class CRecordingHelpList : public IContextHelpList
{
public:
    bool visible = false;
    int shown = 0;
    QList<int> keys;
    QList<int> chars;
    QRect rect;
    QString entry = QStringLiteral("strlen");

    bool IsListVisible() const override { return visible; }
    void PassKey(int key) override { keys << key; }
    void PassChar(int ch) override { chars << ch; }
    void ShowList() override
    {
        ++shown;
        visible = true;
    }
    void HideList() override { visible = false; }
    void MoveList(const QRect& r) override { rect = r; }
    QString CurrentEntryText() const override { return entry; }
};
