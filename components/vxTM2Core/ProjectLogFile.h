// The project log: one line per entry, UTF-8, in the user's local application data
// (the product's folder, project.log), appended to across runs.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win32/Unique.h"

namespace vx::samplecore {

// A log line's text made safe for a line-based file: control characters and backslashes are
// written as escapes (\r \n \t \\ \xNN), so a binary message such as a text block stays on
// one line and can be read back exactly.
std::u16string EscapeForLogLine(std::u16string_view text);

// The file the sample core logs to: <local application data>\<product name>\project.log
// (the temporary folder when the user has none), or the file named by VX_PROJECT_LOG when set.
std::wstring DefaultLogPath();

class ProjectLogFile {
 public:
  explicit ProjectLogFile(std::wstring path);
  ProjectLogFile(const ProjectLogFile&) = delete;
  ProjectLogFile& operator=(const ProjectLogFile&) = delete;

  // Appends "time<TAB>category<TAB>message" and a line end. A log that cannot be written is no
  // reason for the program to fail: the line is lost and false returned.
  bool Append(std::u16string_view category, std::u16string_view message) noexcept;
  // Hands what was written to the system, so that a crash right after loses nothing.
  void Flush() noexcept;

 private:
  std::wstring path_;
  win32::UniqueHandle file_;
};

}  // namespace vx::samplecore
