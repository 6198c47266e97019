// The arguments of a scenario action. Each helper raises error 5 naming the line when an argument
// is missing or malformed, so the record shows which scenario line was wrong.
#pragma once

#include <cstdint>
#include <string>

#include "contracts/Value.h"
#include "testcore/Scenario.h"

namespace vx::testcore {

std::u16string ArgText(const Action& action, size_t index);
std::u16string ArgTextOr(const Action& action, size_t index, std::u16string_view fallback);
// Decimal (optionally negative) or 0x hexadecimal.
int64_t ArgNumber(const Action& action, size_t index);
bool ArgBool(const Action& action, size_t index);
// An argument of a late-bound call: a quoted text stays text, a number becomes a 32-bit integer,
// true/false a boolean, any other word text.
Value ArgValue(const Action& action, size_t index);
[[noreturn]] void RaiseBadAction(const Action& action, std::string_view why);

// Text for the record of a value a call returned.
std::string DescribeValue(const Value& value);
// "ok" or  error <number> "<source>" "<description>"
std::string DescribeStatus(const Status& status);

}  // namespace vx::testcore
