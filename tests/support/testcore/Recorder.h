// The test core's record: one line per call, appended to the file named by VX_TESTCORE_RECORD and
// written through at once, so that a crash of the process loses nothing already recorded.
#pragma once

#include <string>
#include <string_view>

namespace vx::testcore {

void RecordLine(std::string_view line);

// A text as the record quotes it (support/Record.h).
std::string Quoted(std::u16string_view text);
std::string Quoted(std::string_view ascii);

}  // namespace vx::testcore
