# vx_ship_binary(TARGET DESCRIPTION): what every binary the installer ships carries and where it
# goes. Icon, manifest and version information (the version is the project's); in release builds
# (VX_SHIP) the debug information moves to TARGET_FILE.debug beside it, kept for reading crash
# dumps and linked by name from the stripped binary, and the stripped binary is signed when the
# build has a certificate (VxSigning). Installed to the installation's root, where the program
# finds its component libraries.
option(VX_SHIP "Release: shipped binaries' symbols apart, the installers and their tests" OFF)
set(VX_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/../resources)
include(VxSigning)

function(vx_ship_binary target description)
  get_target_property(type ${target} TYPE)
  set(VX_TARGET ${target})
  set(VX_DESCRIPTION ${description})
  string(REPLACE "." "," VX_VERSION_COMMAS ${PROJECT_VERSION})
  if(type STREQUAL "EXECUTABLE")
    set(VX_FILE_TYPE VFT_APP)
    set(VX_FILE_NAME ${target}.exe)
    set(VX_MANIFEST_ID CREATEPROCESS_MANIFEST_RESOURCE_ID)
  else()
    set(VX_FILE_TYPE VFT_DLL)
    set(VX_FILE_NAME ${target}.dll)
    set(VX_MANIFEST_ID ISOLATIONAWARE_MANIFEST_RESOURCE_ID)
  endif()
  set(VX_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${VX_RESOURCES}/vxTM2.manifest.in ${VX_MANIFEST} @ONLY)
  configure_file(${VX_RESOURCES}/VersionInfo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES OBJECT_DEPENDS
                              "${VX_RESOURCES}/vxTM2.ico;${VX_MANIFEST}")
  if(VX_SHIP)
    set(sign "")
    if(VX_SIGN_COMMAND)
      set(sign COMMAND ${VX_SIGN_COMMAND} $<TARGET_FILE_NAME:${target}>)
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
              $<TARGET_FILE_NAME:${target}>.debug
      COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
              $<TARGET_FILE_NAME:${target}>
      ${sign}
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
      VERBATIM)
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION .)
endfunction()
