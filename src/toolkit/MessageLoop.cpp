#include "toolkit/MessageLoop.h"

#include <windows.h>

#include "toolkit/Form.h"

namespace vx::toolkit {

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    Form::PreviewKeyMessage(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vx::toolkit
