// What the program makes of the display it starts on. Each display configuration runs in a
// display of its own (scripts/with-display), which names it in VX_DISPLAY_SCREEN and
// VX_DISPLAY_DPI; the expected figures are written out per configuration.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "HostRun.h"
#include "contracts/Text.h"

namespace vx::itest {
namespace {

struct DisplayCase {
  std::string screen;  // Xvfb's WxHxD
  int dpi;             // Wine's LogPixels
  std::u16string res;
  std::u16string dpiLine;
  std::u16string bits;  // Xvfb depth 24 reads as 32 bits per pixel
  int minWidth;
  int minHeight;
};

const DisplayCase kDisplays[] = {
    {"1024x768x24", 96, u"Res:1024x768", u"DPI:96x96", u"BITS:32", 750, 500},
    {"1024x768x16", 96, u"Res:1024x768", u"DPI:96x96", u"BITS:16", 750, 500},
    // The height is the smaller of 500 and the display's height less 50: 500 here as well.
    {"800x600x24", 96, u"Res:800x600", u"DPI:96x96", u"BITS:32", 750, 500},
    {"1280x1024x24", 120, u"Res:1280x1024", u"DPI:120x120", u"BITS:32", 950, 500},
};

// The configuration this run was started on, or null outside scripts/with-display.
const DisplayCase* CurrentDisplay() {
  const char* screen = std::getenv("VX_DISPLAY_SCREEN");
  const char* dpi = std::getenv("VX_DISPLAY_DPI");
  if (!screen || !dpi) return nullptr;
  for (const DisplayCase& d : kDisplays) {
    if (d.screen == screen && d.dpi == std::atoi(dpi)) return &d;
  }
  return nullptr;
}

class Display : public testing::Test {
 protected:
  void SetUp() override {
    display_ = CurrentDisplay();
    if (!display_) GTEST_SKIP() << "not started by scripts/with-display on a known display";
  }
  const DisplayCase* display_ = nullptr;
};

TEST_F(Display, ReportIsLoggedAsTheFirstLine) {
  StagedProgram run;
  RunToEnd(run, "after 100: Terminate\n");
  const auto lines = LogLines(run.Record());
  ASSERT_FALSE(lines.empty());
  ASSERT_EQ(lines[0].category, u"Main.Load");
  ASSERT_EQ(lines[0].message.substr(0, 7), u"Screen:");
  const std::vector<std::u16string> report =
      Lines(TextOfBlock(std::u16string_view(lines[0].message).substr(7)));
  ASSERT_GE(report.size(), 3u);
  EXPECT_EQ(report[0], display_->res);
  EXPECT_EQ(report[1], display_->dpiLine);
  EXPECT_EQ(report[2], display_->bits);
  // Wine's visual-style service answers: three theme lines, trimmed.
  ASSERT_EQ(report.size(), 6u) << ToUtf8(report.back());
  EXPECT_TRUE(Matches(report[3], "ThemeName:\\S(.*\\S)?")) << ToUtf8(report[3]);
  EXPECT_TRUE(Matches(report[4], "ThemeColor:\\S(.*\\S)?")) << ToUtf8(report[4]);
  EXPECT_TRUE(Matches(report[5], "ThemeSize:\\S(.*\\S)?")) << ToUtf8(report[5]);
}

TEST_F(Display, WindowCannotBeSizedBelowTheMinimum) {
  StagedProgram run;
  const std::pair<int, int> larger{display_->minWidth + 20, display_->minHeight + 20};
  RunToEnd(run,
           "after 200: Record \"started\"\n"
           "after 300: TrySize 1 1\n"
           "after 400: TrySize 300 200\n"
           "after 500: TrySize " +
               std::to_string(larger.first) + " " + std::to_string(larger.second) +
               "\n"
               "after 600: Terminate\n");
  const auto record = run.Record();
  const auto shots = EntriesNamed(record, "Window.Record");
  ASSERT_EQ(shots.size(), 1u);
  const std::pair<int, int> minimum{display_->minWidth, display_->minHeight};
  // Start-up itself leaves the window at the origin with the minimum size.
  EXPECT_EQ(SizeOfRect(shots[0].Field(u"rect").value_or(u"")), minimum);
  EXPECT_EQ(OriginOfRect(shots[0].Field(u"rect").value_or(u"")), std::make_pair(0, 0));
  const auto tries = EntriesNamed(record, "Window.TrySize");
  ASSERT_EQ(tries.size(), 3u);
  EXPECT_EQ(SizeOfRect(tries[0].Field(u"rect").value_or(u"")), minimum);
  EXPECT_EQ(SizeOfRect(tries[1].Field(u"rect").value_or(u"")), minimum);
  // Larger sizes are the window's to take: the host limits only the minimum.
  EXPECT_EQ(SizeOfRect(tries[2].Field(u"rect").value_or(u"")), larger);
}

}  // namespace
}  // namespace vx::itest
