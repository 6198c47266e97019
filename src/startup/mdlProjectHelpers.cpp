#include "startup/mdlProjectHelpers.h"

#include <string>
#include <utility>

namespace mdlProjectHelpers {
namespace {

// One binding per process; the program has one thread.
struct Binding {
  vx::Ref<vx::IProject> project;
  std::u16string prefix;
};

Binding& TheBinding() noexcept {
  static Binding binding;
  return binding;
}

}  // namespace

void BindProjectLog(vx::Ref<vx::IProject> project, std::u16string_view name, vx::Here here) {
  vx::Handled(u"mdlProjectHelpers.", here, [&] {
    Binding& binding = TheBinding();
    binding.project = std::move(project);
    if (!name.empty()) binding.prefix = std::u16string(name) + u".";
  });
}

void LogProject(std::u16string_view category, std::u16string_view message, vx::Here here) {
  const Binding& binding = TheBinding();
  if (!binding.project) vx::Raise(vx::kErrObjectNotSet, {}, {}, here);
  vx::Check(binding.project->Log(binding.prefix + std::u16string(category), message), here);
}

vx::Ref<vx::IProject> BoundProject() noexcept {
  return TheBinding().project;
}

void UnbindProjectLog() noexcept {
  Binding& binding = TheBinding();
  binding.project.Reset();
  binding.prefix.clear();
}

}  // namespace mdlProjectHelpers
