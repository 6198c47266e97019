// The members of a screen that the host and the core reach by dispatch identifier.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/ClassNames.h"

namespace vx::dispid {

inline constexpr int32_t kTitle = 0x60030000;
inline constexpr int32_t kTerminate = 0x60030001;
inline constexpr int32_t kStartscreenCommand = 0x60030002;
inline constexpr int32_t kServerStartscreenCommand = 0x60030011;

}  // namespace vx::dispid

namespace vx {

// The screens on which the user may close the window: the host sends their command member
// "exit" before the window goes.
struct StartScreen {
  std::u16string_view progId;
  int32_t commandDispId;
};
inline constexpr StartScreen kStartScreens[] = {
    {classes::kStartscreen, dispid::kStartscreenCommand},
    {classes::kServerStartscreen, dispid::kServerStartscreenCommand},
};

}  // namespace vx
