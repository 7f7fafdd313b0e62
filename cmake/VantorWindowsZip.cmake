# Makes the Windows package, run by the vantor_zip target as
#   cmake -DEXE=... -DBIN=... -DSTAGE=... -DZIP=... -DOBJDUMP=... -DSTRIP=... -P VantorWindowsZip.cmake
# The zip holds vantor.exe (stripped), PNG/ and TTF/ (the fonts with their
# licences), nothing else: the executable is refused if it imports a DLL
# that a plain Windows 10 does not have, as a MinGW runtime DLL would be.
cmake_minimum_required(VERSION 3.25)

foreach(var EXE BIN STAGE ZIP OBJDUMP STRIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "VantorWindowsZip: ${var} not given")
  endif()
endforeach()

# Windows' own DLLs (upper-cased); msvcrt.dll is the C runtime MinGW targets.
set(system_dlls
  ADVAPI32.DLL COMCTL32.DLL COMDLG32.DLL DBGHELP.DLL GDI32.DLL GLU32.DLL IMM32.DLL
  KERNEL32.DLL MSVCRT.DLL OLE32.DLL OLEAUT32.DLL OPENGL32.DLL SHELL32.DLL USER32.DLL
  WINMM.DLL WS2_32.DLL)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(foreign "")
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  if(NOT upper IN_LIST system_dlls AND NOT upper MATCHES "^API-MS-WIN-")
    list(APPEND foreign ${dll})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "vantor.exe needs DLLs that Windows does not have: ${foreign}")
endif()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY ${BIN}/PNG ${BIN}/TTF DESTINATION ${STAGE})
file(COPY_FILE ${EXE} ${STAGE}/vantor.exe)
execute_process(COMMAND ${STRIP} ${STAGE}/vantor.exe RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${STRIP} ${STAGE}/vantor.exe failed")
endif()

file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip vantor.exe PNG TTF
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "making ${ZIP} failed")
endif()
string(REPLACE ";" ", " imported "${imports}")
string(REPLACE "DLL Name: " "" imported "${imported}")
message(STATUS "${ZIP}: vantor.exe (imports ${imported}), PNG/, TTF/")
