// A tokenizer bound to the editor it colours.
#pragma once

#include "StyleTarget.h"
#include "Tokenizer.h"

class CEditTokenizer : public CTokenizer {
public:
    explicit CEditTokenizer(CStyleTarget& editor) : m_editor(editor) {}
    ~CEditTokenizer() override = default;

    // Gives editor positions [start, end) the format of StyleSlot slot.
    void ApplySlot(int slot, std::int32_t start, std::int32_t end) { m_editor.ApplySlot(slot, start, end); }

protected:
    CStyleTarget& Editor() { return m_editor; }

    // Moves the cursor over CR LF tokens; returns the token it stops on.
    CToken SkipNewlines()
    {
        CToken t = Peek();
        while (t.m_nKind == TK_NEWLINE) {
            Next();
            t = Peek();
        }
        return t;
    }

private:
    CStyleTarget& m_editor;
};
