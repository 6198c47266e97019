#include "testcore/Recorder.h"

#include <windows.h>

#include <cstdlib>

#include "support/Record.h"
#include "support/TestCore.h"

namespace vx::testcore {
namespace {

class RecordFile {
 public:
  RecordFile() {
    const wchar_t* path = _wgetenv(L"VX_TESTCORE_RECORD");
    if (!path || !*path) return;
    // Shared for reading and writing: the test reads while the program runs.
    file_ =
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~RecordFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  void Write(std::string_view line) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    std::string text(line);
    text += '\n';
    DWORD written = 0;
    // Unbuffered: each line reaches the file before the call it records goes on.
    WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

RecordFile& TheFile() {
  static RecordFile file;
  return file;
}

}  // namespace

void RecordLine(std::string_view line) {
  TheFile().Write(line);
}

std::string Quoted(std::u16string_view text) {
  return itest::EncodeRecordedText(text);
}

std::string Quoted(std::string_view ascii) {
  return Quoted(std::u16string(ascii.begin(), ascii.end()));
}

}  // namespace vx::testcore
