// The HTML parts of a page coloured by HTML's grammar: text and names in the
// element slot, "<", "</", ">", "/>" and "=" in the delimiter slot, attribute
// values (quoted or bare) in the attribute-value slot, "<!-- -->" comments in
// the comment slot, and the text of <script> and <style> elements by the
// grammars of JavaScript and CSS. The state carries over PHP regions, so a
// value, string or comment goes on after one.
#pragma once

#include "ScriptGrammar.h"
#include "SlotSink.h"
#include "StyleGrammar.h"

#include <cstdint>

class CHtmlGrammar {
public:
    void Reset() { SetState(0); }
    // The whole state, 0 at the start of a text: 16 bits; only whole when Capturable.
    std::uint32_t State() const;
    void SetState(std::uint32_t state);
    bool Capturable() const { return m_context != SCRIPT || m_script.Capturable(); }

    // Colours the HTML [i, end).
    void Colour(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);

private:
    enum Context : std::uint8_t { TEXT, TAG, AFTER_EQUALS, VALUE_DOUBLE, VALUE_SINGLE, VALUE_BARE, COMMENT, SCRIPT, STYLE };
    enum Element : std::uint8_t { OTHER, SCRIPT_ELEMENT, STYLE_ELEMENT };
    std::size_t Text(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);
    std::size_t Tag(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);

    Context m_context = TEXT;
    Element m_element = OTHER; // the element whose start tag is being read
    CScriptGrammar m_script;
    CStyleGrammar m_style;
};
