// vxTM2Core.dll of the host's tests: hands every request to the test program that loaded it,
// which exports its fakes' factory.
#include <windows.h>

#include "contracts/Component.h"
#include "contracts/Error.h"

extern "C" __declspec(dllexport) void vxCreateObject(std::u16string_view className,
                                                     vx::IObject** object,
                                                     vx::Status* status) noexcept {
  const auto create = reinterpret_cast<vx::CreateObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), "vxCreateFake")));
  create(className, object, status);
}
