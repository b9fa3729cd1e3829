# Writes the UTF-8 text IN to OUT as Windows' Notepad reads it on every
# version: with a byte order mark and CRLF line ends.
# Usage: cmake -DIN=text -DOUT=file -P windows-text.cmake
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE ${OUT} "${bom}${text}")
