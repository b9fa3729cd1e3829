# Packs the distributable: the installer SETUP, Tremblix.scr and Tremblix.dll,
# all in folder DIR, and the text TEXT as INSTALL.txt there, into the zip ZIP.
# The text goes out as Notepad reads it: UTF-8 with a BOM, CRLF.
# Usage: cmake -DDIR=folder -DSETUP=name -DTEXT=INSTALL.txt -DZIP=file -P pack.cmake
set(IN ${TEXT})
set(OUT ${DIR}/INSTALL.txt)
include(${CMAKE_CURRENT_LIST_DIR}/windows-text.cmake)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip
                        ${SETUP} Tremblix.scr Tremblix.dll INSTALL.txt
                WORKING_DIRECTORY ${DIR} COMMAND_ERROR_IS_FATAL ANY)
