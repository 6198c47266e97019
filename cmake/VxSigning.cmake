# Authenticode signing of the shipped binaries and the installers in release builds (VX_SHIP),
# when the build is given a certificate: VX_SIGN_PFX (a PKCS#12 file) and VX_SIGN_PASSWORD,
# as cache variables or in the environment when configuring; VX_SIGN_TIMESTAMP_URL (an RFC 3161
# server) is optional. The password is kept in a file only the build's owner reads, never on a
# command line nor in the cache. Sets VX_SIGN_COMMAND: a script that signs the files it is given
# in place, or empty when the build ships unsigned.
set(VX_SIGN_PFX "$ENV{VX_SIGN_PFX}" CACHE FILEPATH "PKCS#12 certificate that signs what ships")
set(VX_SIGN_TIMESTAMP_URL "$ENV{VX_SIGN_TIMESTAMP_URL}" CACHE STRING
    "RFC 3161 timestamp server for the signatures (optional)")
set(VX_SIGN_COMMAND "")

function(vx_write_sign_password directory)
  set(password_file ${directory}/password)
  if(DEFINED VX_SIGN_PASSWORD)
    set(password "${VX_SIGN_PASSWORD}")
    unset(VX_SIGN_PASSWORD CACHE)
  elseif(DEFINED ENV{VX_SIGN_PASSWORD})
    set(password "$ENV{VX_SIGN_PASSWORD}")
  elseif(EXISTS ${password_file})
    return()
  else()
    set(password "")
  endif()
  file(MAKE_DIRECTORY ${directory})
  file(CHMOD ${directory} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  file(WRITE ${password_file} "${password}")
  file(CHMOD ${password_file} PERMISSIONS OWNER_READ OWNER_WRITE)
endfunction()

if(VX_SHIP AND VX_SIGN_PFX)
  if(NOT EXISTS ${VX_SIGN_PFX})
    message(FATAL_ERROR "VX_SIGN_PFX: no certificate at ${VX_SIGN_PFX}")
  endif()
  find_program(VX_OSSLSIGNCODE osslsigncode REQUIRED)
  set(signing ${CMAKE_BINARY_DIR}/signing)
  vx_write_sign_password(${signing})
  set(VX_SIGN_PASSWORD_FILE ${signing}/password)
  set(VX_SIGN_TIMESTAMP_OPTION "")
  if(VX_SIGN_TIMESTAMP_URL)
    set(VX_SIGN_TIMESTAMP_OPTION "-ts '${VX_SIGN_TIMESTAMP_URL}'")
  endif()
  set(VX_SIGN_COMMAND ${signing}/sign)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../packaging/sign.in ${VX_SIGN_COMMAND} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  message(STATUS "Signing what ships with ${VX_SIGN_PFX}")
elseif(VX_SHIP)
  message(STATUS "No certificate (VX_SIGN_PFX): the binaries and installers ship unsigned")
endif()
