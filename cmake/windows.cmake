# Windows build: the two programs, the Windows-side tests run under Wine, and
# the end-to-end runs.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# It names its helpers as the scene does.
set_source_files_properties(renderer/gl_texture_win32.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
# They know the monitors' rectangle, which the dialog's zoom names too.
set_source_files_properties(saver/companion/companion_win32.cpp saver/run/desktop_copy_win32.cpp
                            PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
enable_language(RC)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)

# The edition: 32-bit for 32-bit Windows, 64-bit for 64-bit Windows. Its
# tests run in Wine prefixes of the same Windows.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TREMBLIX_WINEARCH win64)
else()
  set(TREMBLIX_WINEARCH win32)
endif()

include(${PROJECT_SOURCE_DIR}/cmake/delay_imports.cmake)

# The wrapper gives every test program the build's own Wine prefix and display.
set(TREMBLIX_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND};-E;env;TREMBLIX_WINEARCH=${TREMBLIX_WINEARCH}
    ${PROJECT_SOURCE_DIR}/tools/wine/run-in-wine;${TREMBLIX_WINE_DIR}/unit)

# The push button's face pictures, linked into every program that shows it.
add_library(tremblix_command_faces OBJECT saver/controls/command/faces.rc)
target_include_directories(tremblix_command_faces PRIVATE
  ${PROJECT_SOURCE_DIR}/saver/controls/command)

# The settings dialog's pictures: marks, icon, pointing hand.
add_library(tremblix_dialog_pictures OBJECT saver/settings/dialog.rc)
target_include_directories(tremblix_dialog_pictures PRIVATE ${PROJECT_SOURCE_DIR}/saver/settings)

# Launch timestamps, written by both programs when the launch benchmark asks.
add_library(tremblix_timing_win32 STATIC timing/launch_times_win32.cpp)
target_include_directories(tremblix_timing_win32 PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tremblix_timing_win32 PUBLIC psapi)

# What both programs ask of Windows: the user's folders, wide text, real
# pixels, the display's state.
add_library(tremblix_common_win32 STATIC saver/common/dpi_win32.cpp
            saver/common/monitors_win32.cpp saver/common/places_win32.cpp saver/common/power_win32.cpp
            saver/common/system_colours_win32.cpp saver/common/system_libraries_win32.cpp
            saver/common/wide_text_win32.cpp)
target_link_libraries(tremblix_common_win32 PUBLIC tremblix_portable shell32)

# Tremblix.scr: the screen-saver program.
add_library(tremblix_saver_win32 STATIC
  saver/companion/companion_win32.cpp
  saver/controls/command/command_contrast_win32.cpp
  saver/controls/command/command_win32.cpp
  saver/forms/accessible_win32.cpp
  saver/forms/controls_win32.cpp
  saver/forms/form_win32.cpp
  saver/music/bgm_win32.cpp
  saver/run/capture_win32.cpp
  saver/run/desktop_copy_win32.cpp
  saver/run/preview_win32.cpp
  saver/run/run_win32.cpp
  saver/run/wallpaper_win32.cpp
  saver/settings/dialog_accessibility_win32.cpp
  saver/settings/dialog_contrast_win32.cpp
  saver/settings/settings_dialog_win32.cpp
  saver/settings/zoom_win32.cpp
  saver/startup/owner_win32.cpp
  saver/startup/profile_win32.cpp
)
target_link_libraries(tremblix_saver_win32 PUBLIC tremblix_portable tremblix_common_win32
                      tremblix_timing_win32 gdiplus winmm msimg32 comdlg32 shell32 oleacc ole32
                      oleaut32)

add_executable(tremblix_scr WIN32 saver/startup/main_win32.cpp saver/run/preview.rc)
# The program itself imports the libraries that are no KnownDLLs late (listed
# right after the code that calls them, so that the late lists serve it).
target_link_libraries(tremblix_scr PRIVATE tremblix_saver_win32 tremblix_delay_winmm
                      tremblix_delay_msimg32 tremblix_delay_oleacc tremblix_command_faces
                      tremblix_dialog_pictures)
set_target_properties(tremblix_scr PROPERTIES OUTPUT_NAME Tremblix SUFFIX .scr)

# The version both programs and both installers carry.
set(TREMBLIX_VERSION 1.0.0)
string(REPLACE "." ";" tremblix_version_parts ${TREMBLIX_VERSION})
list(GET tremblix_version_parts 0 tremblix_major)
list(GET tremblix_version_parts 1 tremblix_minor)
list(GET tremblix_version_parts 2 tremblix_patch)
set(TREMBLIX_VERSION_DEFINITIONS TREMBLIX_VERSION_MAJOR=${tremblix_major}
    TREMBLIX_VERSION_MINOR=${tremblix_minor} TREMBLIX_VERSION_PATCH=${tremblix_patch})
