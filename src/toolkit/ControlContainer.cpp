#include "toolkit/ControlContainer.h"

#include <algorithm>
#include <string>

#include "contracts/ObjectImpl.h"
#include "toolkit/ComponentRuntime.h"

namespace vx::toolkit {
namespace {

std::u16string Quoted(std::u16string_view prefix, std::u16string_view name,
                      std::u16string_view suffix = {}) {
  std::u16string text(prefix);
  text += u"'";
  text += name;
  text += u"'";
  text += suffix;
  return text;
}

}  // namespace

ControlContainer::~ControlContainer() {
  RemoveAll();
}

std::shared_ptr<ContainedControl> ControlContainer::Add(std::u16string_view progId,
                                                        std::u16string_view name, Here here) {
  if (!parent_) Raise(kErrObjectNotSet, {}, {}, here);
  if (name.empty()) Raise(kErrInvalidCall, {}, u"A control needs a name", here);
  if (Find(name)) {
    Raise(kErrDuplicateKey, {}, Quoted(u"There is already a control with the name ", name), here);
  }
  Ref<IObject> object = CreateObject(progId, here);
  void* asControl = nullptr;
  if (!object->QueryInterface(IControl::kIid, &asControl).ok() || !asControl) {
    Raise(kErrTypeMismatch, {}, Quoted(u"The class ", progId, u" is not a control"), here);
  }
  Ref<IControl> control = Ref<IControl>::Adopt(static_cast<IControl*>(asControl));
  object.Reset();

  intptr_t created = 0;
  Check(control->CreateControlWindow(reinterpret_cast<intptr_t>(parent_), &created), here);
  HWND window = reinterpret_cast<HWND>(created);
  if (!window || !IsWindow(window) || GetParent(window) != parent_) {
    // Only a window inside this form is ours to destroy.
    if (window && IsChild(parent_, window)) DestroyWindow(window);
    Raise(kErrInvalidCall, {},
          Quoted(u"The control ", progId, u" did not create a child window of the form"), here);
  }
  ShowWindow(window, SW_HIDE);
  // Owned from here on: should the entry not be stored, the handle's end destroys the window.
  std::shared_ptr<ContainedControl> entry(new ContainedControl(
      std::u16string(progId), std::u16string(name), std::move(control), window));
  controls_.push_back(entry);
  return entry;
}

void ControlContainer::Remove(std::u16string_view name, Here here) {
  auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& control) {
    return EqualsIgnoringAsciiCase(control->Name(), name);
  });
  if (it == controls_.end()) {
    Raise(kErrInvalidCall, {}, Quoted(u"There is no control with the name ", name), here);
  }
  std::shared_ptr<ContainedControl> removed = std::move(*it);
  controls_.erase(it);
  removed->Detach();
}

std::shared_ptr<ContainedControl> ControlContainer::Find(std::u16string_view name) const noexcept {
  for (const auto& control : controls_) {
    if (EqualsIgnoringAsciiCase(control->Name(), name)) return control;
  }
  return nullptr;
}

void ControlContainer::RemoveAll() noexcept {
  std::vector<std::shared_ptr<ContainedControl>> removed;
  removed.swap(controls_);
  for (const auto& control : removed) control->Detach();
}

}  // namespace vx::toolkit
