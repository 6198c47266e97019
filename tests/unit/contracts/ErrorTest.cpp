#include "contracts/Error.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "testing/ErrorNumberOf.h"

namespace {

using vx::Here;
using vx::testing::ErrorOf;

// Three routines with handlers, each calling the next on a known line.
void Innermost(Here here = Here::current()) {
  vx::Handled(u"modString.", here, [&] { vx::Raise(5, u"Core", u"broken"); });
}
constexpr uint32_t kRaiseLine = __LINE__ - 2;

void Middle(Here here = Here::current()) {
  vx::Handled(u"CHashLong.", here, [&] { Innermost(); });
}
constexpr uint32_t kMiddleCallLine = __LINE__ - 2;

void Outer(Here here = Here::current()) {
  vx::Handled(u"frmMain.", here, [&] { Middle(); });
}
constexpr uint32_t kOuterCallLine = __LINE__ - 2;

std::u16string Num(uint32_t n) {
  const std::string s = std::to_string(n);
  return {s.begin(), s.end()};
}

TEST(ErrorConvention, NestedHandlersFoldTheirLinesInCallOrder) {
  EXPECT_EQ(
      ErrorOf([] { Outer(); }),
      (vx::ErrorInfo{5,
                     u"frmMain." + Num(kOuterCallLine) + u" (CHashLong." + Num(kMiddleCallLine) +
                         u" (modString." + Num(kRaiseLine) + u" (Core)))",
                     u"broken"}));
}

TEST(ErrorConvention, EmptySourceAndDescriptionAreFilledIn) {
  uint32_t line = 0;
  const vx::ErrorInfo handled = ErrorOf([&] {
    vx::Handled(u"frmMain.", Here::current(), [&] {
      line = __LINE__ + 1;
      vx::Raise(vx::kErrAppDefined, {}, u"Too many parameters");
    });
  });
  EXPECT_EQ(handled,
            (vx::ErrorInfo{1, u"frmMain." + Num(line) + u" (vxTM2Main)", u"Too many parameters"}));
  EXPECT_EQ(ErrorOf([] { vx::Raise(vx::kErrObjectNotSet); }),
            (vx::ErrorInfo{91, u"vxTM2Main", u"Object variable or With block variable not set"}));
  EXPECT_EQ(ErrorOf([] { vx::Raise(9); }).description, u"Subscript out of range");
}

// What the standard library throws has no line of its own: the handler's location ends in 0.
TEST(ErrorConvention, StandardExceptionsBecomeTheirErrors) {
  const std::pair<std::function<void()>, vx::ErrorInfo> cases[] = {
      {[] { throw std::bad_alloc(); }, {7, {}, u"Out of memory"}},
      {[] { throw std::overflow_error("big"); }, {6, {}, u"Overflow"}},
      {[] { throw std::out_of_range("far"); }, {9, {}, u"Subscript out of range"}},
      {[] { throw std::runtime_error("odd"); }, {1, {}, u"odd"}},
      {[] { throw 42; }, {1, {}, u"Application-defined or object-defined error"}},
  };
  for (auto [body, expected] : cases) {
    expected.source = u"modBasis.0 (vxTM2Main)";
    EXPECT_EQ(ErrorOf([&] { vx::Handled(u"modBasis.", Here::current(), body); }), expected);
  }
}

TEST(Boundary, StatusCarriesTheErrorBothWaysUnchanged) {
  const vx::Status status = vx::Guard([] { vx::Raise(438, u"vxTM2Core.ctlTransfer", u"No such"); });
  EXPECT_EQ(status.error, (vx::ErrorInfo{438, u"vxTM2Core.ctlTransfer", u"No such"}));
  uint32_t raisedAt = 0;
  const uint32_t checkLine = __LINE__ + 1;
  EXPECT_EQ(ErrorOf([&] { vx::Check(status); }, &raisedAt), status.error);
  EXPECT_EQ(raisedAt, checkLine);
  EXPECT_TRUE(vx::Guard([] {}).ok());
  EXPECT_EQ(ErrorOf([] { vx::Check(vx::Status::Ok()); }).number, 0);
}

}  // namespace
