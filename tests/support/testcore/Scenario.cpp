#include "testcore/Scenario.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "contracts/ObjectImpl.h"

namespace vx::testcore {
namespace {

constexpr std::array kEvents{"Init",     "Activate",   "ActivateServer", "QueryClose",
                             "Shutdown", "GetProject", "SettingsInit",   "SetValue",
                             "Log",      "Checkpoint", "GetText",        "ShowHelp",
                             "Create",   "Terminate",  "Command"};

constexpr std::array kVerbs{"return",
                            "cancel",
                            "text",
                            "fail",
                            "SetControl",
                            "StatusBar",
                            "Caption",
                            "Geometry",
                            "NotifyUser",
                            "RefreshWindow",
                            "GetWindowHandle",
                            "Terminate",
                            "Call",
                            "Fault",
                            "Post",
                            "Send",
                            "Key",
                            "PostKey",
                            "TrySize",
                            "Move",
                            "Show",
                            "Reactivate",
                            "Record",
                            "ExitProcess",
                            "Click"};

template <size_t N>
bool IsOneOf(std::string_view word, const std::array<const char*, N>& words) {
  return std::any_of(words.begin(), words.end(), [&](const char* w) { return word == w; });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The position of the first colon outside quotes.
size_t ColonOutsideQuotes(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && quoted) {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == ':' && !quoted) {
      return i;
    }
  }
  return std::string_view::npos;
}

bool ParseCount(std::string_view text, uint32_t& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return true;
}

}  // namespace

Scenario Scenario::FromText(std::string_view text) {
  Scenario scenario;
  int number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    scenario.ParseLine(++number, text.substr(start, end - start));
    start = end + 1;
  }
  return scenario;
}

Scenario Scenario::FromEnvironment() {
  const wchar_t* path = _wgetenv(L"VX_TESTCORE_SCENARIO");
  if (!path || !*path) return {};
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  if (!file) return {};
  std::ostringstream text;
  text << file.rdbuf();
  return FromText(text.str());
}

bool Scenario::ParseAction(int number, std::string_view text, Action& action) {
  action.line = number;
  action.text = std::string(Trimmed(text));
  try {
    std::vector<itest::Field> fields = itest::SplitFields(action.text);
    if (fields.empty()) {
      errors_.push_back({number, "no action"});
      return false;
    }
    action.verb = Narrow(fields.front().text);
    action.args.assign(fields.begin() + 1, fields.end());
  } catch (const std::invalid_argument& e) {
    errors_.push_back({number, e.what()});
    return false;
  }
  if (!IsOneOf(action.verb, kVerbs)) {
    errors_.push_back({number, "unknown action " + action.verb});
    return false;
  }
  return true;
}

void Scenario::ParseLine(int number, std::string_view line) {
  line = Trimmed(line);
  if (line.empty() || line.front() == '#') return;
  const size_t space = line.find_first_of(" \t");
  const std::string_view keyword = line.substr(0, space);
  if (keyword == "missing" && space != std::string_view::npos) {
    const std::string_view name = Trimmed(line.substr(space));
    missing_.emplace_back(name.begin(), name.end());
    return;
  }
  const size_t colon = ColonOutsideQuotes(line);
  if (colon == std::string_view::npos || space == std::string_view::npos || space > colon) {
    errors_.push_back(
        {number, "expected 'on <Event>: ...', 'after <ms>: ...' or 'missing <Class>'"});
    return;
  }
  const std::string_view head = Trimmed(line.substr(space, colon - space));
  const std::string_view rest = line.substr(colon + 1);
  if (keyword == "on") {
    EventRule rule;
    const size_t hash = head.find('#');
    rule.event = std::string(head.substr(0, hash));
    uint32_t occurrence = 0;
    if (hash != std::string_view::npos &&
        (!ParseCount(head.substr(hash + 1), occurrence) || occurrence == 0)) {
      errors_.push_back({number, "bad occurrence in " + std::string(head)});
      return;
    }
    rule.occurrence = static_cast<int>(occurrence);
    if (!IsOneOf(rule.event, kEvents)) {
      errors_.push_back({number, "unknown event " + rule.event});
      return;
    }
    if (ParseAction(number, rest, rule.action)) events_.push_back(std::move(rule));
  } else if (keyword == "after") {
    TimedRule rule;
    const size_t blank = head.find(' ');
    const std::string_view delay = head.substr(0, blank);
    const std::string_view from =
        blank == std::string_view::npos ? std::string_view{} : Trimmed(head.substr(blank));
    if (!ParseCount(delay, rule.delayMs)) {
      errors_.push_back({number, "bad delay " + std::string(delay)});
      return;
    }
    if (from.empty() || from == "from Activate") {
      rule.anchor = "Activate";
    } else if (from == "from Init") {
      rule.anchor = "Init";
    } else {
      errors_.push_back({number, "expected 'from Init' or 'from Activate'"});
      return;
    }
    if (ParseAction(number, rest, rule.action)) timed_.push_back(std::move(rule));
  } else {
    errors_.push_back({number, "unknown statement " + std::string(keyword)});
  }
}

std::vector<const Action*> Scenario::ActionsFor(std::string_view event, int occurrence) const {
  std::vector<const Action*> actions;
  for (const EventRule& rule : events_) {
    if (rule.event == event && (rule.occurrence == 0 || rule.occurrence == occurrence)) {
      actions.push_back(&rule.action);
    }
  }
  return actions;
}

std::vector<TimedRule> Scenario::TimedFrom(std::string_view anchor) const {
  std::vector<TimedRule> rules;
  for (const TimedRule& rule : timed_) {
    if (rule.anchor == anchor) rules.push_back(rule);
  }
  std::stable_sort(rules.begin(), rules.end(),
                   [](const TimedRule& a, const TimedRule& b) { return a.delayMs < b.delayMs; });
  return rules;
}

bool Scenario::IsMissing(std::u16string_view className) const {
  return std::any_of(missing_.begin(), missing_.end(), [&](const std::u16string& name) {
    return EqualsIgnoringAsciiCase(name, className);
  });
}

}  // namespace vx::testcore
