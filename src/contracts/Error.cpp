#include "contracts/Error.h"

#include <stdexcept>

#include "contracts/AsciiText.h"
#include "contracts/Text.h"

namespace vx {
namespace {

std::u16string FoldedSource(std::u16string_view prefix, uint32_t line, std::u16string_view source) {
  std::u16string folded(prefix);
  folded += DecimalText(line);
  folded += u" (";
  folded += source;
  folded += u")";
  return folded;
}

ErrorInfo MakeInfo(int32_t number, std::u16string_view source, std::u16string_view description) {
  ErrorInfo info;
  info.number = number;
  info.source = source.empty() ? std::u16string(kProgramName) : std::u16string(source);
  info.description =
      description.empty() ? std::u16string(StandardErrorText(number)) : std::u16string(description);
  return info;
}

// The error being handled, whatever was thrown, as a vx::Error.
Error CurrentAsError() {
  try {
    throw;
  } catch (const Error& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return Error(MakeInfo(kErrOutOfMemory, {}, {}), 0);
  } catch (const std::overflow_error&) {
    return Error(MakeInfo(kErrOverflow, {}, {}), 0);
  } catch (const std::out_of_range&) {
    return Error(MakeInfo(kErrSubscript, {}, {}), 0);
  } catch (const std::exception& e) {
    return Error(MakeInfo(kErrAppDefined, {}, FromUtf8(e.what())), 0);
  } catch (...) {
    return Error(MakeInfo(kErrAppDefined, {}, {}), 0);
  }
}

}  // namespace

std::u16string_view StandardErrorText(int32_t number) noexcept {
  switch (number) {
    case kErrAppDefined:
      return u"Application-defined or object-defined error";
    case kErrInvalidCall:
      return u"Invalid procedure call or argument";
    case kErrOverflow:
      return u"Overflow";
    case kErrOutOfMemory:
      return u"Out of memory";
    case kErrSubscript:
      return u"Subscript out of range";
    case kErrDivisionByZero:
      return u"Division by zero";
    case kErrTypeMismatch:
      return u"Type mismatch";
    case kErrObjectNotSet:
      return u"Object variable or With block variable not set";
    case kErrCannotCreate:
      return u"ActiveX component can't create object";
    case kErrNoSuchMember:
      return u"Object doesn't support this property or method";
    case kErrDuplicateKey:
      return u"This key is already associated with an element of this collection";
    default:
      return {};
  }
}

Error::Error(ErrorInfo info, uint32_t line)
    : info_(std::move(info)), line_(line), what_(ToUtf8(info_.description)) {}

void Error::Fold(std::u16string_view prefix, uint32_t callerLine) {
  info_.source = FoldedSource(prefix, line_, info_.source);
  line_ = callerLine;
}

void Raise(int32_t number, std::u16string_view source, std::u16string_view description, Here here) {
  throw Error(MakeInfo(number, source, description), here.line());
}

void RethrowFolded(std::u16string_view prefix, Here callSite) {
  Error error = CurrentAsError();
  error.Fold(prefix, callSite.line());
  throw error;
}

Status Status::Failed(ErrorInfo info) noexcept {
  Status status;
  status.error = std::move(info);
  return status;
}

Status StatusFromCurrentException() noexcept {
  try {
    return Status::Failed(CurrentAsError().info());
  } catch (...) {
    // Not even the error could be copied: report the lack of memory without allocating.
    Status status;
    status.error.number = kErrOutOfMemory;
    return status;
  }
}

void Check(const Status& status, Here here) {
  if (!status.ok()) throw Error(status.error, here.line());
}

}  // namespace vx
