# A GoogleTest program of layer LAYER (native or windows, its sources in
# tests/LAYER/) runs once, every case in one start (under Wine, one start of
# Wine), into GoogleTest's report: the test LAYER.TARGET. Each case is then a
# test of its own, LAYER.PREFIXSuite.Name, that reads its verdict there and,
# tried again, runs alone (tools/wine/case-verdict). The cases are read from
# the sources, so that listing them starts nothing.
set(TREMBLIX_CASE_VERDICT ${PROJECT_SOURCE_DIR}/tools/wine/case-verdict)
function(tremblix_gtest_cases layer target prefix)
  cmake_parse_arguments(arg "" "" "PROPERTIES" ${ARGN})
  set(report ${CMAKE_BINARY_DIR}/tests/reports/${target}.xml)
  set(run ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${target}>)
  # A Windows program finds the Unix root on Wine's drive Z:.
  set(as ${report})
  if(WIN32)
    set(as Z:${report})
  endif()
  add_test(NAME ${layer}.${target} COMMAND bash ${TREMBLIX_CASE_VERDICT} --run ${report} ${as} ${run})
  set_tests_properties(${layer}.${target} PROPERTIES FIXTURES_SETUP cases-${target}
                       ${arg_PROPERTIES} TIMEOUT 240)
  get_target_property(sources ${target} SOURCES)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "^tests/${layer}/")
      continue()
    endif()
    file(READ ${PROJECT_SOURCE_DIR}/${source} text)
    string(REGEX MATCHALL "\nTEST(_F)?\\([A-Za-z0-9_]+, *[A-Za-z0-9_]+\\)" found "${text}")
    foreach(test IN LISTS found)
      string(REGEX REPLACE ".*\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\)" "\\1.\\2" case "${test}")
      add_test(NAME ${layer}.${prefix}${case}
               COMMAND bash ${TREMBLIX_CASE_VERDICT} ${report} ${case} ${run})
      set_tests_properties(${layer}.${prefix}${case} PROPERTIES SKIP_RETURN_CODE 77 ${arg_PROPERTIES})
      set_property(TEST ${layer}.${prefix}${case} APPEND PROPERTY FIXTURES_REQUIRED cases-${target})
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
  endforeach()
endfunction()
