# The edition's installer, from tools/installer/tremblix.nsi: the 32-bit
# edition's Tremblix-setup-x86.exe installs into the 32-bit system folder, the
# 64-bit edition's Tremblix-setup-x64.exe into the real System32 of 64-bit
# Windows. Each removes the other edition, selects the screen saver and
# leaves an uninstaller. Then its end-to-end runs and the distributable.

if(TREMBLIX_WINEARCH STREQUAL win64)
  set(TREMBLIX_EDITION x64)
else()
  set(TREMBLIX_EDITION x86)
endif()
set(TREMBLIX_SETUP_NAME Tremblix-setup-${TREMBLIX_EDITION}.exe)
set(TREMBLIX_SETUP ${CMAKE_BINARY_DIR}/${TREMBLIX_SETUP_NAME})
find_program(MAKENSIS makensis REQUIRED)

set(installer_script ${PROJECT_SOURCE_DIR}/tools/installer/tremblix.nsi)
set(installer_icon ${PROJECT_SOURCE_DIR}/saver/settings/pictures/tremblix.ico)
# makensis with every define but the programs' folder, the output and SIGN.
set(makensis ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 -DEDITION=${TREMBLIX_EDITION}
    -DVERSION=${TREMBLIX_VERSION} -DICON=${installer_icon})
add_custom_command(OUTPUT ${TREMBLIX_SETUP}
  COMMAND ${makensis} -DPROGRAMS=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
          -DOUTFILE=${TREMBLIX_SETUP} ${installer_script}
  DEPENDS tremblix_scr tremblix_renderer ${installer_script} ${installer_icon}
  COMMENT "Building ${TREMBLIX_SETUP_NAME}"
  VERBATIM)
add_custom_target(installer ALL DEPENDS ${TREMBLIX_SETUP})

# Stands in for the display settings that Wine lacks, so that a test can see
# the interactive install end by running the Install verb of a .scr.
add_library(desk_cpl_stand_in SHARED tests/e2e/desk_cpl_stand_in.cpp)
target_link_options(desk_cpl_stand_in PRIVATE -static -static-libgcc -Wl,--kill-at)
set_target_properties(desk_cpl_stand_in PROPERTIES PREFIX "" OUTPUT_NAME desk SUFFIX .cpl
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The installer's cases for one Windows (win32 or win64) and one edition's
# installer (x86 or x64), in a prefix of their own.
function(tremblix_install_suite suite winearch edition)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TREMBLIX_WINEARCH=${winearch}
                          TREMBLIX_EDITION=${edition}
                          bash ${PROJECT_SOURCE_DIR}/tests/e2e/install.sh --list
                  OUTPUT_VARIABLE cases OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" cases "${cases}")
  foreach(case IN LISTS cases)
    tremblix_e2e_test(e2e.${suite}.${case} install ${case} e2e-${suite} ${winearch} 1252)
    set_property(TEST e2e.${suite}.${case} APPEND PROPERTY ENVIRONMENT
                 TREMBLIX_EDITION=${edition})
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${PROJECT_SOURCE_DIR}/tests/e2e/install.sh)
endfunction()

if(TREMBLIX_EDITION STREQUAL x64)
  # The 64-bit installer on 64-bit Windows, over the 32-bit edition too.
  tremblix_install_suite(install win64 x64)
  set_tests_properties(e2e.install.a_signed_installer_writes_a_signed_uninstaller PROPERTIES
                       FIXTURES_REQUIRED signed_release)
else()
  # The 32-bit installer on 32-bit Windows, and the heart of it again on
  # 64-bit Windows, where the 32-bit system folder is syswow64.
  tremblix_install_suite(install win32 x86)
  tremblix_install_suite(install64 win64 x86)
endif()

# The distributable: the edition's installer, its two programs and how to
# install them, in one zip.
set(TREMBLIX_ZIP_NAME Tremblix-${TREMBLIX_EDITION}.zip)
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tremblix_scr> $<TARGET_FILE:tremblix_renderer>
          ${TREMBLIX_SETUP} ${CMAKE_BINARY_DIR}/dist/
  COMMAND ${CMAKE_COMMAND} -DDIR=${CMAKE_BINARY_DIR}/dist -DSETUP=${TREMBLIX_SETUP_NAME}
          -DTEXT=${PROJECT_SOURCE_DIR}/tools/dist/INSTALL.txt
          -DZIP=${CMAKE_BINARY_DIR}/${TREMBLIX_ZIP_NAME} -P ${PROJECT_SOURCE_DIR}/cmake/pack.cmake
  DEPENDS tremblix_scr tremblix_renderer installer
  COMMENT "Packing ${CMAKE_BINARY_DIR}/${TREMBLIX_ZIP_NAME}")

# The signed release, in signed/: copies of the programs signed, the installer
# built from them with its uninstaller signed, and their zip. Only this target
# signs, with the certificate TREMBLIX_SIGN_PKCS12 and
# TREMBLIX_SIGN_PASSWORD_FILE name when it runs (tools/sign.sh), so that
# neither the path nor the password ever reaches the cache.
# What tools/sign-release.sh takes after the release's folder.
set(sign_release_args ${TREMBLIX_SETUP_NAME} ${TREMBLIX_ZIP_NAME}
    $<TARGET_FILE:tremblix_scr> $<TARGET_FILE:tremblix_renderer> -- ${makensis} ${installer_script})
add_custom_target(sign
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/sign-release.sh ${CMAKE_BINARY_DIR}/signed
          ${sign_release_args}
  DEPENDS tremblix_scr tremblix_renderer ${installer_script}
  COMMENT "Signing the release in ${CMAKE_BINARY_DIR}/signed"
  VERBATIM)
# A release signed with a throwaway authority, every signature verified; it
# is left for the installer's case that checks the uninstaller it writes.
add_test(NAME sign.release
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/sign/release.sh ${CMAKE_BINARY_DIR}/tests/sign
                 ${sign_release_args})
set_tests_properties(sign.release PROPERTIES FIXTURES_SETUP signed_release TIMEOUT 120)

if(NOT DEFINED ENV{TREMBLIX_SIGN_PKCS12})
  message(STATUS "Nothing is signed: no certificate named; the target sign signs a release "
                 "with the one TREMBLIX_SIGN_PKCS12 and TREMBLIX_SIGN_PASSWORD_FILE name")
endif()
