// What the main window makes of the display it starts on. The test program runs on several
// displays (scripts/with-display); each known one has its expected figures written out here.
#include <windows.h>

#include <string>

#include "HostTest.h"
#include "contracts/Text.h"

namespace vx::hosttest {
namespace {

struct DisplayCase {
  int width, height, dpi, bits;
  const char* reportHead;
  std::pair<int, int> minimum;
};

const DisplayCase kDisplays[] = {
    {1024, 768, 96, 32, "Res:1024x768\r\nDPI:96x96\r\nBITS:32\r\n", {750, 500}},
    {1024, 768, 96, 16, "Res:1024x768\r\nDPI:96x96\r\nBITS:16\r\n", {750, 500}},
    // The height is the smaller of 500 and the display's height less 50.
    {800, 600, 96, 32, "Res:800x600\r\nDPI:96x96\r\nBITS:32\r\n", {750, 500}},
    {640, 480, 96, 32, "Res:640x480\r\nDPI:96x96\r\nBITS:32\r\n", {590, 430}},
    {1280, 1024, 120, 32, "Res:1280x1024\r\nDPI:120x120\r\nBITS:32\r\n", {950, 500}},
};

class HostDisplay : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    const HDC screen = GetDC(nullptr);
    const int figures[] = {GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES),
                           GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, BITSPIXEL)};
    ReleaseDC(nullptr, screen);
    for (const DisplayCase& d : kDisplays) {
      if (d.width == figures[0] && d.height == figures[1] && d.dpi == figures[2] &&
          d.bits == figures[3]) {
        display_ = &d;
      }
    }
    if (!display_) GTEST_SKIP() << "a display without expected figures";
  }
  const DisplayCase* display_ = nullptr;
};

TEST_F(HostDisplay, ReportIsTheFirstLogLine) {
  Load();
  const auto logs = fakes.CallsOf("Project.Log ");
  ASSERT_FALSE(logs.empty());
  const std::u16string line = FromUtf8(logs[0]);
  const std::u16string_view head = u"Main.Load: Screen:";
  ASSERT_TRUE(line.starts_with(head)) << logs[0];
  // A text block: 32-bit zero, 32-bit byte count 2n + 4, 32-bit zero, the n code units.
  const std::u16string block = line.substr(head.size());
  ASSERT_GE(block.size(), 6u);
  const std::u16string report = block.substr(6);
  EXPECT_EQ(block.substr(0, 6),
            (std::u16string{0, 0, static_cast<char16_t>(2 * report.size() + 4), 0, 0, 0}));
  // Wine's visual-style service answers: three theme lines, trimmed, the last without a break.
  EXPECT_TRUE(report.starts_with(FromUtf8(display_->reportHead))) << ToUtf8(report);
  EXPECT_TRUE(Matches(report.substr(std::string_view(display_->reportHead).size()),
                      "ThemeName:\\S.*\\.msstyles\r\nThemeColor:\\S(.*\\S)?\r\n"
                      "ThemeSize:\\S(.*\\S)?"))
      << ToUtf8(report);
}

TEST_F(HostDisplay, WindowStartsAtTheOriginAndCannotBeMadeSmallerThanTheMinimum) {
  Start();
  EXPECT_EQ(Bounds().left, 0);
  EXPECT_EQ(Bounds().top, 0);
  EXPECT_EQ(Size(), display_->minimum);
  SetWindowPos(Window(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Size(), display_->minimum);
  // Larger sizes are the window's to take: the host limits only the minimum.
  const std::pair<int, int> larger{display_->minimum.first + 20, display_->minimum.second + 10};
  SetWindowPos(Window(), nullptr, 0, 0, larger.first, larger.second, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Size(), larger);
}

}  // namespace
}  // namespace vx::hosttest
