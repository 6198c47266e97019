// The project's log file and its texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CProject.h"
#include "ProjectLogFile.h"

namespace {

std::wstring TempLogPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + name;
  DeleteFileW(path.c_str());
  return path;
}

TEST(ProjectLog, EscapesKeepEveryMessageOnOneRecoverableLine) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"plain \u00e9\u20ac", u"plain \u00e9\u20ac"},
      {u"a\r\nb\tc\\d", u"a\\r\\nb\\tc\\\\d"},
      {std::u16string(u"\0\x1F\x7F\x80", 4), u"\\x00\\x1F\\x7F\x80"},
  };
  for (const auto& [text, escaped] : cases) {
    EXPECT_EQ(vx::samplecore::EscapeForLogLine(text), escaped);
  }
}

TEST(ProjectLog, LinesAreAppendedAcrossObjectsAsUtf8AndAnUnwritableLogLosesThem) {
  const std::wstring path = TempLogPath(L"vxTM2Core-log-test.log");
  for (const auto& [category, message] :
       {std::pair{u"Main.Load", u"Screen:\r\nRes"}, std::pair{u"ERROR.GPF", u"A0B0C0;\u00e9;0"}}) {
    vx::samplecore::ProjectLogFile log(path);
    ASSERT_TRUE(log.Append(category, message));
    log.Flush();
  }
  std::stringstream text;
  text << std::ifstream(std::filesystem::path(path), std::ios::binary).rdbuf();
  const std::string lines = text.str();
  const size_t first = lines.find("\tMain.Load\tScreen:\\r\\nRes\r\n");
  EXPECT_NE(first, std::string::npos) << lines;
  EXPECT_NE(lines.find("\tERROR.GPF\tA0B0C0;\xC3\xA9;0\r\n", first), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
  DeleteFileW(path.c_str());

  vx::samplecore::ProjectLogFile unwritable(L"Z:\\no\\such\\folder\\at\\all\\<bad>.log");
  EXPECT_FALSE(unwritable.Append(u"Main", u"lost"));
  unwritable.Flush();
}

TEST(Project, TextsOfTheBusyNoticeAndUnknownKeys) {
  auto project = vx::MakeObject<vx::samplecore::CProject>(TempLogPath(L"vxTM2Core-text.log"));
  std::u16string text;
  ASSERT_TRUE(project->GetText(u":tm", &text).ok());
  EXPECT_EQ(text, u"Telvaro mobile 2");
  ASSERT_TRUE(project->GetText(u":ole-request-pending", &text).ok());
  EXPECT_NE(text.find(u"busy"), std::u16string::npos);
  const vx::Status missing = project->GetText(u":nothing", &text);
  EXPECT_EQ(missing.error.number, vx::kErrInvalidCall);
  EXPECT_NE(missing.error.description.find(u":nothing"), std::u16string::npos);
}

}  // namespace
