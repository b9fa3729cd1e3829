# Tremblix-setup.exe: installs both programs into the 32-bit system folder,
# selects the screen saver and leaves an uninstaller (tools/installer).

set(TREMBLIX_VERSION 1.0.0)
set(TREMBLIX_SETUP ${CMAKE_BINARY_DIR}/Tremblix-setup.exe)
find_program(MAKENSIS makensis REQUIRED)

set(installer_script ${PROJECT_SOURCE_DIR}/tools/installer/tremblix.nsi)
set(installer_icon ${PROJECT_SOURCE_DIR}/saver/settings/pictures/tremblix.ico)
add_custom_command(OUTPUT ${TREMBLIX_SETUP}
  COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 -DVERSION=${TREMBLIX_VERSION}
          -DPROGRAMS=${CMAKE_RUNTIME_OUTPUT_DIRECTORY} -DICON=${installer_icon}
          -DOUTFILE=${TREMBLIX_SETUP} ${installer_script}
  DEPENDS tremblix_scr tremblix_renderer ${installer_script} ${installer_icon}
  COMMENT "Building Tremblix-setup.exe"
  VERBATIM)
add_custom_target(installer ALL DEPENDS ${TREMBLIX_SETUP})

# Stands in for the display settings that Wine lacks, so that a test can see
# the interactive install end by running the Install verb of a .scr.
add_library(desk_cpl_stand_in SHARED tests/e2e/desk_cpl_stand_in.cpp)
target_link_options(desk_cpl_stand_in PRIVATE -static -static-libgcc -Wl,--kill-at)
set_target_properties(desk_cpl_stand_in PROPERTIES PREFIX "" OUTPUT_NAME desk SUFFIX .cpl
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# Installing and uninstalling on 32-bit Windows, and the heart of it again on
# 64-bit Windows, where the 32-bit system folder is syswow64.
tremblix_e2e_suite(install install win32)
tremblix_e2e_suite(install64 install win64)
