// The sample core object: starts with the host's window, shows the start screen on the first
// activation, moves between screens on the user's request and keeps the window's geometry.
#pragma once

#include <optional>
#include <string>

#include "CProject.h"
#include "contracts/ClassNames.h"
#include "contracts/IAppCore.h"
#include "contracts/ObjectImpl.h"

namespace vx::samplecore {

class CAppCore : public ObjectImpl<IAppCore, IAppServices> {
 public:
  CAppCore();

  Status Init(IGui* gui, ISettingsStore* settings, intptr_t instance, VxBool* ok) noexcept override;
  Status Activate() noexcept override;
  Status ActivateServer() noexcept override;
  Status QueryClose(VxBool* cancel, int16_t unloadMode) noexcept override;
  Status Shutdown() noexcept override;
  Status GetProject(Ref<IProject>* project) noexcept override;

  // Carried out from the message loop (see Navigation.h). A failure is logged and shown.
  void ShowScreen(std::u16string_view progId) noexcept;
  void EndProgram() noexcept;
  std::u16string_view HomeScreen() const noexcept { return home_; }

  // What the host put into the settings store, for the settings screen.
  std::u16string SettingsSummary() const;

 protected:
  ~CAppCore() override;

 private:
  void Start(std::u16string_view firstScreen);
  void Show(std::u16string_view progId);
  void SetStatusText(std::u16string_view text) noexcept;
  void ReportFailure(std::u16string_view what, const ErrorInfo& error) noexcept;

  Ref<IGui> gui_;
  std::u16string_view home_ = classes::kStartscreen;
  Ref<CProject> project_;
  bool verboseLog_ = false;
  std::optional<std::u16string> autosync_;
  std::optional<std::u16string> partnershipFile_;
};

}  // namespace vx::samplecore
