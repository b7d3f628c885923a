// The rule that decides when a text change recolours: only when the caret's line
// starts at another position than at the previous change in any editor.
#pragma once

#include <cstdint>

namespace RecolourTrigger {

// Compares lineStart with the value recorded at the previous change (0 at
// start-up), records lineStart, and returns whether they differed.
bool LineStartChanged(std::int64_t lineStart);

// The recorded value; setting it is for tests that need a known start.
std::int64_t RecordedLineStart();
void SetRecordedLineStart(std::int64_t lineStart);

} // namespace RecolourTrigger
