// Fakes of the core library's objects for the host's tests: the core, its project, the settings
// store and the screens. Every call they receive is written to one list, in order, as a short text
// ("Settings.SetValue log=n"); a test sets the hooks and the failures before it starts the host.
// The host creates them by class name through the component runtime: the test program's
// vxTM2Core.dll hands every request to the program's vxCreateFake; the integration tests' core
// library calls it itself.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/Error.h"
#include "contracts/IGui.h"
#include "contracts/Object.h"

namespace vx::fakes {

struct Fakes {
  std::vector<std::string> calls;
  // A call named here ("Core.Init", "Project.GetText", ...) returns this error instead.
  std::map<std::string, ErrorInfo, std::less<>> failures;
  // What Core.Init answers for ok; it may call back into the window first.
  std::function<bool(IGui& gui)> init = [](IGui&) { return true; };
  // Run by Core.Activate and Core.ActivateServer.
  std::function<void()> activate = [] {};
  // What Core.QueryClose leaves in its cancel flag, given the flag it received.
  std::function<bool(bool cancel)> queryClose = [](bool cancel) { return cancel; };
  // Sees every call as it is recorded.
  std::function<void(const std::string& call)> onCall;

  // The calls that begin with `prefix`, without it.
  std::vector<std::string> CallsOf(std::string_view prefix) const;
};

// The one set of fakes of this process; Reset() starts a test from nothing.
Fakes& TheFakes();
void Reset();

}  // namespace vx::fakes

// The objects of "vxTM2Core.<className>": CAppCore, CSettingsStore and any class whose name begins
// with "ctl" (a screen; "ctlNoSuchScreen" is unknown).
extern "C" __declspec(dllexport) void vxCreateFake(std::u16string_view className,
                                                   vx::IObject** object,
                                                   vx::Status* status) noexcept;
