#include "toolkit/ComponentRuntime.h"

#include <windows.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "contracts/AsciiText.h"
#include "contracts/Component.h"
#include "contracts/ObjectImpl.h"
#include "win32/WideText.h"

namespace vx::toolkit {
namespace {

struct ClassName {
  std::u16string_view library;
  std::u16string_view className;
};

// A library name must stay inside the program's folder: one plain file-name part.
bool IsPlainLibraryName(std::u16string_view name) noexcept {
  if (name.empty()) return false;
  for (char16_t c : name) {
    if (c < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' ||
        c == u'<' || c == u'>' || c == u'|' || c == u'.') {
      return false;
    }
  }
  return true;
}

// "Library.Class" with exactly one dot and two non-empty parts.
bool SplitClassName(std::u16string_view progId, ClassName& out) noexcept {
  const size_t dot = progId.find(u'.');
  if (dot == std::u16string_view::npos) return false;
  out.library = progId.substr(0, dot);
  out.className = progId.substr(dot + 1);
  return IsPlainLibraryName(out.library) && !out.className.empty() &&
         out.className.find(u'.') == std::u16string_view::npos;
}

[[noreturn]] void RaiseCannotCreate(std::u16string_view progId, std::u16string_view reason,
                                    Here here) {
  std::u16string description(StandardErrorText(kErrCannotCreate));
  description += u" '";
  description += progId;
  description += u"': ";
  description += reason;
  Raise(kErrCannotCreate, {}, description, here);
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Loaded libraries by lower-case name. They are never freed: see the header.
class LibraryTable {
 public:
  HMODULE Load(std::u16string_view library, std::u16string_view progId, Here here) {
    std::lock_guard lock(mutex_);
    const std::u16string key = AsciiLower(library);
    if (auto it = modules_.find(key); it != modules_.end()) return it->second;
    const std::wstring folder = ProgramFolder();
    if (folder.empty()) RaiseCannotCreate(progId, u"the program's folder is unknown", here);
    const std::wstring path = folder + win32::ToWide(library) + L".dll";
    HMODULE module = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
      std::u16string reason = u"the library ";
      reason += win32::FromWide(path);
      reason += u" cannot be loaded";
      RaiseCannotCreate(progId, reason, here);
    }
    modules_.emplace(key, module);
    return module;
  }

  int32_t LiveObjects() const noexcept {
    std::lock_guard lock(mutex_);
    int32_t sum = 0;
    for (const auto& [name, module] : modules_) {
      if (auto count = reinterpret_cast<LiveObjectsFn>(
              reinterpret_cast<void*>(GetProcAddress(module, kLiveObjectsExport)))) {
        sum += count();
      }
    }
    return sum;
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::u16string, HMODULE> modules_;
};

LibraryTable& Libraries() {
  static LibraryTable table;
  return table;
}

}  // namespace

void InitializeProcess() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

Ref<IObject> CreateObject(std::u16string_view progId, Here here) {
  ClassName name;
  if (!SplitClassName(progId, name)) {
    RaiseCannotCreate(progId, u"not a class name of the form Library.Class", here);
  }
  HMODULE module = Libraries().Load(name.library, progId, here);
  auto create = reinterpret_cast<CreateObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module, kCreateObjectExport)));
  if (!create) RaiseCannotCreate(progId, u"the library is not a component library", here);

  Ref<IObject> object;
  Status status;
  create(name.className, object.Receive(), &status);
  if (status.error.number == kErrCannotCreate) {
    object.Reset();
    std::u16string reason = u"the library has no such class";
    if (!status.error.description.empty() &&
        status.error.description != StandardErrorText(kErrCannotCreate)) {
      reason += u" (";
      reason += status.error.description;
      reason += u")";
    }
    RaiseCannotCreate(progId, reason, here);
  }
  if (!status.ok()) {
    object.Reset();
    Check(status, here);
  }
  if (!object) RaiseCannotCreate(progId, u"the library returned no object", here);
  return object;
}

int32_t LiveObjects() noexcept {
  return gLiveObjects + Libraries().LiveObjects();
}

bool CheckNoLiveObjects() noexcept {
  const int32_t live = LiveObjects();
  if (live == 0) return true;
  const std::wstring report =
      L"vxTM2Main: " + std::to_wstring(live) + L" component object(s) still alive at exit\n";
  OutputDebugStringW(report.c_str());
  return false;
}

bool AssertNoLiveObjects() noexcept {
  const bool none = CheckNoLiveObjects();
#ifndef NDEBUG
  if (!none) std::abort();
#endif
  return none;
}

}  // namespace vx::toolkit
