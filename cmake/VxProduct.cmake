# The product's identity, read from the host-core protocol's header so that it is written once:
# VX_PRODUCT_NAME and VX_VENDOR_NAME for the resources, the installers and the signature.
set(VX_PRODUCT_HEADER ${CMAKE_CURRENT_LIST_DIR}/../src/contracts/Product.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VX_PRODUCT_HEADER})
foreach(name PRODUCT_NAME VENDOR_NAME)
  file(STRINGS ${VX_PRODUCT_HEADER} line REGEX "^#define VX_${name} u\"[^\"]+\"$")
  if(NOT line MATCHES "u\"([^\"]+)\"")
    message(FATAL_ERROR "No VX_${name} in ${VX_PRODUCT_HEADER}")
  endif()
  set(VX_${name} ${CMAKE_MATCH_1})
endforeach()
