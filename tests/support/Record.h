// Reading the test core's record (see TestCore.h for its lines).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::itest {

// One record line split into its name and fields. Quoted fields are decoded to the exact UTF-16
// text the core received; a field written key=value keeps its key, and its value is decoded when
// quoted (caption="a b" becomes  caption=a b ).
struct RecordEntry {
  std::string raw;
  std::string name;
  std::vector<std::u16string> fields;

  // The value of the field "key=...", if present.
  std::optional<std::u16string> Field(std::u16string_view key) const;
};

// One field of a line: its text (quoted texts decoded; key="v" becomes key=v) and whether the
// whole field was one quoted text.
struct Field {
  std::u16string text;
  bool quoted = false;
};
// Splits a line at single spaces outside quotes. Throws std::invalid_argument for an unterminated
// quote or a malformed escape.
std::vector<Field> SplitFields(std::string_view line);

// Encodes text as the record does: quoted, with \" \\ \r \n \t \xNN (other controls, DEL) and
// \uNNNN (everything beyond ASCII, code unit by code unit).
std::string EncodeRecordedText(std::u16string_view text);
// The inverse of EncodeRecordedText for one quoted text (with or without its quotes). Throws
// std::invalid_argument for a malformed escape.
std::u16string DecodeRecordedText(std::string_view quoted);

RecordEntry ParseRecordLine(std::string_view line);
std::vector<RecordEntry> ParseRecord(std::string_view text);

// The entries whose name is `name`, in order.
std::vector<RecordEntry> EntriesNamed(const std::vector<RecordEntry>& record,
                                      std::string_view name);
// The names of the entries, in order (for comparing call sequences).
std::vector<std::string> Names(const std::vector<RecordEntry>& record);

}  // namespace vx::itest
