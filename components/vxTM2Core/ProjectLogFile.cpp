#include "ProjectLogFile.h"

#include <cstdio>

#include "contracts/Contain.h"
#include "contracts/Product.h"
#include "contracts/Text.h"
#include "win32/LocalAppData.h"
#include "win32/WideText.h"

namespace vx::samplecore {
namespace {

void AppendHex(std::u16string& out, unsigned value) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  out += u"\\x";
  out += kDigits[(value >> 4) & 0xF];
  out += kDigits[value & 0xF];
}

std::u16string TimeStamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  return FromUtf8(text);
}

void CreateFolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
}

}  // namespace

std::u16string EscapeForLogLine(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'\\':
        out += u"\\\\";
        break;
      case u'\r':
        out += u"\\r";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\t':
        out += u"\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          AppendHex(out, c);
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::wstring DefaultLogPath() {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"VX_PROJECT_LOG", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(buffer, length);
  std::wstring folder = win32::ProductDataFolder();
  if (folder.empty()) {
    length = GetTempPathW(MAX_PATH, buffer);
    folder = std::wstring(buffer, length) + win32::ToWide(kProductName);
  }
  return folder + L"\\project.log";
}

ProjectLogFile::ProjectLogFile(std::wstring path) : path_(std::move(path)) {
  CreateFolderOf(path_);
  file_ = win32::OpenedFile(CreateFileW(path_.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ProjectLogFile::Append(std::u16string_view category, std::u16string_view message) noexcept {
  if (!file_) return false;
  bool appended = false;
  Contain(u"ProjectLogFile", [&] {
    std::u16string line = TimeStamp();
    line += u'\t';
    line += EscapeForLogLine(category);
    line += u'\t';
    line += EscapeForLogLine(message);
    line += u"\r\n";
    const std::string bytes = ToUtf8(line);
    DWORD written = 0;
    appended =
        WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
  });
  return appended;
}

void ProjectLogFile::Flush() noexcept {
  if (file_) FlushFileBuffers(file_.get());
}

}  // namespace vx::samplecore
