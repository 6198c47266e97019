// The command-line tokenizer and the option lookups with which start-up takes out the switches it
// knows; every token no lookup removes is positional.
//
// Lower-casing (switch names and option values) is a culture-independent simple mapping of single
// UTF-16 code units, the same on every platform (see LowerCase), so that a command line means the
// same under Windows and in the portable tests. The names start-up looks for are ASCII.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/Error.h"

namespace modString {

// Zero-based; never holds an empty string.
using TokenArray = std::vector<std::u16string>;

// Tokens separated by runs of spaces and tabs; a token beginning with a double quote runs to the
// next double quote (or the end) and keeps its quotes.
TokenArray SplitCommandLine(std::u16string_view text, vx::Here here = vx::Here::current());

// Removes every successful match of "/name" or "-name" (any letter case) with its parameters and
// returns whether there was one. params receives the last successful match: the switch token as
// written, then its parameters. maxParams -1 means no limit. A match that cannot get minParams
// parameters stays in the tokens and leaves params alone.
bool TakeSwitch(std::u16string_view name, int32_t minParams, int32_t maxParams, TokenArray& tokens,
                std::vector<std::u16string>& params, vx::Here here = vx::Here::current());

// Removes the first "/name=value" (or, with allowBare, "/name") and returns whether there was one.
// value receives the text after "=" in lower case; a bare match leaves it as it was.
bool TakeOptionValue(std::u16string_view name, bool allowBare, TokenArray& tokens,
                     std::u16string& value, vx::Here here = vx::Here::current());

// s without its enclosing double quotes, when it has both; otherwise s unchanged.
std::u16string StripQuotes(std::u16string_view s, vx::Here here = vx::Here::current());

// Code-unit comparisons, no case folding.
bool StartsWithExact(std::u16string_view s, std::u16string_view prefix,
                     vx::Here here = vx::Here::current());
bool EqualsExact(std::u16string_view a, std::u16string_view b) noexcept;

// Simple lower-case mapping of single code units: ASCII, Latin-1, Latin Extended-A, basic Greek
// and Cyrillic. Other code units, surrogates included, stay as they are; the length never changes.
char16_t LowerCase(char16_t c) noexcept;
std::u16string LowerCase(std::u16string_view text);

}  // namespace modString
