// The one way to run code that no error may leave: window, subclass and hook procedures,
// destructors, the crash filter.
//
// The boundary decides where an error goes, never the body: by default one line on the debugger
// output (OutputDebugStringW; standard error off Windows) with the place, the number, the source
// and the description. A boundary with another destination (the toolkit's critical box for event
// handlers) passes its own sink. Whatever happens, the caller goes on: a procedure still passes
// the message on, a destructor still finishes.
#pragma once

#include <string_view>
#include <utility>

#include "contracts/Error.h"

namespace vx {

// "where: error N in source: description" and a line end, to the debugger. Never raises.
void ToDebugger(std::u16string_view where, const ErrorInfo& error) noexcept;
// For steps whose failure only means the step is skipped (the crash filter's): the error ends here.
inline void Skip(std::u16string_view, const ErrorInfo&) noexcept {}

// Runs body; what escapes it goes to sink(where, error). True when the body completed.
template <class Body, class Sink = decltype(&ToDebugger)>
bool Contain(std::u16string_view where, Body&& body, Sink&& sink = &ToDebugger) noexcept {
  const Status status = Guard(std::forward<Body>(body));
  if (!status.ok()) std::forward<Sink>(sink)(where, status.error);
  return status.ok();
}

}  // namespace vx
