#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contracts/Text.h"
#include "layout/mdlGlobalFDisplay.h"
#include "layout/modGdi.h"
#include "toolkit/Screen.h"

namespace {

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(u"\r\n", start);
    lines.push_back(text.substr(start, end == std::u16string::npos ? end : end - start));
    if (end == std::u16string::npos) return lines;
    start = end + 2;
  }
}

std::u16string Decimal(int value) {
  return vx::FromUtf8(std::to_string(value));
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(dc_, nullptr); }
  void TearDown() override { ReleaseDC(nullptr, dc_); }
  HDC dc_ = GetDC(nullptr);
};

TEST_F(DisplayTest, ReadersGiveTheDisplaysFigures) {
  EXPECT_EQ(mdlGlobalF::GetHorzRes(dc_), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(mdlGlobalF::GetVertRes(dc_), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(mdlGlobalF::GetLogPixelsX(dc_), GetDeviceCaps(dc_, LOGPIXELSX));
  EXPECT_EQ(mdlGlobalF::GetLogPixelsY(dc_), GetDeviceCaps(dc_, LOGPIXELSY));
}

TEST_F(DisplayTest, ReportStartsWithResolutionDpiAndColourDepth) {
  const auto lines = Lines(mdlGlobalF::GetDisplayReport(dc_));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], u"Res:" + Decimal(GetSystemMetrics(SM_CXSCREEN)) + u"x" +
                          Decimal(GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(lines[1], u"DPI:" + Decimal(GetDeviceCaps(dc_, LOGPIXELSX)) + u"x" +
                          Decimal(GetDeviceCaps(dc_, LOGPIXELSY)));
  EXPECT_EQ(lines[2], u"BITS:" + Decimal(GetDeviceCaps(dc_, BITSPIXEL)));
}

// Wine answers the theme query with its light theme unless themes are switched off.
TEST_F(DisplayTest, ThemeLinesAreTrimmedAndLast) {
  const std::u16string report = mdlGlobalF::GetDisplayReport(dc_);
  const auto lines = Lines(report);
  ASSERT_EQ(lines.size(), 6u) << vx::ToUtf8(report);
  const std::u16string prefixes[] = {u"ThemeName:", u"ThemeColor:", u"ThemeSize:"};
  for (int i = 0; i < 3; ++i) {
    const std::u16string& line = lines[3 + i];
    ASSERT_EQ(line.substr(0, prefixes[i].size()), prefixes[i]);
    const std::u16string value = line.substr(prefixes[i].size());
    ASSERT_FALSE(value.empty()) << vx::ToUtf8(line);
    for (char16_t edge : {value.front(), value.back()}) {
      EXPECT_NE(edge, u' ');
      EXPECT_NE(edge, u'\0');
    }
    EXPECT_EQ(value.find(u'\0'), std::u16string::npos);
  }
  EXPECT_NE(lines[3].find(u".msstyles"), std::u16string::npos) << vx::ToUtf8(lines[3]);
  EXPECT_NE(report.substr(report.size() - 2), u"\r\n");
}

TEST_F(DisplayTest, DeviceTwipsFollowTheScreensDpi) {
  EXPECT_EQ(modGdi::GetDeviceTwipsPerPixelX(),
            static_cast<float>(1440.0 / GetDeviceCaps(dc_, LOGPIXELSX)));
  EXPECT_EQ(modGdi::GetDeviceTwipsPerPixelY(),
            static_cast<float>(1440.0 / GetDeviceCaps(dc_, LOGPIXELSY)));
}

TEST_F(DisplayTest, ConversionsAreTheIdentityWhereDeviceAndToolkitAgree) {
  if (modGdi::GetDeviceTwipsPerPixelX() != vx::toolkit::TwipsPerPixelX()) {
    GTEST_SKIP() << "the display's dpi gives different device and toolkit figures";
  }
  EXPECT_EQ(modGdi::ToDeviceTwipsX(975.0F), 975.0F);
  for (float v : {0.0F, 315.0F, 7710.0F, -45.0F}) {
    EXPECT_EQ(modGdi::ToDeviceTwipsY(v), v);
    EXPECT_EQ(modGdi::FromDeviceTwipsY(modGdi::ToDeviceTwipsY(v)), v);
  }
}

}  // namespace
