# Cross-compiling for 64-bit Windows on Debian with MinGW-w64's POSIX-thread
# compilers (g++-mingw-w64-x86-64-posix): std::thread and std::mutex need
# winpthreads, which the win32-thread variant lacks.
#
# Libraries are looked up only in MinGW's own tree (zlib from
# libz-mingw-w64-dev) and in the prefix that scripts/build-windows-deps fills
# (freeglut, FreeType, libpng, GoogleTest), never in the host's /usr.
# VANTOR_WINDOWS_DEPS in the environment names another prefix.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTOR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VANTOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTOR_MINGW_TRIPLET}-windres)

# Computed, not cached: try_compile projects re-read this file without the
# cache of the project that named it.
if(DEFINED ENV{VANTOR_WINDOWS_DEPS})
  set(VANTOR_WINDOWS_DEPS $ENV{VANTOR_WINDOWS_DEPS})
else()
  get_filename_component(VANTOR_WINDOWS_DEPS
                         ${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix ABSOLUTE)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOR_MINGW_TRIPLET} ${VANTOR_WINDOWS_DEPS})
set(CMAKE_PREFIX_PATH ${VANTOR_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The find modules consult pkg-config first; the host's .pc files would
# point them at Linux libraries.
set(ENV{PKG_CONFIG_LIBDIR} ${VANTOR_WINDOWS_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Everything linked statically (libgcc, libstdc++, winpthreads and the
# dependencies), so the executables need only DLLs that Windows itself has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# ctest and gtest_discover_tests start the test executables through Wine.
find_program(VANTOR_WINE NAMES wine wine64)
if(VANTOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTOR_WINE})
endif()
