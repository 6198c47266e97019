# Run by CPack's External generator with the staged installation: the Windows Installer package
# beside the NSIS installer, signed like it when the build has a certificate.
set(msi ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_VX_MSI_NAME})
execute_process(COMMAND ${CPACK_VX_BUILD_MSI} ${CPACK_PACKAGE_VERSION} ${CPACK_VX_MSI_ARCH}
                        ${CPACK_TEMPORARY_DIRECTORY} ${msi}
                RESULT_VARIABLE failed)
if(NOT failed AND CPACK_VX_SIGN)
  execute_process(COMMAND ${CPACK_VX_SIGN} ${msi} RESULT_VARIABLE failed)
endif()
if(failed)
  message(FATAL_ERROR "${CPACK_VX_MSI_NAME} not built")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