target_sources(tremblix_scr PRIVATE saver/startup/version.rc)
set_property(SOURCE saver/startup/version.rc APPEND PROPERTY COMPILE_DEFINITIONS
             ${TREMBLIX_VERSION_DEFINITIONS})

# Tremblix.dll: the renderer, an ordinary program despite its name.
# The shell (window, loop, pace) apart from the scene, so that a test can run
# it with a scene of its own.
set(TREMBLIX_RENDERER_SHELL_SOURCES renderer/shell_win32.cpp
    renderer/frame_wait_win32.cpp renderer/bench_win32.cpp)
set(TREMBLIX_RENDERER_SOURCES renderer/main_win32.cpp ${TREMBLIX_RENDERER_SHELL_SOURCES}
    renderer/scene_win32.cpp renderer/gl_texture_win32.cpp renderer/driver_folders_win32.cpp)
add_executable(tremblix_renderer WIN32 ${TREMBLIX_RENDERER_SOURCES})
target_link_libraries(tremblix_renderer PRIVATE tremblix_common_win32 tremblix_timing_win32
                      tremblix_delay_glu32 tremblix_delay_opengl32 gdi32 tremblix_delay_winmm
                      setupapi)
set_target_properties(tremblix_renderer PROPERTIES OUTPUT_NAME Tremblix SUFFIX .dll)
target_sources(tremblix_renderer PRIVATE renderer/version.rc)
set_property(SOURCE renderer/version.rc APPEND PROPERTY COMPILE_DEFINITIONS
             ${TREMBLIX_VERSION_DEFINITIONS})

# The 32-bit edition's two programs get 4 GiB of address space under 64-bit
# Windows rather than 2: room beside the renderer's textures for the
# graphics driver and Wine.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(tremblix_scr PRIVATE -Wl,--large-address-aware)
  target_link_options(tremblix_renderer PRIVATE -Wl,--large-address-aware)
endif()

# The same renderer, printing its start-up time and frame rate.
add_executable(renderer_bench ${TREMBLIX_RENDERER_SOURCES})
target_compile_definitions(renderer_bench PRIVATE TREMBLIX_BENCHMARK)
target_link_libraries(renderer_bench PRIVATE tremblix_common_win32 tremblix_timing_win32
                      tremblix_delay_glu32 tremblix_delay_opengl32 gdi32 tremblix_delay_winmm
                      setupapi)
