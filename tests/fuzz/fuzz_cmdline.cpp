// The command-line routines on arbitrary text: the input's bytes, two at a time, are UTF-16 code
// units. The first bytes choose the lookups' parameters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "startup/modString.h"

namespace {

using modString::TokenArray;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsSeparator(char16_t c) {
  return c == u' ' || c == u'\t';
}

// Every token is where the scan finds it, in order, and only separators lie between them.
void CheckSplit(std::u16string_view text, const TokenArray& tokens) {
  size_t pos = 0;
  for (const std::u16string& token : tokens) {
    Require(!token.empty());
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    Require(text.substr(pos, token.size()) == token);
    if (token.front() == u'"') {
      // A quoted token holds at most its two quotes, the second one last.
      const size_t close = token.find(u'"', 1);
      Require(close == std::u16string::npos || close == token.size() - 1);
    } else {
      for (char16_t c : token) Require(!IsSeparator(c));
    }
    pos += token.size();
  }
  for (; pos < text.size(); ++pos) Require(IsSeparator(text[pos]));
}

// after is before with some tokens taken out, the rest in their order.
bool IsSubsequence(const TokenArray& after, const TokenArray& before) {
  size_t i = 0;
  for (const std::u16string& token : before) {
    if (i < after.size() && after[i] == token) ++i;
  }
  return i == after.size();
}

bool IsSwitchNamed(std::u16string_view token, std::u16string_view name) {
  return !token.empty() && (token[0] == u'/' || token[0] == u'-') &&
         modString::LowerCase(token.substr(1)) == modString::LowerCase(name);
}

void CheckTakeSwitch(std::u16string_view name, int32_t minParams, int32_t maxParams,
                     TokenArray tokens) {
  const TokenArray before = tokens;
  std::vector<std::u16string> params{u"untouched"};
  const bool found = modString::TakeSwitch(name, minParams, maxParams, tokens, params);
  Require(tokens.size() <= before.size());
  Require(IsSubsequence(tokens, before));
  if (!found) {
    Require(tokens == before);
    Require(params == std::vector<std::u16string>{u"untouched"});
    return;
  }
  Require(tokens.size() < before.size());
  Require(!params.empty() && IsSwitchNamed(params[0], name));
  // The parameter count lies between the minimum and the limit; a limit below the minimum wins.
  const int64_t limit = maxParams == -1 ? INT32_MAX : maxParams;
  const auto taken = static_cast<int64_t>(params.size()) - 1;
  Require(taken <= limit || (limit < 0 && taken == 0));
  Require(taken >= minParams || taken == limit);
  // A switch of the name is left only when it could not get its parameters, and that can only
  // happen once, at the end.
  for (const std::u16string& t : tokens) Require(!IsSwitchNamed(t, name) || minParams > 0);
}

void CheckTakeOptionValue(std::u16string_view name, bool allowBare, TokenArray tokens) {
  const TokenArray before = tokens;
  std::u16string value = u"\xFFFF untouched";
  const bool found = modString::TakeOptionValue(name, allowBare, tokens, value);
  Require(IsSubsequence(tokens, before));
  if (!found) {
    Require(tokens == before);
    Require(value == u"\xFFFF untouched");
    return;
  }
  Require(tokens.size() + 1 == before.size());
  if (value != u"\xFFFF untouched") Require(modString::LowerCase(value) == value);
}

void CheckStripQuotes(std::u16string_view s) {
  const std::u16string stripped = modString::StripQuotes(s);
  Require(stripped.size() <= s.size());
  Require(stripped == s || (s.size() >= 2 && stripped == s.substr(1, s.size() - 2)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t minParams = static_cast<int32_t>(data[0] % 5) - 1;  // -1 to 3
  const int32_t maxParams = static_cast<int32_t>(data[1] % 5) - 1;
  const bool allowBare = (data[0] & 0x80) != 0;
  data += 2;
  size -= 2;
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }

  const TokenArray tokens = modString::SplitCommandLine(text);
  CheckSplit(text, tokens);
  for (const std::u16string& token : tokens) CheckStripQuotes(token);
  CheckStripQuotes(text);

  std::vector<std::u16string> names{u"debug", u"log", u"autosync", u""};
  // A name taken from the input itself, so that matches are found often.
  if (!tokens.empty() && tokens[0].size() > 1) names.push_back(tokens[0].substr(1));
  for (const std::u16string& name : names) {
    CheckTakeSwitch(name, minParams, maxParams, tokens);
    CheckTakeOptionValue(name, allowBare, tokens);
  }
  return 0;
}
