// Requests of the screens to the core: another screen, or the end of the program.
//
// A screen asks from inside its own window procedure (a button click). Replacing the screen
// there would destroy the window whose procedure is running, so the request is carried out
// later, from the message loop, by the core that is active then.
#pragma once

#include <string>

namespace vx::samplecore {

class CAppCore;

// The core between its Init and its Shutdown; null otherwise.
CAppCore* ActiveCore() noexcept;
void SetActiveCore(CAppCore* core) noexcept;

void RequestScreen(std::u16string progId);
// The first page of this run: the start screen, or the server start screen in server mode.
void RequestHome();
void RequestExit();

}  // namespace vx::samplecore
