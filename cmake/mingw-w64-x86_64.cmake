# Cross-builds the Windows program with Debian's mingw-w64 (posix threads
# variant) and runs the cross-built tests under Wine.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_orvando_triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${_orvando_triple}-gcc-posix ${_orvando_triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_orvando_triple}-g++-posix ${_orvando_triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_orvando_triple}-windres REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${_orvando_triple}-objdump)
find_program(CMAKE_STRIP NAMES ${_orvando_triple}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${_orvando_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is one self-contained file: the compiler's runtime
# (libstdc++, libgcc, winpthread) is linked in, so a program needs nothing
# but system DLLs. This also lets the tests run under Wine without a DLL path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows 7 API level as the floor; newer calls are looked up at run time.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE")

# ctest and GoogleTest's test discovery run the programs under Wine. The tests
# are listed when ctest runs, not while building, so a build needs no Wine.
find_program(ORVANDO_WINE NAMES wine wine64)
if(ORVANDO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVANDO_WINE})
endif()
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
