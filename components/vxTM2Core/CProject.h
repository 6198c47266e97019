// The project object: the log every part of the program writes to, the product's texts and
// the help the user gets on F1.
#pragma once

#include "ProjectLogFile.h"
#include "contracts/IProject.h"
#include "contracts/ObjectImpl.h"

namespace vx::samplecore {

class CProject : public ObjectImpl<IProject> {
 public:
  explicit CProject(std::wstring logPath);

  Status Log(std::u16string_view category, std::u16string_view message) noexcept override;
  Status Checkpoint() noexcept override;
  Status GetText(std::u16string_view key, std::u16string* text) noexcept override;
  Status ShowHelp() noexcept override;

  // The text behind a key; error 5 naming the key for a key the product does not have.
  static std::u16string_view Text(std::u16string_view key, Here here = Here::current());

 private:
  ProjectLogFile log_;
};

}  // namespace vx::samplecore