set_target_properties(renderer_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Every library either program imports at its start is a KnownDLL.
find_program(TREMBLIX_OBJDUMP ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-objdump REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(known_dlls_edition x64)
else()
  set(known_dlls_edition x86)
endif()
add_test(NAME windows.imports_are_known_dlls
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/windows/known_dlls.sh ${TREMBLIX_OBJDUMP}
                 ${known_dlls_edition} $<TARGET_FILE:tremblix_scr> $<TARGET_FILE:tremblix_renderer>)

# Libraries planted beside the programs under the system's names, for the
# end-to-end runs: each marks that it was loaded, then refuses.
# One object, linked under each name.
add_library(tremblix_planted_dll OBJECT tests/e2e/planted_dll.cpp)
foreach(name winmm msimg32 opengl32 glu32 mciqtz32 mcicda oleacc)
  add_library(planted_${name} SHARED $<TARGET_OBJECTS:tremblix_planted_dll>)
  target_link_options(planted_${name} PRIVATE -static -static-libgcc)
  set_target_properties(planted_${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX .dll
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/planted)
endforeach()

# A console tool the end-to-end tests use to look at windows from inside Wine.
add_executable(winprobe tools/winprobe/winprobe.cpp tools/preview/made_up_desktop_win32.cpp)
target_link_libraries(winprobe PRIVATE tremblix_timing_win32 shell32 gdi32 oleacc ole32 oleaut32)
target_include_directories(winprobe PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(winprobe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Every face and state of the push button side by side, for a reviewer's eye.
add_executable(command_gallery WIN32 tools/gallery/command_gallery_win32.cpp)
target_link_libraries(command_gallery PRIVATE tremblix_saver_win32 tremblix_command_faces)
set_target_properties(command_gallery PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Renders the preview's still picture from the scene (tools/make-preview.sh).
add_executable(preview_still tools/preview/preview_still_win32.cpp
               tools/preview/made_up_desktop_win32.cpp tools/preview/gl_window_win32.cpp
               renderer/scene_win32.cpp renderer/gl_texture_win32.cpp renderer/bench_win32.cpp)
target_link_libraries(preview_still PRIVATE tremblix_saver_win32 glu32 opengl32 gdi32)
set_target_properties(preview_still PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Windows-side tests against the real platform calls: each program's cases
# in one start of Wine (tremblix_gtest_cases).
function(tremblix_windows_cases target prefix)
  # They wait for one another's display: the first start first.
  tremblix_gtest_cases(windows ${target} "${prefix}" ${ARGN} COST 190)
endfunction()

add_executable(tremblix_windows_tests
  tests/windows/profile_win32_test.cpp
  tests/windows/gl_texture_win32_test.cpp
  tests/windows/preview_win32_test.cpp
  renderer/gl_texture_win32.cpp
  tools/preview/gl_window_win32.cpp
  saver/run/preview.rc
)
target_link_libraries(tremblix_windows_tests PRIVATE tremblix_saver_win32 GTest::gtest_main
                      glu32 opengl32 gdi32)
set_target_properties(tremblix_windows_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
# The texture and preview cases show windows, so they have the display to
# themselves.
tremblix_windows_cases(tremblix_windows_tests "" PROPERTIES RESOURCE_LOCK wine-unit-display)

# The renderer's shell in its own process: the real window, loop and
# messages around a scene that only counts its frames. The window covers the
# display, so they have it to themselves.
add_executable(tremblix_renderer_tests tests/windows/renderer_shell_win32_test.cpp
               ${TREMBLIX_RENDERER_SHELL_SOURCES})
target_link_libraries(tremblix_renderer_tests PRIVATE tremblix_common_win32 tremblix_timing_win32
                      GTest::gtest_main opengl32 gdi32 winmm)
set_target_properties(tremblix_renderer_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
tremblix_windows_cases(tremblix_renderer_tests renderer. PROPERTIES RESOURCE_LOCK wine-unit-display)

# The music module against winmm under Wine, playing media made before it runs.
add_executable(tremblix_music_tests tests/windows/bgm_win32_test.cpp)
target_link_libraries(tremblix_music_tests PRIVATE tremblix_saver_win32 GTest::gtest_main)
set_target_properties(tremblix_music_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME windows.music.media
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/windows/make_music_media.sh
                 "${CMAKE_BINARY_DIR}/tests/music media")
set_tests_properties(windows.music.media PROPERTIES FIXTURES_SETUP music_media)
# Judged by GoogleTest's own verdict, as every case is: under load Wine
# sometimes crashes while a process that played a WAV ends, after every check
# has passed. A crash during the test leaves no verdict and fails it.
tremblix_windows_cases(tremblix_music_tests music.
                       PROPERTIES FIXTURES_REQUIRED music_media RESOURCE_LOCK wine-sound)

# The push button in a real window: pixels, pointer and focus. They move the
# pointer, so they have the display to themselves.
add_executable(tremblix_command_tests tests/windows/command_win32_test.cpp)
target_link_libraries(tremblix_command_tests PRIVATE tremblix_saver_win32 tremblix_command_faces
                      GTest::gtest_main)
set_target_properties(tremblix_command_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
tremblix_windows_cases(tremblix_command_tests "" PROPERTIES RESOURCE_LOCK wine-unit-display)

# The settings dialog in a real window: loading, the pointer on its controls,
# saving to a real settings file. They move the pointer too.
add_executable(tremblix_dialog_tests tests/windows/settings_dialog_win32_test.cpp
               tests/windows/platform_requests_win32_test.cpp)
target_link_libraries(tremblix_dialog_tests PRIVATE tremblix_saver_win32 tremblix_command_faces
                      tremblix_dialog_pictures GTest::gtest_main)
set_target_properties(tremblix_dialog_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
tremblix_windows_cases(tremblix_dialog_tests dialog. PROPERTIES RESOURCE_LOCK wine-unit-display)

# The Windows-side cases where the code page matters, again under our users'
# own, 932.
add_test(NAME windows.cp932.profile COMMAND tremblix_windows_tests --gtest_filter=ProfileTest.*)
add_test(NAME windows.cp932.dialog.requests
         COMMAND tremblix_dialog_tests --gtest_filter=PlatformRequestsTest.*)
set_tests_properties(windows.cp932.profile windows.cp932.dialog.requests PROPERTIES
                     ENVIRONMENT TREMBLIX_CODEPAGE=932 RESOURCE_LOCK wine-unit-display)

# End-to-end runs of the real programs: one prefix and one display per suite,
# of the given Windows (win32 or win64; a script may list fewer cases for
# win64), under code page 1252. The cases of a suite run one after another;
# suites run side by side. Where the code page matters the cases run again
# under our users' own, 932, in one prefix of their own.
set(TREMBLIX_CP932_CASES
  startup.missing_renderer_shows_the_message
  dialog.dialog_shows_bands_and_readable_japanese
  dialog.the_dialog_is_laid_out_at_every_scaling
  musicpath.a_song_is_chosen_saved_played_and_found_again
  musicpath.a_long_japanese_path_is_chosen_saved_and_played
  musicpath.a_name_no_code_page_spells_is_chosen_and_played
  musicpath.the_programs_folder_may_have_any_name)
# The desks' cases, the longest of their suite, run beside its others, in a
# prefix of their own.
set(TREMBLIX_E2E_DESK_CASES
  renderer.on_a_desk_each_monitor_reflects_its_own_part
  renderer.on_a_desk_a_monitor_left_of_the_primary_shows_its_own_part)
# The cases of a suite run one after another: the suites that take longest
# start first, so that none is left running alone at the end (seconds, as
# measured on a machine of ours; CTest keeps its own figures after a run).
set(TREMBLIX_E2E_COST_renderer 200)
set(TREMBLIX_E2E_COST_renderer-desk 180)
set(TREMBLIX_E2E_COST_dialog 170)
set(TREMBLIX_E2E_COST_companion 150)
set(TREMBLIX_E2E_COST_cp932 140)
set(TREMBLIX_E2E_COST_run 100)
set(TREMBLIX_E2E_COST_install 100)
set(TREMBLIX_E2E_COST_musicpath 80)
set(TREMBLIX_E2E_COST_blank_screen 60)
set(TREMBLIX_E2E_COST_privacy 60)
set(TREMBLIX_E2E_COST_user_settings 50)
set(TREMBLIX_E2E_COST_install64 50)
set(TREMBLIX_E2E_COST_startup 30)
function(tremblix_e2e_test name script case prefix winearch codepage)
  add_test(NAME ${name} COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/${script}.sh ${case})
  string(REGEX REPLACE "^e2e-" "" suite ${prefix})
  set(cost 10)
  if(DEFINED TREMBLIX_E2E_COST_${suite})
    set(cost ${TREMBLIX_E2E_COST_${suite}})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "TREMBLIX_BUILD=${CMAKE_BINARY_DIR};TREMBLIX_WINEPREFIX=${TREMBLIX_WINE_DIR}/${prefix};TREMBLIX_WINEARCH=${winearch};TREMBLIX_CODEPAGE=${codepage}"
    RESOURCE_LOCK wine-${prefix} TIMEOUT 120 SKIP_RETURN_CODE 77 COST ${cost})
endfunction()
function(tremblix_e2e_suite suite script winearch)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TREMBLIX_WINEARCH=${winearch}
                          bash ${PROJECT_SOURCE_DIR}/tests/e2e/${script}.sh --list
                  OUTPUT_VARIABLE cases OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" cases "${cases}")
  foreach(case IN LISTS cases)
    set(prefix e2e-${suite})
    if("${suite}.${case}" IN_LIST TREMBLIX_E2E_DESK_CASES)
      set(prefix e2e-${suite}-desk)
    endif()
    tremblix_e2e_test(e2e.${suite}.${case} ${script} ${case} ${prefix} ${winearch} 1252)
    if("${suite}.${case}" IN_LIST TREMBLIX_CP932_CASES)
      tremblix_e2e_test(e2e.cp932.${suite}.${case} ${script} ${case} e2e-cp932 ${winearch} 932)
    endif()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${PROJECT_SOURCE_DIR}/tests/e2e/${script}.sh)
endfunction()

foreach(suite startup renderer run blank_screen dialog musicpath user_settings privacy companion)
  tremblix_e2e_suite(${suite} ${suite} ${TREMBLIX_WINEARCH})
endforeach()

# The edition's installer (Tremblix-setup-x86.exe or -x64.exe), its
# end-to-end runs, and the distributable.
include(${PROJECT_SOURCE_DIR}/cmake/installer.cmake)

# What only tests run is compiled without optimisation: it builds in half the
# time, and the programs the users get stay as they ship.
foreach(target gtest gtest_main winprobe desk_cpl_stand_in tremblix_planted_dll)
  target_compile_options(${target} PRIVATE -O0)
endforeach()
# The Windows-side test programs, the platform code they link in their own
# sources too, share one precompiled <windows.h> and GoogleTest, made at the
# same level.
set(tremblix_windows_test_programs tremblix_windows_tests tremblix_renderer_tests
    tremblix_music_tests tremblix_command_tests tremblix_dialog_tests)
foreach(target ${tremblix_windows_test_programs})
  target_compile_options(${target} PRIVATE -O0)
  if(NOT target STREQUAL tremblix_windows_tests)
    target_precompile_headers(${target} REUSE_FROM tremblix_windows_tests)
  endif()
endforeach()
target_precompile_headers(tremblix_windows_tests PRIVATE <windows.h> <gtest/gtest.h>)
# The developer's tools are built only when a script asks for them by name,
# as each does: no test runs them.
set_target_properties(renderer_bench command_gallery preview_still PROPERTIES EXCLUDE_FROM_ALL ON)
