#include "contracts/Text.h"

#include <cstdint>

namespace vx {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// A lead byte: how many continuation bytes follow it, and the range the first of them must lie
// in so that no overlong form, surrogate or code point above U+10FFFF can be spelled.
struct LeadByte {
  bool valid;
  size_t extra;
  uint8_t payloadMask, firstLow, firstHigh;
};

LeadByte LeadByteOf(uint8_t b) {
  if (b < 0x80) return {true, 0, 0x7F, 0, 0};
  if (b >= 0xC2 && b <= 0xDF) return {true, 1, 0x1F, 0x80, 0xBF};
  if (b == 0xE0) return {true, 2, 0x0F, 0xA0, 0xBF};
  if (b == 0xED) return {true, 2, 0x0F, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {true, 2, 0x0F, 0x80, 0xBF};
  if (b == 0xF0) return {true, 3, 0x07, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {true, 3, 0x07, 0x80, 0xBF};
  if (b == 0xF4) return {true, 3, 0x07, 0x80, 0x8F};
  return {false, 0, 0, 0, 0};
}

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHigh(c) || IsLow(c)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<uint8_t>(text[i]);
    const LeadByte kind = LeadByteOf(lead);
    char32_t cp = lead & kind.payloadMask;
    size_t used = 1;
    for (; used <= kind.extra && i + used < text.size(); ++used) {
      const auto next = static_cast<uint8_t>(text[i + used]);
      const bool first = used == 1;
      if (next < (first ? kind.firstLow : 0x80) || next > (first ? kind.firstHigh : 0xBF)) break;
      cp = (cp << 6) | (next & 0x3F);
    }
    // A broken sequence is replaced once, up to the byte that broke it.
    AppendUtf16(out, kind.valid && used == kind.extra + 1 ? cp : kReplacement);
    i += used;
  }
  return out;
}

}  // namespace vx
