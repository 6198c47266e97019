// The command-line routines on arbitrary text. The first two bytes choose the switch's parameter
// limits; each further byte is one character of a small alphabet of those the routines tell apart
// (random bytes then make separators, quotes and switches often), or 0xFF and the next two bytes
// any UTF-16 code unit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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

// A found switch leaves the other tokens in their order and takes its parameters within the
// limits; a missing one changes nothing.
void CheckTakeSwitch(std::u16string_view name, int32_t minParams, int32_t maxParams,
                     TokenArray tokens) {
  const TokenArray before = tokens;
  std::vector<std::u16string> params{u"untouched"};
  if (!modString::TakeSwitch(name, minParams, maxParams, tokens, params)) {
    Require(tokens == before && params.size() == 1 && params[0] == u"untouched");
    return;
  }
  size_t kept = 0;
  for (const std::u16string& token : before) kept += kept < tokens.size() && tokens[kept] == token;
  Require(kept == tokens.size() && tokens.size() < before.size());
  Require((params[0][0] == u'/' || params[0][0] == u'-') &&
          modString::LowerCase(params[0].substr(1)) == modString::LowerCase(name));
  const int64_t limit = maxParams == -1 ? INT32_MAX : maxParams;
  const auto taken = static_cast<int64_t>(params.size()) - 1;
  Require(taken <= limit || (limit < 0 && taken == 0));
  Require(taken >= minParams || taken == limit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t minParams = static_cast<int32_t>(data[0] % 5) - 1;  // -1 to 3
  const int32_t maxParams = static_cast<int32_t>(data[1] % 5) - 1;
  static constexpr std::u16string_view kAlphabet = u" \t\"/-=:debuglogDEBUGLOG\u00C9\u0130x1 ";
  std::u16string text;
  for (size_t i = 2; i < size; ++i) {
    if (data[i] != 0xFF || i + 2 >= size) {
      text += kAlphabet[data[i] % kAlphabet.size()];
    } else {
      text += static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8));
      i += 2;
    }
  }
  const TokenArray tokens = modString::SplitCommandLine(text);
  CheckSplit(text, tokens);
  // A name taken from the input itself, so that matches are found often.
  std::vector<std::u16string> names{u"debug", u"log"};
  if (!tokens.empty() && tokens[0].size() > 1) names.push_back(tokens[0].substr(1));
  for (const std::u16string& name : names) CheckTakeSwitch(name, minParams, maxParams, tokens);
  return 0;
}
