# Native build: unit tests of the portable code, and the fuzz targets.

# Under ThreadSanitizer, the picture workers alone: the only code that runs on
# several threads, built without the rest.
if(TREMBLIX_SANITIZE_THREAD)
  add_executable(tremblix_loader_tests tests/native/picture_loader_test.cpp
                 renderer/picture_loader.cpp renderer/mipmaps.cpp)
  target_include_directories(tremblix_loader_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(tremblix_loader_tests PRIVATE tremblix_bitmap Threads::Threads
                        GTest::gtest_main)
  gtest_discover_tests(tremblix_loader_tests TEST_PREFIX "threads." DISCOVERY_MODE PRE_TEST)
  return()
endif()

add_executable(tremblix_unit_tests
  tests/native/numbers_test.cpp
  tests/native/command_line_test.cpp
  tests/native/settings_file_test.cpp
  tests/native/startup_test.cpp
  tests/native/wobble_test.cpp
  tests/native/frame_clock_test.cpp
  tests/native/frame_pace_test.cpp
  tests/native/screen_layout_test.cpp
  tests/native/bitmap_test.cpp
  tests/native/mipmaps_test.cpp
  tests/native/picture_loader_test.cpp
  tests/native/texture_budget_test.cpp
  tests/native/driver_folders_test.cpp
  tests/native/places_test.cpp
  tests/native/bgm_test.cpp
  tests/native/full_screen_run_test.cpp
  tests/native/hand_off_test.cpp
  tests/native/photograph_test.cpp
  tests/native/desktop_copy_test.cpp
  tests/native/companion_test.cpp
  tests/native/button_state_test.cpp
  tests/native/face_layout_test.cpp
  tests/native/face_pictures_test.cpp
  tests/native/command_test.cpp
  tests/native/settings_dialog_test.cpp
  tests/native/bands_test.cpp
  tests/native/dialog_layout_test.cpp
  tests/native/dialog_pictures_test.cpp
  tests/native/accessibility_test.cpp
  tests/native/dialog_keys_test.cpp
  tests/native/keyboard_cues_test.cpp
)
target_link_libraries(tremblix_unit_tests PRIVATE tremblix_portable GTest::gtest_main)
# These two name helpers that other tests name too.
set_source_files_properties(tests/native/photograph_test.cpp tests/native/dialog_pictures_test.cpp
                            tests/native/desktop_copy_test.cpp
                            PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
# The face pictures test compares the generator's output with the committed files.
target_compile_definitions(tremblix_unit_tests PRIVATE
  TREMBLIX_FACES_DIR="${PROJECT_SOURCE_DIR}/saver/controls/command/faces"
  TREMBLIX_DIALOG_PICTURES_DIR="${PROJECT_SOURCE_DIR}/saver/settings/pictures")
tremblix_gtest_cases(native tremblix_unit_tests "")

# The README and docs/: their links, anchors and pictures, and the table of
# environment variables against what the code reads. Once, in this preset.
if(NOT TREMBLIX_SANITIZE)
  add_test(NAME docs.check COMMAND bash ${PROJECT_SOURCE_DIR}/tests/docs/check.sh ${PROJECT_SOURCE_DIR})
endif()

# Writes the push button's face pictures: facegen saver/controls/command/faces
add_executable(facegen tools/facegen/facegen.cpp)
target_link_libraries(facegen PRIVATE tremblix_portable)

# Writes the settings dialog's pictures: dialoggen saver/settings/pictures
add_executable(dialoggen tools/dialoggen/dialoggen.cpp)
target_link_libraries(dialoggen PRIVATE tremblix_portable)

if(TREMBLIX_FUZZ)
  # About 1 to 3 s each on a machine of ours: a whole file of settings costs
  # far more to read than a command line.
  set(TREMBLIX_FUZZ_RUNS_fuzz_settings_file 4000)
  set(TREMBLIX_FUZZ_RUNS_fuzz_cd_watch 20000)
  set(TREMBLIX_FUZZ_RUNS_fuzz_driver_folders 40000)
  foreach(target fuzz_settings_value fuzz_command_line fuzz_settings_file fuzz_bitmap
                 fuzz_cd_watch fuzz_monitors_file fuzz_driver_folders fuzz_desktop_copy)
    add_executable(${target} fuzz/${target}.cpp)
    target_link_libraries(${target} PRIVATE tremblix_portable)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    # A short run from the kept seeds, a number of inputs rather than a time,
    # so that a busy machine tries as many; a finding fails the test and
    # leaves its input here.
    set(runs ${TREMBLIX_FUZZ_RUNS})
    if(DEFINED TREMBLIX_FUZZ_RUNS_${target})
      set(runs ${TREMBLIX_FUZZ_RUNS_${target}})
    endif()
    add_test(NAME fuzz.${target}
             COMMAND ${target} -runs=${runs} -timeout=5
                     -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-findings/${target}-
                     ${CMAKE_BINARY_DIR}/fuzz-corpus/${target} ${PROJECT_SOURCE_DIR}/fuzz/seeds/${target})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus/${target} ${CMAKE_BINARY_DIR}/fuzz-findings)
  endforeach()
endif()
