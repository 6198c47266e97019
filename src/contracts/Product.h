// Who the program is: the name the user knows it by, and where it keeps things under that name.
#pragma once

#include <string>
#include <string_view>

// A literal, so that texts naming the product join it where they are written.
// The build (cmake/VxProduct.cmake, packaging/build-msi) reads both names from these two lines.
#define VX_PRODUCT_NAME u"Telvaro mobile 2"
#define VX_VENDOR_NAME u"Vendaro"

namespace vx {

inline constexpr std::u16string_view kProductName = VX_PRODUCT_NAME;
inline constexpr std::u16string_view kVendorName = VX_VENDOR_NAME;

// "SOFTWARE\<vendor>\<product>\<section>": the installation's key under HKEY_LOCAL_MACHINE
// ("Install") and the user's under HKEY_CURRENT_USER ("Settings").
inline std::u16string ProductKey(std::u16string_view section) {
  return u"SOFTWARE\\" + std::u16string(kVendorName) + u"\\" + std::u16string(kProductName) +
         u"\\" + std::u16string(section);
}

}  // namespace vx
