#include "Navigation.h"

#include <windows.h>

#include <deque>
#include <utility>

#include "CAppCore.h"

namespace vx::samplecore {
namespace {

CAppCore* gActiveCore = nullptr;

struct Request {
  enum Kind { kScreen, kHome, kExit } kind = kScreen;
  std::u16string progId;
};
std::deque<Request> gRequests;

void CALLBACK RunRequest(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (gRequests.empty()) return;
  Request request = std::move(gRequests.front());
  gRequests.pop_front();
  CAppCore* core = ActiveCore();
  if (!core) return;
  // The core may be released while it ends the program; keep it until the request is done.
  const Ref<CAppCore> keep = Ref<CAppCore>::Share(core);
  switch (request.kind) {
    case Request::kExit:
      keep->EndProgram();
      break;
    case Request::kHome:
      keep->ShowScreen(keep->HomeScreen());
      break;
    case Request::kScreen:
      keep->ShowScreen(request.progId);
      break;
  }
}

void Schedule(Request request) {
  gRequests.push_back(std::move(request));
  SetTimer(nullptr, 0, 0, &RunRequest);
}

}  // namespace

CAppCore* ActiveCore() noexcept {
  return gActiveCore;
}
void SetActiveCore(CAppCore* core) noexcept {
  gActiveCore = core;
}

void RequestScreen(std::u16string progId) {
  Schedule({Request::kScreen, std::move(progId)});
}
void RequestHome() {
  Schedule({Request::kHome, {}});
}
void RequestExit() {
  Schedule({Request::kExit, {}});
}

}  // namespace vx::samplecore
