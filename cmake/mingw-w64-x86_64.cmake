# Cross-builds the native Windows console with Debian's mingw-w64 compilers
# (package g++-mingw-w64-x86-64-posix). The posix flavour is needed because the
# win32 flavour's libstdc++ has no std::thread.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZORLO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZORLO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORLO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORLO_MINGW_TRIPLET}-windres)

# Libraries and headers come only from the mingw sysroot, never from the Linux host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZORLO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links statically, so it runs on a bare Windows (and under wine)
# without the mingw runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Lets ctest run the cross-built tests here.
find_program(ZORLO_WINE_PROGRAM NAMES wine wine64)
if(ZORLO_WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZORLO_WINE_PROGRAM})
endif()
