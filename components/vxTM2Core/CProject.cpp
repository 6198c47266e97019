#include "CProject.h"

#include "Texts.h"

namespace vx::samplecore {

CProject::CProject(std::wstring logPath) : log_(std::move(logPath)) {}

Status CProject::Log(std::u16string_view category, std::u16string_view message) noexcept {
  log_.Append(category, message);
  return Status::Ok();
}

Status CProject::Checkpoint() noexcept {
  log_.Flush();
  return Status::Ok();
}

std::u16string_view CProject::Text(std::u16string_view key, Here here) {
  for (const auto& [name, text] : kProductTexts) {
    if (name == key) return text;
  }
  std::u16string description = u"No text for the key ";
  description += key;
  Raise(kErrInvalidCall, u"vxTM2Core.CProject", description, here);
}

Status CProject::GetText(std::u16string_view key, std::u16string* text) noexcept {
  return Guard([&] { *text = Text(key); });
}

Status CProject::ShowHelp() noexcept {
  return Guard([] {
    MessageBoxW(GetActiveWindow(), reinterpret_cast<const wchar_t*>(kHelpText),
                reinterpret_cast<const wchar_t*>(kHelpCaption), MB_OK | MB_ICONINFORMATION);
  });
}

}  // namespace vx::samplecore
