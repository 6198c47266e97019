// Shared pieces of the toolkit's tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Form.h"

namespace vx::test {

// Removes a WM_QUIT that the end of a test's last form left in the thread's queue; true if one
// was there.
bool TakeQuitMessage();
// Handles the messages waiting in the queue (without running a loop until WM_QUIT).
void PumpMessages();
// The child windows of a window.
std::vector<HWND> ChildWindows(HWND parent);

// A form that records its events as text, and can be told to refuse or fail.
class RecordingForm : public vx::toolkit::Form {
 public:
  std::vector<std::string> events;
  bool refuseQuery = false;
  bool refuseUnload = false;
  bool failActivate = false;
  bool unloadInLoad = false;
  bool failQuery = false;  // The close request raises an error.

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_KeyDown(int16_t keyCode, int16_t shift) override;
  void Form_Resize() override;
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode) override;
  void Form_Unload(int16_t& cancel) override;
};

}  // namespace vx::test
