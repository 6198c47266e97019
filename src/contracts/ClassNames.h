// The classes of the component libraries that host and core create by name, "Library.Class".
// The host compares the start screens' names; the others it only passes on.
#pragma once

#include <string_view>

namespace vx {

// The part after "Library.": what a library's class table knows a class by.
constexpr std::u16string_view ClassPart(std::u16string_view progId) noexcept {
  const size_t dot = progId.find(u'.');
  return dot == std::u16string_view::npos ? progId : progId.substr(dot + 1);
}

namespace classes {

// vxTM2Core: the core object and its settings store are named by their interfaces
// (IAppCore::kClassName, ISettingsStore::kClassName); these are its screens.
inline constexpr std::u16string_view kStartscreen = u"vxTM2Core.ctlStartscreen";
inline constexpr std::u16string_view kServerStartscreen = u"vxTM2Core.ctlServerStartscreen";
inline constexpr std::u16string_view kTransfer = u"vxTM2Core.ctlTransfer";
inline constexpr std::u16string_view kSettings = u"vxTM2Core.ctlSettings";
inline constexpr std::u16string_view kSettingsNotes = u"vxTM2Core.ctlSettingsNotes";
inline constexpr std::u16string_view kSettingsEmails = u"vxTM2Core.ctlSettingsEmails";
inline constexpr std::u16string_view kUpdateCheck = u"vxTM2Core.ctlUpdateCheck";
inline constexpr std::u16string_view kPhoneHelp = u"vxTM2Core.ctlPhoneHelp";

// vxTM2BaseCtrl.
inline constexpr std::u16string_view kStatusBar = u"vxTM2BaseCtrl.ctlStatusBar";
inline constexpr std::u16string_view kGripper = u"vxTM2BaseCtrl.ctlGripper";
inline constexpr std::u16string_view kProgressBar = u"vxTM2BaseCtrl.ctlProgressBar";
inline constexpr std::u16string_view kFlatLabel = u"vxTM2BaseCtrl.ctlFlatLabel";

}  // namespace classes
}  // namespace vx
