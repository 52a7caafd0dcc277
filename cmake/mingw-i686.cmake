# Cross-compiles for 32-bit Windows with MinGW-w64 (i686). The win32 thread
# model keeps libwinpthread out; libgcc and libstdc++ are linked statically,
# so the executables import system DLLs only. Console programs by default; a
# program with windows of its own sets WIN32_EXECUTABLE (-mwindows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(STASHWELL_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${STASHWELL_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${STASHWELL_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${STASHWELL_MINGW_PREFIX}-windres)
set(CMAKE_STRIP ${STASHWELL_MINGW_PREFIX}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${STASHWELL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Small executables: unused functions and data are dropped, symbols stripped.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -s -Wl,--gc-sections")
