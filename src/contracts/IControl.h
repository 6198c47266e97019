// What the host's control container needs of a control it creates by class name.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/Object.h"

namespace vx {

// Receives a control's argument-less notifications.
struct IEventSink : IObject {
  static constexpr InterfaceId kIid = "vx.IEventSink";

  virtual Status OnEvent(std::u16string_view name) noexcept = 0;
};

struct IControl : IObject {
  static constexpr InterfaceId kIid = "vx.IControl";

  // Creates the control's window, invisible, as a child of the window `parent`. The container
  // places, shows, focuses and finally destroys that window; the control keeps itself alive
  // as long as the container holds it.
  virtual Status CreateControlWindow(intptr_t parent, intptr_t* window) noexcept = 0;
  // Null stops the notifications. The control holds no count of the sink.
  virtual Status SetEventSink(IEventSink* sink) noexcept = 0;
};

}  // namespace vx
