#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CProject.h"
#include "ProjectLogFile.h"

namespace {

using vx::samplecore::EscapeForLogLine;

std::wstring TempLogPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + name;
  DeleteFileW(path.c_str());
  return path;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ProjectLog, EscapesKeepEveryMessageOnOneRecoverableLine) {
  EXPECT_EQ(EscapeForLogLine(u"plain text"), u"plain text");
  EXPECT_EQ(EscapeForLogLine(u"a\r\nb\tc\\d"), u"a\\r\\nb\\tc\\\\d");
  const std::u16string block(u"\0\0\x0A\x1F\x7F", 5);
  EXPECT_EQ(EscapeForLogLine(block), u"\\x00\\x00\\n\\x1F\\x7F");
  EXPECT_EQ(EscapeForLogLine(u"\u00e9\u20ac"), u"\u00e9\u20ac");
}

TEST(ProjectLog, LinesAreAppendedAcrossObjectsAsUtf8) {
  const std::wstring path = TempLogPath(L"vxTM2Core-log-test.log");
  {
    vx::samplecore::ProjectLogFile log(path);
    ASSERT_TRUE(log.Append(u"Main.Load", u"Screen:\r\nRes"));
  }
  {
    vx::samplecore::ProjectLogFile log(path);
    ASSERT_TRUE(log.Append(u"ERROR.GPF", u"A0B0C0;C0000005;0"));
    log.Flush();
  }
  const std::string text = ReadAll(path);
  EXPECT_NE(text.find("\tMain.Load\tScreen:\\r\\nRes\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\tERROR.GPF\tA0B0C0;C0000005;0\r\n"), std::string::npos) << text;
  EXPECT_LT(text.find("Main.Load"), text.find("ERROR.GPF"));
  DeleteFileW(path.c_str());
}

TEST(ProjectLog, AnUnwritableLogLosesLinesWithoutFailing) {
  vx::samplecore::ProjectLogFile log(L"Z:\\no\\such\\folder\\at\\all\\<bad>.log");
  EXPECT_FALSE(log.Append(u"Main", u"lost"));
  log.Flush();
}

TEST(Project, TextsOfTheBusyNoticeAndUnknownKeys) {
  auto project = vx::MakeObject<vx::samplecore::CProject>(TempLogPath(L"vxTM2Core-text.log"));
  std::u16string text;
  ASSERT_TRUE(project->GetText(u":tm", &text).ok());
  EXPECT_EQ(text, u"Telvaro mobile 2");
  ASSERT_TRUE(project->GetText(u":ole-request-pending", &text).ok());
  EXPECT_FALSE(text.empty());
  const vx::Status missing = project->GetText(u":nothing", &text);
  EXPECT_EQ(missing.error.number, vx::kErrInvalidCall);
  EXPECT_NE(missing.error.description.find(u":nothing"), std::u16string::npos);
}

}  // namespace
