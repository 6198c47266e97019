#include "startup/mdlProjectHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "contracts/ObjectImpl.h"
#include "testing/ErrorNumberOf.h"

namespace {

using vx::testing::ErrorOf;

struct Line {
  std::u16string category;
  std::u16string message;
  friend bool operator==(const Line&, const Line&) = default;
};

class FakeProject : public vx::ObjectImpl<vx::IProject> {
 public:
  vx::Status Log(std::u16string_view category, std::u16string_view message) noexcept override {
    if (failWith != 0) return vx::Status::Failed({failWith, u"Core.Project", u"disk full"});
    lines.push_back({std::u16string(category), std::u16string(message)});
    return vx::Status::Ok();
  }
  vx::Status Checkpoint() noexcept override { return vx::Status::Ok(); }
  vx::Status GetText(std::u16string_view, std::u16string*) noexcept override {
    return vx::Status::Ok();
  }
  vx::Status ShowHelp() noexcept override { return vx::Status::Ok(); }

  std::vector<Line> lines;
  int32_t failWith = 0;
};

class ProjectLog : public ::testing::Test {
 protected:
  void SetUp() override { mdlProjectHelpers::UnbindProjectLog(); }
  void TearDown() override { mdlProjectHelpers::UnbindProjectLog(); }
};

TEST_F(ProjectLog, EveryLineBeforeABindingIsObjectNotSetOnTheCallersLine) {
  EXPECT_FALSE(mdlProjectHelpers::BoundProject());
  for (int i = 0; i < 2; ++i) {
    uint32_t line = 0;
    const uint32_t callLine = __LINE__ + 2;
    const vx::ErrorInfo error =
        ErrorOf([] { mdlProjectHelpers::LogProject(u"Load", u"m"); }, &line);
    // No handler of its own: the source is untouched, the line is the caller's.
    EXPECT_EQ(error.number, vx::kErrObjectNotSet);
    EXPECT_EQ(error.source, u"vxTM2Main");
    EXPECT_EQ(line, callLine);
  }
}

TEST_F(ProjectLog, LinesCarryThePrefixOfTheLastNameAndAnEmptyNameOnlySwitchesProject) {
  const int32_t before = vx::gLiveObjects;
  auto first = vx::MakeObject<FakeProject>();
  auto second = vx::MakeObject<FakeProject>();
  mdlProjectHelpers::BindProjectLog(first, u"");
  mdlProjectHelpers::LogProject(u"Load", u"m");
  mdlProjectHelpers::BindProjectLog(first, u"Main");
  mdlProjectHelpers::LogProject(u"", u"Screen:\r\nx");
  mdlProjectHelpers::BindProjectLog(second, u"");
  EXPECT_EQ(mdlProjectHelpers::BoundProject().get(), second.get());
  mdlProjectHelpers::LogProject(u"SetControl", u"step");
  EXPECT_EQ(first->lines, (std::vector<Line>{{u"Load", u"m"}, {u"Main.", u"Screen:\r\nx"}}));
  EXPECT_EQ(second->lines, (std::vector<Line>{{u"Main.SetControl", u"step"}}));
  second->failWith = 61;
  EXPECT_EQ(ErrorOf([] { mdlProjectHelpers::LogProject(u"Load", u"m"); }),
            (vx::ErrorInfo{61, u"Core.Project", u"disk full"}));
  first.Reset();
  second.Reset();
  EXPECT_EQ(vx::gLiveObjects, before + 1) << "the binding holds its project until reset";
  mdlProjectHelpers::UnbindProjectLog();
  EXPECT_EQ(vx::gLiveObjects, before);
  // An unbinding forgets the name too.
  auto third = vx::MakeObject<FakeProject>();
  mdlProjectHelpers::BindProjectLog(third, u"");
  mdlProjectHelpers::LogProject(u"Load", u"m");
  EXPECT_EQ(third->lines, (std::vector<Line>{{u"Load", u"m"}}));
}

}  // namespace
