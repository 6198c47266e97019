// The project log: the core's project object, bound once at start-up, receives every diagnostic
// line of the host under a category prefix ("Main.").
#pragma once

#include <string_view>

#include "contracts/Error.h"
#include "contracts/IProject.h"
#include "contracts/Object.h"

namespace mdlProjectHelpers {

// Replaces the bound project; a non-empty name makes the prefix name + ".", an empty one keeps it.
void BindProjectLog(vx::Ref<vx::IProject> project, std::u16string_view name,
                    vx::Here here = vx::Here::current());

// Writes prefix + category and message to the bound project. Error 91 before a binding; the
// project's own errors reach the caller unchanged.
void LogProject(std::u16string_view category, std::u16string_view message,
                vx::Here here = vx::Here::current());

// The bound project, empty before BindProjectLog. The crash filter, the help key and shutdown
// talk to it directly.
vx::Ref<vx::IProject> BoundProject() noexcept;

// Back to the state at process start: no project, no prefix. The program unbinds only at its
// very end, to release the project in its fixed teardown order; tests between cases.
void UnbindProjectLog() noexcept;

}  // namespace mdlProjectHelpers
