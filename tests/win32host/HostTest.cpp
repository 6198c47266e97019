#include "HostTest.h"

#include <regex>

#include "contracts/Text.h"
#include "startup/mdlGpfTm2.h"
#include "startup/mdlProjectHelpers.h"
#include "toolkit/ComponentRuntime.h"
#include "toolkit/Form.h"
#include "toolkit/PendingCallNotice.h"

namespace vx::hosttest {
namespace {

// While it lives, the process's command line (as GetCommandLineW reports it) is
// "vxTM2Main.exe " followed by `arguments`.
class CommandLine {
 public:
  explicit CommandLine(std::wstring_view arguments) : line_(GetCommandLineW()), saved_(line_) {
    const std::wstring line = L"vxTM2Main.exe " + std::wstring(arguments);
    // The new text goes into the platform's own buffer, which the test program's long path
    // leaves large enough.
    if (line.size() > saved_.size()) throw std::length_error("command line too long for the test");
    line.copy(line_, line.size());
    line_[line.size()] = L'\0';
  }
  ~CommandLine() {
    saved_.copy(line_, saved_.size());
    line_[saved_.size()] = L'\0';
  }
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

 private:
  wchar_t* line_;
  std::wstring saved_;
};

}  // namespace

void HostTest::SetUp() {
  fakes::Reset();
  liveObjects_ = toolkit::LiveObjects();
}

void HostTest::TearDown() {
  if (host && host->IsLoaded()) host->Unload();
  Pump();
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  if (host) host->ReleaseCore();
  host.Reset();
  mdlProjectHelpers::UnbindProjectLog();
  mdlGpfTm2::RemoveCrashFilter();
  toolkit::PendingCallNotice::SetTimeout(0);
  fakes::Reset();
  EXPECT_EQ(toolkit::LiveObjects(), liveObjects_) << "objects left alive";
}

void HostTest::Load(std::wstring_view arguments) {
  CommandLine commandLine(arguments);
  host = MakeObject<frmMain>();
  host->Load();
}

void HostTest::Start() {
  Load();
  ASSERT_TRUE(host->IsLoaded());
  host->Show();
  Pump();
}

void HostTest::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    toolkit::Form::PreviewKeyMessage(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

RECT HostTest::Bounds() const {
  RECT bounds{};
  GetWindowRect(Window(), &bounds);
  return bounds;
}

std::pair<int, int> HostTest::Size() const {
  const RECT bounds = Bounds();
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::u16string HostTest::Geometry() {
  std::u16string geometry;
  EXPECT_TRUE(host->GetGeometry(&geometry).ok());
  return geometry;
}

bool Matches(std::u16string_view text, const std::string& pattern) {
  return std::regex_match(ToUtf8(text), std::regex(pattern));
}

}  // namespace vx::hosttest
