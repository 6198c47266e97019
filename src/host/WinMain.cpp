// The program's entry point: the main window is the start object; everything else happens in its
// handlers and in the core it starts.
#include <windows.h>

#include <string>

#include "contracts/AsciiText.h"
#include "contracts/Contain.h"
#include "contracts/Error.h"
#include "contracts/Object.h"
#include "host/frmMain.h"
#include "startup/mdlProjectHelpers.h"
#include "toolkit/ComponentRuntime.h"
#include "toolkit/MessageBox.h"
#include "toolkit/MessageLoop.h"

namespace {

constexpr int kExitNormal = 0;
// Start-up failed and said so in its message box.
constexpr int kExitStartupFailed = 1;

// An error that escaped the window's own handling (its creation failed): the user is told.
void ReportUnhandled(const vx::Error& error) noexcept {
  vx::Contain(u"WinMain", [&] {
    const std::u16string text = u"Error: " + vx::DecimalText(error.number()) + u";" +
                                error.source() + u" " + error.description();
    vx::toolkit::ShowMessageBox(nullptr, text, frmMain::kAppTitle, MB_ICONSTOP | MB_OK);
  });
}

int Run() {
  int exitCode = kExitNormal;
  vx::Ref<frmMain> mainWindow = vx::MakeObject<frmMain>();
  try {
    mainWindow->Load();
    mainWindow->Show();
    exitCode = vx::toolkit::RunMessageLoop();
  } catch (const vx::Error& error) {
    ReportUnhandled(error);
    exitCode = kExitStartupFailed;
  }
  if (mainWindow->LoadFailed()) exitCode = kExitStartupFailed;
  // Teardown in a fixed order: the core if a failed start-up left one, the window, then the
  // project the log was bound to, which holds the core library's last objects; then the leak
  // check of debug builds.
  mainWindow->ReleaseCore();
  mainWindow.Reset();
  mdlProjectHelpers::UnbindProjectLog();
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vx::toolkit::InitializeProcess();
  const int exitCode = Run();
#ifndef NDEBUG
  // Development builds only: a release build must not fail a user's run over a leak at exit.
  vx::toolkit::AssertNoLiveObjects();
#endif
  return exitCode;
}
