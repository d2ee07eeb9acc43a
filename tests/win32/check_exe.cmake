# Checks the built orvando.exe: one file under 1 MB, a Windows GUI program,
# and an import table that names only DLLs every Windows has, so that nothing
# of the compiler's runtime must travel beside it.
#   cmake -DEXE=orvando.exe -DOBJDUMP=x86_64-w64-mingw32-objdump -P check_exe.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${EXE}")
  message(FATAL_ERROR "no program at ${EXE}")
endif()

file(SIZE "${EXE}" size)
if(NOT size LESS 1048576)
  message(FATAL_ERROR "${EXE} has ${size} bytes; it must stay under 1 MB")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${EXE}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${EXE}")
endif()

if(NOT dump MATCHES "Subsystem[ \t]+0*2[ \t]+\\(Windows GUI\\)")
  message(FATAL_ERROR "${EXE} is not a Windows GUI program")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" entries "${dump}")
set(dlls "")
foreach(entry IN LISTS entries)
  string(REPLACE "DLL Name: " "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(APPEND dlls "${dll}")
endforeach()
if(NOT "kernel32.dll" IN_LIST dlls)
  message(FATAL_ERROR "no import of kernel32.dll found; the import table was not read:\n${dump}")
endif()

set(system_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll ucrtbase.dll
    advapi32.dll shell32.dll ole32.dll uxtheme.dll)
set(foreign "")
foreach(dll IN LISTS dlls)
  if(NOT dll IN_LIST system_dlls AND NOT dll MATCHES "^api-ms-win-[a-z0-9-]+\\.dll$")
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${EXE} needs DLLs that Windows does not have: ${foreign}")
endif()
message(STATUS "${EXE}: ${size} bytes; imports ${dlls}")
