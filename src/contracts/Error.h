// The program's error value and the one mechanism every routine uses to pass it on.
//
// An error is three fields: number, source, description. Inside the host it travels as the C++
// exception vx::Error. A routine "with a handler" wraps its body in vx::Handled(prefix, here, ...):
// when an error leaves the body, its source becomes  prefix + line + " (" + old source + ")",
// where line is the line of this routine at which the error arose. Number and description never
// change on the way up.
//
// Lines are real source lines: Raise and Check record the line they are written on, and every
// routine with a handler takes a trailing `vx::Here here = vx::Here::current()` parameter, so that
// when it passes an error on, its caller learns the line of the call. Routines without a handler
// that can fail take the same parameter and hand it to Raise/Check, so the line stays the caller's.
//
// No exception crosses a DLL boundary: contract members are noexcept and return vx::Status;
// vx::Guard turns an exception into a Status and vx::Check turns a failed Status back into an Error.
#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <source_location>
#include <string>
#include <string_view>
#include <utility>

namespace vx {

#if defined(__cpp_lib_source_location)
using Here = std::source_location;
#else
// clang 14 (the fuzz build) on libstdc++ 12 has no std::source_location; the builtin gives the
// same line of the call.
class Here {
 public:
  static constexpr Here current(uint_least32_t line = __builtin_LINE()) noexcept {
    Here here;
    here.line_ = line;
    return here;
  }
  constexpr uint_least32_t line() const noexcept { return line_; }

 private:
  uint_least32_t line_ = 0;
};
#endif

// The name used as source for errors the program raises without naming one.
inline constexpr std::u16string_view kProgramName = u"vxTM2Main";

// Error numbers of the platform that the program raises or expects.
enum ErrorNumber : int32_t {
  kErrAppDefined = 1,
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscript = 9,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrObjectNotSet = 91,
  kErrCannotCreate = 429,
  kErrNoSuchMember = 438,
  kErrDuplicateKey = 457,
};

// The platform's standard text for an error number; empty for a number it does not know.
std::u16string_view StandardErrorText(int32_t number) noexcept;

struct ErrorInfo {
  int32_t number = 0;
  std::u16string source;
  std::u16string description;

  friend bool operator==(const ErrorInfo&, const ErrorInfo&) = default;
};

class Error : public std::exception {
 public:
  // line: the line, in the routine that will handle the error next, at which it arose.
  Error(ErrorInfo info, uint32_t line);

  const ErrorInfo& info() const noexcept { return info_; }
  int32_t number() const noexcept { return info_.number; }
  const std::u16string& source() const noexcept { return info_.source; }
  const std::u16string& description() const noexcept { return info_.description; }
  uint32_t line() const noexcept { return line_; }

  // Adds the handling routine's location to the source; callerLine is where the caller called it.
  void Fold(std::u16string_view prefix, uint32_t callerLine);

  const char* what() const noexcept override { return what_.c_str(); }

 private:
  ErrorInfo info_;
  uint32_t line_;
  std::string what_;
};

// Raises an error. An empty source becomes the program's name, an empty description the
// standard text of the number.
[[noreturn]] void Raise(int32_t number, std::u16string_view source = {},
                        std::u16string_view description = {}, Here here = Here::current());

// Only inside a catch block: rethrows the error being handled as a vx::Error folded with prefix.
// Exceptions of the standard library become their platform errors first (bad_alloc: 7).
[[noreturn]] void RethrowFolded(std::u16string_view prefix, Here callSite);

// The body of a routine with a handler.
template <class Body>
decltype(auto) Handled(std::u16string_view prefix, Here callSite, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    RethrowFolded(prefix, callSite);
  }
}

// Result of every member of a contract: success, or the error that stopped it.
struct [[nodiscard]] Status {
  ErrorInfo error;

  bool ok() const noexcept { return error.number == 0; }
  static Status Ok() noexcept { return {}; }
  static Status Failed(ErrorInfo info) noexcept;
};

// Only inside a catch block: the error being handled as a Status.
Status StatusFromCurrentException() noexcept;

// Runs body and reports what escapes it as a Status: the boundary in the callee's direction.
template <class Body>
Status Guard(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return Status::Ok();
  } catch (...) {
    return StatusFromCurrentException();
  }
}

// Raises the error a failed status carries, as arisen at `here`: the boundary in the caller's
// direction.
void Check(const Status& status, Here here = Here::current());

}  // namespace vx
