// The message loop of the program's thread.
#pragma once

namespace vx::toolkit {

// Runs until WM_QUIT and returns its exit code. Key messages for a child window of a form with
// key preview reach the form's Form_KeyDown before they are dispatched to the child.
int RunMessageLoop();

}  // namespace vx::toolkit
