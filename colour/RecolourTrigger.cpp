#include "RecolourTrigger.h"

namespace RecolourTrigger {

namespace {
// One value for every editor of the process: the UI thread alone uses it.
std::int64_t s_nCaretLineStart = 0;
} // namespace

bool LineStartChanged(std::int64_t lineStart)
{
    const bool changed = lineStart != s_nCaretLineStart;
    s_nCaretLineStart = lineStart;
    return changed;
}

std::int64_t RecordedLineStart()
{
    return s_nCaretLineStart;
}

void SetRecordedLineStart(std::int64_t lineStart)
{
    s_nCaretLineStart = lineStart;
}

} // namespace RecolourTrigger
