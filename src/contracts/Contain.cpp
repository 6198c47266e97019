#include "contracts/Contain.h"

#include "contracts/AsciiText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>

#include "contracts/Text.h"
#endif

namespace vx {

void ToDebugger(std::u16string_view where, const ErrorInfo& error) noexcept {
  try {
    std::u16string line(where);
    line += u": error " + DecimalText(error.number) + u" in " + error.source + u": " +
            error.description + u"\n";
#ifdef _WIN32
    OutputDebugStringW(reinterpret_cast<const wchar_t*>(line.c_str()));
#else
    std::fputs(ToUtf8(line).c_str(), stderr);
#endif
  } catch (...) {
    // Not even the line could be made: the error ends here unseen.
  }
}

}  // namespace vx
