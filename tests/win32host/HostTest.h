// The real main window in this process, started as the program starts it, with the fakes as its
// core library and the real base controls.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "contracts/Object.h"
#include "fakes/Fakes.h"
#include "host/frmMain.h"

namespace vx::hosttest {

// While it lives, the process's command line (as GetCommandLineW reports it) is
// "vxTM2Main.exe " followed by `arguments`.
class CommandLine {
 public:
  explicit CommandLine(std::wstring_view arguments);
  ~CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

 private:
  wchar_t* line_;
  std::wstring saved_;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window and runs its start-up with these program arguments.
  void Load(std::wstring_view arguments = L"");
  // Load, then show the window as the program does (the first activation).
  void Start();
  // Handles the messages waiting in the queue.
  static void Pump();

  HWND Window() const { return host->Handle(); }
  RECT Bounds() const;
  // What IGui::GetGeometry reads.
  std::u16string Geometry();
  // The log lines written so far ("Main.Load: ...").
  std::vector<std::string> LogLines() const { return fakes.CallsOf("Project.Log "); }

  fakes::Fakes& fakes = fakes::TheFakes();
  Ref<frmMain> host;

 private:
  int32_t liveObjects_ = 0;
};

// The text a failed start-up shows, up to the error text.
inline constexpr char16_t kNotInstalled[] =
    u"Application not properly installed, try re-installing!\r\n\r\nError: ";

// True when text matches the regular expression (ECMAScript) as a whole.
bool Matches(std::u16string_view text, const std::string& pattern);

}  // namespace vx::hosttest
