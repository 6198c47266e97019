#include "host/ProgramArguments.h"

namespace vx::host {
namespace {

bool IsSeparator(char16_t c) noexcept {
  return c == u' ' || c == u'\t';
}

}  // namespace

std::u16string_view ArgumentTextOf(std::u16string_view commandLine) noexcept {
  size_t pos = 0;
  if (!commandLine.empty() && commandLine[0] == u'"') {
    // A quoted path ends at its closing quote, whatever follows (CommandLineToArgvW's rule).
    const size_t close = commandLine.find(u'"', 1);
    pos = close == std::u16string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (pos < commandLine.size() && !IsSeparator(commandLine[pos])) ++pos;
  }
  while (pos < commandLine.size() && IsSeparator(commandLine[pos])) ++pos;
  return commandLine.substr(pos);
}

}  // namespace vx::host
