// Helpers of the integration tests: run the real program with the test core and look at what
// the core recorded.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/Record.h"
#include "support/StagedProgram.h"

namespace vx::itest {

using namespace std::chrono_literals;

// Long enough for a cold Wine start; a program that hangs fails the test instead of the suite.
inline constexpr std::chrono::milliseconds kExitTimeout = 30s;
inline constexpr std::chrono::milliseconds kBoxTimeout = 20s;

// The caption of the start-up failure box and the start of its text.
inline constexpr std::u16string_view kAppTitle = u"Telvaro mobile 2";
inline constexpr std::u16string_view kNotInstalled =
    u"Application not properly installed, try re-installing!\r\n\r\nError: ";

struct LogLine {
  std::u16string category;
  std::u16string message;
  friend bool operator==(const LogLine&, const LogLine&) = default;
};

// Project.Log lines in order.
std::vector<LogLine> LogLines(const std::vector<RecordEntry>& record);
// Only the messages of the lines with this category.
std::vector<std::u16string> MessagesOf(const std::vector<RecordEntry>& record,
                                       std::u16string_view category);
// Settings.SetValue calls in order, as key and value.
std::vector<std::pair<std::u16string, std::u16string>> SettingsValues(
    const std::vector<RecordEntry>& record);
size_t CountOf(const std::vector<RecordEntry>& record, std::string_view name);

// Starts the program with the scenario and arguments and waits for its end; fails the test if it
// does not end in time (the program is then killed with the staging's destructor).
void RunToEnd(StagedProgram& run, std::string_view scenario, std::u16string_view arguments = {});

// The text of a text block (32-bit zero, 32-bit byte count 2n + 4, 32-bit zero, n code units);
// fails the test when the frame is wrong.
std::u16string TextOfBlock(std::u16string_view block);

// Splits at CR LF.
std::vector<std::u16string> Lines(std::u16string_view text);

// True when text matches the regular expression (ECMAScript) as a whole, compared in UTF-8.
bool Matches(std::u16string_view text, const std::string& pattern);

// A rectangle field "l,t,r,b" of a record line, as width and height.
std::pair<int, int> SizeOfRect(std::u16string_view rect);
std::pair<int, int> OriginOfRect(std::u16string_view rect);

}  // namespace vx::itest
