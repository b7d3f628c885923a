// A style target that records every call it is given, in order, for tests of
// the colourers' layering.
#pragma once

#include "StyleTarget.h"

#include <string>
#include <vector>

class CStyleRecorder : public CStyleTarget {
public:
    struct Call {
        int slot;
        std::int32_t start;
        std::int32_t end;
        bool operator==(const Call&) const = default;
    };

    explicit CStyleRecorder(std::string text = {}) : m_strText(std::move(text)) {}

    std::string_view Text() override { return m_strText; }
    void BeginPass() override { m_log.push_back("begin"); }
    void EndPass() override { m_log.push_back("end"); }
    void ApplySlot(int slot, std::int32_t start, std::int32_t end) override
    {
        m_calls.push_back({slot, start, end});
        m_log.push_back("apply");
    }

    const std::vector<Call>& Calls() const { return m_calls; }
    // "begin", "apply" and "end" in the order they came.
    const std::vector<std::string>& Log() const { return m_log; }
    void Clear() { m_calls.clear(); m_log.clear(); }

private:
    std::string m_strText;
    std::vector<Call> m_calls;
    std::vector<std::string> m_log;
};
