// What the sample core says to the user.
#pragma once

#include <string_view>
#include <utility>

#include "contracts/Product.h"

namespace vx::samplecore {

inline constexpr std::pair<std::u16string_view, std::u16string_view> kProductTexts[] = {
    {u":tm", kProductName},
    {u":ole-request-pending",
     u"A part of " VX_PRODUCT_NAME u" is busy and does not answer yet.\r\n\r\n"
     u"Wait a moment and try again."},
};

inline constexpr char16_t kHelpCaption[] = VX_PRODUCT_NAME u" - Help";
inline constexpr char16_t kHelpText[] =
    VX_PRODUCT_NAME u" manages the mobile phones you connect to this PC.\r\n\r\n"
    u"Start screen: choose what to do - transfer data, change settings, check for updates "
    u"or read how to connect a phone.\r\n"
    u"Back: every page returns to the start screen.\r\n"
    u"Exit: ends the program. The window's size and place are kept for the next start.";

}  // namespace vx::samplecore
