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

    // The colouring loops walk the token list directly (CR LF and the end
    // token carry no slot); afterwards the cursor rests on the end token, as a
    // walk with Next() would leave it.
    void SkipToEnd() { SetCursorToLast(); }

private:
    CStyleTarget& m_editor;
};
