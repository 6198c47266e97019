#include "support/Record.h"

#include <cstdio>
#include <stdexcept>

namespace vx::itest {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  throw std::invalid_argument("bad hex digit in a recorded text");
}

char16_t HexValue(std::string_view text, size_t at, size_t digits) {
  if (at + digits > text.size()) throw std::invalid_argument("short escape in a recorded text");
  unsigned value = 0;
  for (size_t i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[at + i]);
  return static_cast<char16_t>(value);
}

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "%s%0*X", prefix, digits, value);
  out += buffer;
}

// Decodes the escaped body of a quoted text (without its quotes).
std::u16string DecodeBody(std::string_view body) {
  std::u16string text;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c != '\\') {
      text += static_cast<char16_t>(static_cast<unsigned char>(c));
      continue;
    }
    if (++i >= body.size()) throw std::invalid_argument("escape at the end of a recorded text");
    switch (body[i]) {
      case '"':
        text += u'"';
        break;
      case '\\':
        text += u'\\';
        break;
      case 'r':
        text += u'\r';
        break;
      case 'n':
        text += u'\n';
        break;
      case 't':
        text += u'\t';
        break;
      case 'x':
        text += HexValue(body, i + 1, 2);
        i += 2;
        break;
      case 'u':
        text += HexValue(body, i + 1, 4);
        i += 4;
        break;
      default:
        throw std::invalid_argument("unknown escape in a recorded text");
    }
  }
  return text;
}

}  // namespace

std::string EncodeRecordedText(std::u16string_view text) {
  std::string out = "\"";
  for (const char16_t c : text) {
    switch (c) {
      case u'"':
        out += "\\\"";
        break;
      case u'\\':
        out += "\\\\";
        break;
      case u'\r':
        out += "\\r";
        break;
      case u'\n':
        out += "\\n";
        break;
      case u'\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          AppendHex(out, "\\x", c, 2);
        } else if (c > 0x7F) {
          AppendHex(out, "\\u", c, 4);
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

std::u16string DecodeRecordedText(std::string_view quoted) {
  if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"') {
    quoted = quoted.substr(1, quoted.size() - 2);
  }
  return DecodeBody(quoted);
}

std::vector<Field> SplitFields(std::string_view line) {
  std::vector<Field> fields;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    Field field;
    const size_t start = i;
    size_t firstQuoteEnd = 0;
    // A field runs to the next blank outside quotes; quoted parts are decoded in place.
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
      if (line[i] != '"') {
        field.text += static_cast<char16_t>(static_cast<unsigned char>(line[i++]));
        continue;
      }
      size_t end = i + 1;
      while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2 : 1;
      if (end >= line.size()) throw std::invalid_argument("unterminated quote");
      field.text += DecodeBody(line.substr(i + 1, end - i - 1));
      if (i == start) firstQuoteEnd = end + 1;
      i = end + 1;
    }
    field.quoted = firstQuoteEnd == i;
    fields.push_back(std::move(field));
  }
  return fields;
}

std::optional<std::u16string> RecordEntry::Field(std::u16string_view key) const {
  for (const std::u16string& field : fields) {
    if (field.size() > key.size() && field.compare(0, key.size(), key) == 0 &&
        field[key.size()] == u'=') {
      return field.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

RecordEntry ParseRecordLine(std::string_view line) {
  RecordEntry entry;
  entry.raw = std::string(line);
  std::vector<itest::Field> fields = SplitFields(line);
  if (fields.empty()) return entry;
  for (const char16_t c : fields.front().text) entry.name += static_cast<char>(c);
  for (size_t i = 1; i < fields.size(); ++i) entry.fields.push_back(std::move(fields[i].text));
  return entry;
}

std::vector<RecordEntry> ParseRecord(std::string_view text) {
  std::vector<RecordEntry> record;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) record.push_back(ParseRecordLine(line));
    start = end + 1;
  }
  return record;
}

std::vector<RecordEntry> EntriesNamed(const std::vector<RecordEntry>& record,
                                      std::string_view name) {
  std::vector<RecordEntry> found;
  for (const RecordEntry& entry : record) {
    if (entry.name == name) found.push_back(entry);
  }
  return found;
}

std::vector<std::string> Names(const std::vector<RecordEntry>& record) {
  std::vector<std::string> names;
  names.reserve(record.size());
  for (const RecordEntry& entry : record) names.push_back(entry.name);
  return names;
}

}  // namespace vx::itest
