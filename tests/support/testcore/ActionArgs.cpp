#include "testcore/ActionArgs.h"

#include <cstdio>
#include <variant>

#include "testcore/Recorder.h"

namespace vx::testcore {
namespace {

bool ParseNumber(std::u16string_view text, int64_t& value) {
  bool negative = false;
  if (!text.empty() && text.front() == u'-') {
    negative = true;
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 16) return false;
  uint64_t magnitude = 0;
  for (const char16_t c : text) {
    unsigned digit = 0;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (base == 16 && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (base == 16 && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return false;
    }
    magnitude = magnitude * base + digit;
  }
  value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace

void RaiseBadAction(const Action& action, std::string_view why) {
  std::u16string description = u"scenario line ";
  for (const char c : std::to_string(action.line)) description += static_cast<char16_t>(c);
  description += u": ";
  for (const char c : why) description += static_cast<char16_t>(c);
  Raise(kErrInvalidCall, u"vxTM2Core", description);
}

std::u16string ArgText(const Action& action, size_t index) {
  if (index >= action.args.size()) RaiseBadAction(action, "an argument is missing");
  return action.args[index].text;
}

std::u16string ArgTextOr(const Action& action, size_t index, std::u16string_view fallback) {
  return index < action.args.size() ? action.args[index].text : std::u16string(fallback);
}

int64_t ArgNumber(const Action& action, size_t index) {
  int64_t value = 0;
  if (!ParseNumber(ArgText(action, index), value)) RaiseBadAction(action, "expected a number");
  return value;
}

bool ArgBool(const Action& action, size_t index) {
  const std::u16string text = ArgText(action, index);
  if (text == u"true") return true;
  if (text == u"false") return false;
  RaiseBadAction(action, "expected true or false");
}

Value ArgValue(const Action& action, size_t index) {
  const std::u16string text = ArgText(action, index);
  if (action.args[index].quoted) return Value(text);
  int64_t number = 0;
  if (ParseNumber(text, number)) return Value(static_cast<int32_t>(number));
  if (text == u"true") return Value(Boolean{kVxTrue});
  if (text == u"false") return Value(Boolean{kVxFalse});
  return Value(text);
}

std::string DescribeValue(const Value& value) {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Empty>) {
          return "empty";
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          return Quoted(v);
        } else if constexpr (std::is_same_v<T, Boolean>) {
          return v.value ? "true" : "false";
        } else if constexpr (std::is_same_v<T, Ref<IObject>>) {
          return v ? "object" : "nothing";
        } else {
          return std::to_string(v);
        }
      },
      value.storage());
}

std::string DescribeStatus(const Status& status) {
  if (status.ok()) return "ok";
  return "error " + std::to_string(status.error.number) + " " + Quoted(status.error.source) + " " +
         Quoted(status.error.description);
}

}  // namespace vx::testcore
