// The component runtime: objects of the component libraries, created by class name.
//
// A class name "Library.Class" names the library Library.dll in the program's own folder (the
// folder of the running executable, never the current directory or PATH) and the class Class in
// it. Each library is loaded once, with a search path limited to its own folder and System32,
// and stays loaded until the process ends: an object of it may live as long as the process, and
// unloading code that an object still runs would crash.
//
// Objects are made through the library's exported vx::kCreateObjectExport entry point
// (contracts/Component.h). The entry point reports a class it does not know as error 429.
//
// Failures are error 429 ("ActiveX component can't create object") with a description that names
// the class: a class name that is not "Library.Class" with a plain library name (no path
// separators, drive letters, "..", empty parts), a missing library, a library without the entry
// point, an unknown class. An error of another number that the entry point returns (the object's
// own start-up failed) is passed on unchanged.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/Error.h"
#include "contracts/Object.h"

namespace vx::toolkit {

// First thing in WinMain: every later library load of the process searches only the program's
// folder and System32.
void InitializeProcess();

Ref<IObject> CreateObject(std::u16string_view progId, Here here = Here::current());

template <class I>
Ref<I> Create(std::u16string_view progId, Here here = Here::current()) {
  return QueryAs<I>(CreateObject(progId, here), here);
}

// Objects still alive: the host's own (vx::gLiveObjects) and every loaded library's.
int32_t LiveObjects() noexcept;

// The leak check at the end of the program: true when no object is alive. Otherwise writes the
// count to the debugger output and returns false.
bool CheckNoLiveObjects() noexcept;
// The same, but in debug builds (!NDEBUG) a leak aborts the program after the report.
bool AssertNoLiveObjects() noexcept;

}  // namespace vx::toolkit
