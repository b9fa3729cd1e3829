# The libraries that Windows does not keep among its KnownDLLs are loaded late,
# at their first call, once the program has told Windows to look for them in
# the system folder alone: a library of the same name beside the program (in
# a download folder, say) is never loaded. Their import libraries are made
# here from the lists in cmake/delay, with the delay-load helper of MinGW's
# runtime.
find_program(TREMBLIX_DLLTOOL ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
set(TREMBLIX_DELAY_DIR ${CMAKE_BINARY_DIR}/delay)
file(MAKE_DIRECTORY ${TREMBLIX_DELAY_DIR})

# Makes tremblix_delay_NAME, the late import library of NAME.dll.
function(tremblix_delay_library name)
  set(listed ${PROJECT_SOURCE_DIR}/cmake/delay/${name}.def)
  set(def ${TREMBLIX_DELAY_DIR}/${name}.def)
  set(lib ${TREMBLIX_DELAY_DIR}/lib${name}_delay.a)
  file(READ ${listed} text)
  set(flags)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # Undecorated names at 64 bits.
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  else()
    # The 32-bit names carry their argument bytes; the library's do not.
    set(flags -k)
  endif()
  file(WRITE ${def} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${listed})
  # Made in its folder, so that the names dlltool gives the import list
  # (__DELAY_IMPORT_DESCRIPTOR_lib<name>_delay_a) do not depend on the path.
  execute_process(COMMAND ${TREMBLIX_DLLTOOL} ${flags} --input-def ${name}.def
                          --output-delaylib lib${name}_delay.a
                  WORKING_DIRECTORY ${TREMBLIX_DELAY_DIR}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${TREMBLIX_DLLTOOL} could not make ${lib}")
  endif()
  add_library(tremblix_delay_${name} STATIC IMPORTED)
  set_target_properties(tremblix_delay_${name} PROPERTIES IMPORTED_LOCATION ${lib})
endfunction()

foreach(name winmm msimg32 opengl32 glu32 oleacc)
  tremblix_delay_library(${name})
endforeach()
