// The child controls of a form, added by class name under a name and removed by name.
//
// Names are compared without regard to letter case. A control is created through the component
// runtime (ComponentRuntime.h), asked for vx::IControl, given its window as a child of the form
// and kept invisible until the host shows it. Errors leave nothing behind (no window, no entry):
//   - a name already in use: error 457, naming the name;
//   - a class the runtime cannot create: error 429, naming the class;
//   - an object that is not a control: error 13, naming the class;
//   - a control that gives no child window of the form: error 5, naming the class;
//   - Remove or Find of a name not in use: error 5 (Remove) / null (Find).
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "contracts/Error.h"
#include "toolkit/ContainedControl.h"

namespace vx::toolkit {

class ControlContainer {
 public:
  ControlContainer() = default;
  ControlContainer(const ControlContainer&) = delete;
  ControlContainer& operator=(const ControlContainer&) = delete;
  ~ControlContainer();

  std::shared_ptr<ContainedControl> Add(std::u16string_view progId, std::u16string_view name,
                                        Here here = Here::current());
  // Destroys the control's window and releases its object; held handles become detached.
  void Remove(std::u16string_view name, Here here = Here::current());
  // Null for a name not in use.
  std::shared_ptr<ContainedControl> Find(std::u16string_view name) const noexcept;
  size_t Count() const noexcept { return controls_.size(); }

 private:
  friend class Form;
  // The form's window, once it exists; null again when it is destroyed.
  void AttachTo(HWND parent) noexcept { parent_ = parent; }
  // Removes every control: the form's window is going.
  void RemoveAll() noexcept;

  HWND parent_ = nullptr;
  std::vector<std::shared_ptr<ContainedControl>> controls_;
};

}  // namespace vx::toolkit
