#include "contracts/Error.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

using vx::Here;

// Three routines with handlers, each calling the next on a known line.
void Innermost(int32_t number, Here here = Here::current()) {
  vx::Handled(u"modString.", here, [&] {
    vx::Raise(number, u"Core", u"broken");  // raise line
  });
}
constexpr uint32_t kRaiseLine = __LINE__ - 3;

void Middle(Here here = Here::current()) {
  vx::Handled(u"CHashLong.", here, [&] {
    Innermost(5);  // call line
  });
}
constexpr uint32_t kMiddleCallLine = __LINE__ - 3;

void Outer(Here here = Here::current()) {
  vx::Handled(u"frmMain.", here, [&] { Middle(); });
}
constexpr uint32_t kOuterCallLine = __LINE__ - 2;

std::u16string Num(uint32_t n) {
  std::u16string s;
  for (char c : std::to_string(n)) s += static_cast<char16_t>(c);
  return s;
}

TEST(ErrorConvention, ThreeNestedHandlersFoldTheirLinesInCallOrder) {
  try {
    Outer();
    FAIL() << "no error";
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), u"broken");
    EXPECT_EQ(e.source(), u"frmMain." + Num(kOuterCallLine) + u" (CHashLong." +
                              Num(kMiddleCallLine) + u" (modString." + Num(kRaiseLine) +
                              u" (Core)))");
  }
}

TEST(ErrorConvention, RaiseWithoutSourceNamesTheProgramAndTheStandardText) {
  uint32_t line = 0;
  try {
    vx::Handled(u"frmMain.", Here::current(), [&] {
      line = __LINE__ + 1;
      vx::Raise(vx::kErrAppDefined, {}, u"Too many parameters");
    });
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.source(), u"frmMain." + Num(line) + u" (vxTM2Main)");
    EXPECT_EQ(e.description(), u"Too many parameters");
  }
  try {
    vx::Raise(vx::kErrObjectNotSet);
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.source(), u"vxTM2Main");
    EXPECT_EQ(e.description(), u"Object variable or With block variable not set");
  }
}

TEST(ErrorConvention, StandardExceptionsBecomePlatformErrors) {
  try {
    vx::Handled(u"modBasis.", Here::current(), [] { throw std::bad_alloc(); });
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.number(), vx::kErrOutOfMemory);
    EXPECT_EQ(e.source().rfind(u"modBasis.", 0), 0u);
  }
}

TEST(Boundary, StatusCarriesTheErrorBothWaysUnchanged) {
  const vx::Status status = vx::Guard([] { vx::Raise(438, u"vxTM2Core.ctlTransfer", u"No such"); });
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error, (vx::ErrorInfo{438, u"vxTM2Core.ctlTransfer", u"No such"}));

  uint32_t line = 0;
  try {
    line = __LINE__ + 1;
    vx::Check(status);
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.info(), status.error);
    EXPECT_EQ(e.line(), line);
  }
  EXPECT_TRUE(vx::Guard([] {}).ok());
  EXPECT_NO_THROW(vx::Check(vx::Status::Ok()));
}

TEST(Boundary, RoutineWithoutHandlerPassesTheErrorOnUnchanged) {
  auto noHandler = [](Here here = Here::current()) { vx::Raise(9, {}, {}, here); };
  try {
    noHandler();
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.source(), u"vxTM2Main");
    EXPECT_EQ(e.description(), u"Subscript out of range");
  }
}

}  // namespace
