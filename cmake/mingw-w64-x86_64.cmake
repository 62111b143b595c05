# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (the posix thread model,
# which std::thread needs), with Wine running the test programs. Every program is linked
# whole, so a .exe needs no DLL of the compiler's runtime beside it, and stripped: the
# debug information would make it fifteen times larger and slower to start.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RQ_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RQ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RQ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${RQ_MINGW_TRIPLET}-windres)

# Libraries and headers of the target come from the cross compiler's own tree only: the
# host's /usr/include holds the C library of Linux. The header-only libraries the build
# takes from the host are handed in one by one (cmake/HostHeaders.cmake).
set(CMAKE_FIND_ROOT_PATH /usr/${RQ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")

# Test programs run under Wine, which sees the host's root folder as drive Z:.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
set(RQ_EMULATED_PATH_PREFIX "Z:")
