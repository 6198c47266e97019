#include "startup/modString.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "contracts/AsciiText.h"

namespace modString {
namespace {

constexpr std::u16string_view kPrefix = u"modString.";

bool IsSeparator(char16_t c) noexcept {
  return c == u' ' || c == u'\t';
}
bool IsSwitchPrefix(char16_t c) noexcept {
  return c == u'/' || c == u'-';
}
bool LooksLikeSwitch(std::u16string_view t) noexcept {
  return !t.empty() && IsSwitchPrefix(t[0]);
}

// The token without its prefix, lower-cased, when it is a switch; the caller compares it.
bool IsSwitchNamed(std::u16string_view token, std::u16string_view lowerName) {
  return LooksLikeSwitch(token) && LowerCase(token.substr(1)) == lowerName;
}

bool IsEvenIn(char16_t c, char16_t first, char16_t last) noexcept {
  return c >= first && c <= last && (c - first) % 2 == 0;
}

// How far a successful match at start reaches (one past its last parameter), or nothing when the
// tokens run out before it has minParams parameters.
bool MatchExtent(const TokenArray& tokens, size_t start, int64_t minParams, int64_t maxParams,
                 size_t& end) {
  for (size_t index = start + 1;; ++index) {
    const auto taken = static_cast<int64_t>(index - start);
    const bool enough = taken > minParams;
    if (taken > maxParams || (index < tokens.size() && enough && LooksLikeSwitch(tokens[index]))) {
      end = index;
      return true;
    }
    if (index >= tokens.size()) {
      end = index;
      return enough;
    }
  }
}

}  // namespace

char16_t LowerCase(char16_t c) noexcept {
  if (c < 0x80) return vx::AsciiLower(c);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  if (c == 0x0130) return u'i';
  if (c == 0x0178) return 0x00FF;
  if (IsEvenIn(c, 0x0100, 0x012F) || IsEvenIn(c, 0x0132, 0x0137) || IsEvenIn(c, 0x014A, 0x0177) ||
      IsEvenIn(c, 0x0460, 0x0481) || IsEvenIn(c, 0x048A, 0x04BF)) {
    return static_cast<char16_t>(c + 1);
  }
  if ((c >= 0x0139 && c <= 0x0148 && c % 2 == 1) || (c >= 0x0179 && c <= 0x017E && c % 2 == 1)) {
    return static_cast<char16_t>(c + 1);
  }
  if (c == 0x0386) return 0x03AC;
  if (c >= 0x0388 && c <= 0x038A) return static_cast<char16_t>(c + 37);
  if (c == 0x038C) return 0x03CC;
  if (c == 0x038E || c == 0x038F) return static_cast<char16_t>(c + 63);
  if ((c >= 0x0391 && c <= 0x03AB && c != 0x03A2) || (c >= 0x0410 && c <= 0x042F)) {
    return static_cast<char16_t>(c + 0x20);
  }
  if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);
  return c;
}

std::u16string LowerCase(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) c = LowerCase(c);
  return lower;
}

TokenArray SplitCommandLine(std::u16string_view text, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    TokenArray tokens;
    size_t pos = 0;
    while (pos < text.size()) {
      if (IsSeparator(text[pos])) {
        ++pos;
        continue;
      }
      size_t end;  // one past the token
      if (text[pos] == u'"') {
        const size_t close = text.find(u'"', pos + 1);
        end = close == std::u16string_view::npos ? text.size() : close + 1;
      } else {
        const auto sep = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos) + 1,
                                      text.end(), IsSeparator);
        end = static_cast<size_t>(sep - text.begin());
      }
      tokens.emplace_back(text.substr(pos, end - pos));
      pos = end;
    }
    return tokens;
  });
}

bool TakeSwitch(std::u16string_view name, int32_t minParams, int32_t maxParams, TokenArray& tokens,
                std::vector<std::u16string>& params, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    const int64_t limit = maxParams == -1 ? std::numeric_limits<int32_t>::max() : maxParams;
    const std::u16string lowerName = LowerCase(name);
    bool result = false;
    size_t index = 0;
    while (index < tokens.size()) {
      if (!IsSwitchNamed(tokens[index], lowerName)) {
        ++index;
        continue;
      }
      const size_t start = index;
      size_t end = 0;
      if (!MatchExtent(tokens, start, minParams, limit, end)) {
        // Too few parameters: the match stays, and so does an earlier match's params. No later
        // match can do better, as it has even fewer tokens after it.
        index = end;
        continue;
      }
      result = true;
      const auto first = tokens.begin() + static_cast<std::ptrdiff_t>(start);
      const auto last = tokens.begin() + static_cast<std::ptrdiff_t>(end);
      params.assign(std::make_move_iterator(first), std::make_move_iterator(last));
      tokens.erase(first, last);
      index = start;  // the token that moved into the gap is examined next
    }
    return result;
  });
}

bool TakeOptionValue(std::u16string_view name, bool allowBare, TokenArray& tokens,
                     std::u16string& value, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    const std::u16string lowerName = LowerCase(name);
    const std::u16string withEquals = lowerName + u"=";
    for (auto it = tokens.begin(); it != tokens.end(); ++it) {
      if (!LooksLikeSwitch(*it)) continue;
      const std::u16string rest = LowerCase(std::u16string_view(*it).substr(1));
      if (allowBare && rest == lowerName) {
        tokens.erase(it);
        return true;
      }
      if (StartsWithExact(rest, withEquals)) {
        value = rest.substr(withEquals.size());
        tokens.erase(it);
        return true;
      }
    }
    return false;
  });
}

std::u16string StripQuotes(std::u16string_view s, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    if (s.size() >= 2 && s.front() == u'"' && s.back() == u'"') {
      return std::u16string(s.substr(1, s.size() - 2));
    }
    return std::u16string(s);
  });
}

bool StartsWithExact(std::u16string_view s, std::u16string_view prefix, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    // substr stops at the end: a shorter text never equals the prefix.
    return EqualsExact(s.substr(0, prefix.size()), prefix);
  });
}

bool EqualsExact(std::u16string_view a, std::u16string_view b) noexcept {
  return a == b;
}

}  // namespace modString
