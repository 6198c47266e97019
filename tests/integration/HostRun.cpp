#include "HostRun.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <sstream>

#include "contracts/Text.h"

namespace vx::itest {

std::vector<LogLine> LogLines(const std::vector<RecordEntry>& record) {
  std::vector<LogLine> lines;
  for (const RecordEntry& e : EntriesNamed(record, "Project.Log")) {
    if (e.fields.size() >= 2) lines.push_back({e.fields[0], e.fields[1]});
  }
  return lines;
}

std::vector<std::u16string> MessagesOf(const std::vector<RecordEntry>& record,
                                       std::u16string_view category) {
  std::vector<std::u16string> messages;
  for (const LogLine& line : LogLines(record)) {
    if (line.category == category) messages.push_back(line.message);
  }
  return messages;
}

std::vector<std::pair<std::u16string, std::u16string>> SettingsValues(
    const std::vector<RecordEntry>& record) {
  std::vector<std::pair<std::u16string, std::u16string>> values;
  for (const RecordEntry& e : EntriesNamed(record, "Settings.SetValue")) {
    if (e.fields.size() >= 2) values.emplace_back(e.fields[0], e.fields[1]);
  }
  return values;
}

size_t CountOf(const std::vector<RecordEntry>& record, std::string_view name) {
  return EntriesNamed(record, name).size();
}

void RunToEnd(StagedProgram& run, std::string_view scenario, std::u16string_view arguments) {
  run.WriteScenario(scenario);
  run.Start(arguments);
  const bool ended = run.WaitForExit(kExitTimeout);
  if (!ended) {
    for (const MessageBoxInfo& box : run.MessageBoxes()) {
      ADD_FAILURE() << "message box left open: " << ToUtf8(box.caption) << ": " << ToUtf8(box.text);
    }
  }
  ASSERT_TRUE(ended) << "the program did not end; record:\n" << run.RecordText();
}

std::u16string TextOfBlock(std::u16string_view block) {
  const auto word = [&](size_t unit) {
    return static_cast<uint32_t>(block[unit]) | static_cast<uint32_t>(block[unit + 1]) << 16;
  };
  if (block.size() < 6) {
    ADD_FAILURE() << "a text block has at least 6 code units, this one " << block.size();
    return {};
  }
  const size_t n = block.size() - 6;
  EXPECT_EQ(word(0), 0u);
  EXPECT_EQ(word(2), 2 * n + 4);
  EXPECT_EQ(word(4), 0u);
  return std::u16string(block.substr(6));
}

std::vector<std::u16string> Lines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(u"\r\n", start);
    lines.emplace_back(text.substr(start, end - start));
    if (end == std::u16string_view::npos) return lines;
    start = end + 2;
  }
}

bool Matches(std::u16string_view text, const std::string& pattern) {
  return std::regex_match(ToUtf8(text), std::regex(pattern));
}

namespace {

std::vector<int> Numbers(std::u16string_view csv) {
  std::vector<int> numbers;
  std::istringstream in(ToUtf8(csv));
  std::string part;
  while (std::getline(in, part, ',')) numbers.push_back(std::stoi(part));
  return numbers;
}

}  // namespace

std::pair<int, int> SizeOfRect(std::u16string_view rect) {
  const std::vector<int> n = Numbers(rect);
  if (n.size() != 4) {
    ADD_FAILURE() << "not a rectangle: " << ToUtf8(rect);
    return {0, 0};
  }
  return {n[2] - n[0], n[3] - n[1]};
}

std::pair<int, int> OriginOfRect(std::u16string_view rect) {
  const std::vector<int> n = Numbers(rect);
  if (n.size() != 4) {
    ADD_FAILURE() << "not a rectangle: " << ToUtf8(rect);
    return {0, 0};
  }
  return {n[0], n[1]};
}

}  // namespace vx::itest
